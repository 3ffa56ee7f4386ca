#pragma once
// TStartLabelPicker: a small picture of the sheet on which the user clicks
// the first free label of a partly used sheet. Every field shows its number
// in fill order; the fields before the start label are drawn as used, the
// fields that take records are white, the others (fixed texts, pictures)
// grey.

#include <QWidget>

#include <utility>
#include <vector>

class TRS;

class TStartLabelPicker : public QWidget
{
    Q_OBJECT

  public:
    explicit TStartLabelPicker(QWidget *parent = nullptr);

    // The sheet and its fields in fill order with whether each takes a
    // record. The sheet must outlive the picker or be set anew.
    void SetPlaces(const TRS *sheet, std::vector<std::pair<int, int>> places, std::vector<bool> takesRecord);
    int StartLabel() const { return start_; }
    void SetStartLabel(int label);

    QSize sizeHint() const override { return QSize(220, 220); }
    // The field rectangle of place i (0-based) in the picker's pixels.
    QRectF PlaceRect(int i) const;

  signals:
    void StartLabelChanged(int label);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

  private:
    double Scale() const;

    const TRS *sheet_ = nullptr;
    std::vector<std::pair<int, int>> places_;
    std::vector<bool> takes_;
    int start_ = 1;
};
