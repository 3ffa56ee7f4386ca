#pragma once
// ToxColorPicker: the HSV colour picker. A saturation/value field at the
// current hue, a hue bar below it and (optionally) three R/G/B edits. All
// three children hold the same HSV triple; a user change in one is handed to
// the others and reported as OnColorChange.

#include "canvas/colours.h"

#include <QCursor>
#include <QImage>
#include <QWidget>

class QLineEdit;

// The field (saturation across, value up) or the hue bar.
class ToxGraphicPanel : public QWidget
{
    Q_OBJECT
  public:
    enum class Mode { HueBar, Field };

    ToxGraphicPanel(Mode mode, QWidget *parent = nullptr);

    Mode PanelMode() const { return mode_; }
    colours::THSV HSV() const { return hsv_; }
    // Takes a triple from the picker: the field rebuilds its picture when the
    // hue changed, else only its marker moves.
    void SetHSV(const colours::THSV &hsv);
    // The marker's centre, already clamped into the control.
    QPoint MarkerPos() const { return marker_; }
    bool MarkerShown() const { return markerShown_; }
    const QImage &Picture() const { return picture_; }

  signals:
    void Changed(const colours::THSV &hsv); // by the user

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

  private:
    void Rebuild(); // the picture, then a repaint
    void BuildPicture();
    void PlaceMarker();
    void MoveMarker(QPoint p);
    void PickAt(QPoint p);

    Mode mode_;
    colours::THSV hsv_;
    int pictureHue_ = -1; // hue the field picture was built for
    QImage picture_;
    QPoint marker_;
    bool markerShown_ = false;
};

// Three edits for red, green and blue, decimal or hexadecimal.
class ToxRGBEditPanel : public QWidget
{
    Q_OBJECT
  public:
    explicit ToxRGBEditPanel(QWidget *parent = nullptr);

    colours::THSV HSV() const { return hsv_; }
    void SetHSV(const colours::THSV &hsv);
    canvas::TColor Color() const { return color_; }
    bool HexEdit() const { return hex_; }
    void SetHexEdit(bool on);
    QLineEdit *Edit(int channel) const { return edits_[channel]; } // 0 R, 1 G, 2 B

  signals:
    void Changed(const colours::THSV &hsv); // by the user

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void WriteEdits();
    void EditChanged();
    void EditLeft(int channel);
    int ReadChannel(int channel) const;
    QString Format(int v) const;

    QLineEdit *edits_[3] = {};
    colours::THSV hsv_;
    canvas::TColor color_ = 0;
    bool hex_ = false;
    bool updating_ = false;
};

class ToxColorPicker : public QWidget
{
    Q_OBJECT
  public:
    explicit ToxColorPicker(QWidget *parent = nullptr);

    // The colour: reading gives the edits panel's colour, i.e. the HSV round
    // trip of the colour last set. Setting fires no OnColorChange.
    canvas::TColor PickColor() const;
    void SetPickColor(canvas::TColor c);

    QCursor PickCursor() const { return pickCursor_; }
    void SetPickCursor(const QCursor &c);
    bool EditVisible() const { return editVisible_; }
    void SetEditVisible(bool on);
    bool HexEdit() const;
    void SetHexEdit(bool on);
    bool AutoHeight() const { return autoHeight_; }
    void SetAutoHeight(bool on);

    ToxGraphicPanel *Field() const { return field_; }
    ToxGraphicPanel *HueBar() const { return hueBar_; }
    ToxRGBEditPanel *Edits() const { return edits_; }

    // The pipette cursor of field and hue bar.
    static QCursor DefaultPickCursor();

  signals:
    void OnColorChange(canvas::TColor colour);

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    void FitHeight();
    void FromField(const colours::THSV &hsv);
    void FromHueBar(const colours::THSV &hsv);
    void FromEdits(const colours::THSV &hsv);

    ToxGraphicPanel *field_ = nullptr;
    ToxGraphicPanel *hueBar_ = nullptr;
    ToxRGBEditPanel *edits_ = nullptr;
    QCursor pickCursor_;
    bool editVisible_ = true;
    bool autoHeight_ = true;
};
