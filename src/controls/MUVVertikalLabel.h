#pragma once
// TMUVVertikalLabel: a caption written from bottom to top, for the narrow
// headings beside the dialogs' groups.

#include <QWidget>

class TMUVVertikalLabel : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVVertikalLabel(QWidget *parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    // Gap to the left edge and to the end the text starts from.
    int Margin() const { return margin_; }
    void SetMargin(int px);
    // Qt::AlignLeft starts at the bottom, Qt::AlignRight ends at the top,
    // Qt::AlignHCenter centres the text on the height.
    Qt::Alignment TextAlign() const { return align_; }
    void SetTextAlign(Qt::Alignment align);

    // The text's extent along the control (from its first to its last
    // character, in control coordinates: top < bottom).
    QRect TextRect() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QString caption_ = QStringLiteral("Beschriftung");
    int margin_ = 2;
    Qt::Alignment align_ = Qt::AlignLeft;
};
