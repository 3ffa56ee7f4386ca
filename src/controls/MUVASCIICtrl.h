#pragma once
// TMUVASCIICtrl: the table of all 256 codes of the Windows-1252 character
// set, 16 rows of 16 cells and a status row below them. Control codes show
// their abbreviation, every other code its character in the table's font.
// A mouse release over a cell reports the code and the button.

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <QMenu>

class TMUVASCIICtrl : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVASCIICtrl(QWidget *parent = nullptr);

    // Font of the characters; its text height sets the cell size.
    QFont AFont() const { return aFont_; }
    void SetAFont(const QFont &font);
    // Colour of the characters.
    QColor AFontColor() const { return aFontColor_; }
    void SetAFontColor(const QColor &colour);
    // Colour of the cell borders.
    QColor APen() const { return aPen_; }
    void SetAPen(const QColor &colour);
    // Cell background.
    QColor ABrush() const { return aBrush_; }
    void SetABrush(const QColor &colour);

    // The highlighted code; -1 for none (values of 256 and more become -1).
    int Aselection() const { return aselection_; }
    void SetAselection(int code);

    // An extra frame around the cells of LF, CR, ESC and the euro sign.
    bool MarkSpezialChars() const { return markSpezialChars_; }
    void SetMarkSpezialChars(bool on);

    // Shown at the mouse position after a right-button release.
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu) { popupMenu_ = menu; }

    // Edge length of one cell in pixels.
    int CellSize() const { return cell_; }
    // The code of the cell at a point of the control; 256 and more for the
    // status row and below.
    int CodeAt(const QPoint &pos) const;
    // The top-left corner of a code's cell.
    QPoint CellOrigin(int code) const;
    // The status row's text for a code, as drawn (empty for 256 and more).
    static QString StatusText(int code);
    // Abbreviation and name of a control code (0...31, 127); empty otherwise.
    static QString ControlAbbreviation(int code);
    static QString ControlName(int code);
    // The text a cell shows for a code of 32 and more (not 127).
    static QString CharacterText(int code);
    // The code under the mouse whose status is showing; -1 for none.
    int StatusCode() const { return hoverCode_; }

    QSize sizeHint() const override { return size(); }

  signals:
    void OnSelectChar(TMUVASCIICtrl *Sender, unsigned char Wahl, Qt::MouseButton Button);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    void Recompute();
    void PaintStatus(class QPainter &p, int code) const;

    QFont aFont_;
    QColor aFontColor_;
    QColor aPen_;
    QColor aBrush_;
    int aselection_ = -1;
    bool markSpezialChars_ = false;
    int cell_ = 16;
    int hoverCode_ = -1;
    QPointer<QMenu> popupMenu_;
};
