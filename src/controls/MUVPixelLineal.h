#pragma once
// TMUVPixelLineal: a ruler that shows a linear scale. It knows nothing about
// what it measures: ZoomFaktor is the number of pixels per unit and LeftValue
// the unit value at its first pixel (at the bottom for the reverse type).
// Ticks keep at least 8 pixels apart, labels at least the width of a
// five-digit number.

#include <QFont>
#include <QWidget>

#include <cstdint>

enum TLinealTyp { lin_vertikal, lin_horizontal, lin_vertikalreverse };

class TMUVPixelLineal : public QWidget
{
    Q_OBJECT
  public:
    // Windows colour value $00BBGGRR; $800000nn is system colour nn.
    using TColor = std::int32_t;

    explicit TMUVPixelLineal(QWidget *parent = nullptr);
    ~TMUVPixelLineal() override;

    // Setting the type (even to the type it has) selects the 11-pixel label
    // font, rotated by 90 degrees for the vertical types. Until then the
    // ruler uses a provisional 12-pixel font, so owners set the type once.
    TLinealTyp LinealTyp() const { return linealTyp_; }
    void SetLinealTyp(TLinealTyp typ);

    // Pixels per unit; values <= 0 (or not finite) become 1.0.
    double ZoomFaktor() const { return zoomFaktor_; }
    void SetZoomFaktor(double zoom);

    // Unit value at pixel 0.
    double LeftValue() const { return leftValue_; }
    void SetLeftValue(double value);

    // Both at once with a single repaint; a zoom <= 0 becomes 0.01.
    void SetValues(double leftValue, double zoom);

    TColor ColorBackground() const { return colorBackground_; }
    void SetColorBackground(TColor c);
    TColor ColorLinesText() const { return colorLinesText_; }
    void SetColorLinesText(TColor c);
    TColor ColorNoTextLines() const { return colorNoTextLines_; }
    void SetColorNoTextLines(TColor c);

    // Horizontal ruler only: ticks hang from the top edge, labels sit below.
    bool LinesonOtherSide() const { return linesonOtherSide_; }
    void SetLinesonOtherSide(bool on);

    bool BaseLineVisible() const { return baseLineVisible_; }
    void SetBaseLineVisible(bool on);
    TColor BaseLineColor() const { return baseLineColor_; }
    void SetBaseLineColor(TColor c);

    // A range of units filled in MarkUpColor; none when start equals end.
    TColor MarkUpColor() const { return markUpColor_; }
    void SetMarkUpColor(TColor c);
    double MarkupStart() const { return markupStart_; }
    void SetMarkupStart(double v);
    double MarkupEnd() const { return markupEnd_; }
    void SetMarkupEnd(double v);

    // Factor applied to the label values; values below 0.00001 become 1.0.
    // Labels other than whole units show two decimals.
    double MassFaktor() const { return massFaktor_; }
    void SetMassFaktor(double f);

    const QFont &LabelFont() const { return labelFont_; }

    QSize sizeHint() const override;

    // The whole ruler as the screen shows it, drawn into p at the ruler's size.
    void Draw(QPainter &p) const;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    bool ScaledLabels() const;
    int Length() const;

    TLinealTyp linealTyp_ = lin_horizontal;
    double zoomFaktor_ = 1.0;
    double leftValue_ = 0.0;
    TColor colorBackground_;
    TColor colorLinesText_;
    TColor colorNoTextLines_;
    bool linesonOtherSide_ = false;
    bool baseLineVisible_ = false;
    TColor baseLineColor_;
    TColor markUpColor_;
    double markupStart_ = 0.0;
    double markupEnd_ = 0.0;
    double massFaktor_ = 1.0;
    QFont labelFont_;
};
