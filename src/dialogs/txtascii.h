#pragma once
// TForm_TXTASCII: the special-character dialog "ASCII-Zeichen". It shows the
// character table in the field's font; a left click on a cell chooses that
// character and closes the dialog with result 1, a right click only selects
// it and opens the menu for the table's font size.

#include <QDialog>

class QAction;
class QMenu;
class TMUVASCIICtrl;

class TForm_TXTASCII : public QDialog
{
    Q_OBJECT
  public:
    explicit TForm_TXTASCII(QWidget *parent = nullptr);

    // The chosen character (a Windows-1252 byte); 0 after showing.
    unsigned char Zeichen() const { return zeichen_; }

    TMUVASCIICtrl *MUVASCIICtrl1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *PM_TXTASCII_Gr = nullptr; // "Schrift größer"
    QAction *PM_TXTASCII_Kl = nullptr; // "Schrift kleiner"

    void FormShow();
    void MUVASCIICtrl1SelectChar(TMUVASCIICtrl *Sender, unsigned char Wahl, Qt::MouseButton Button);
    void PM_TXTASCII_GrClick();
    void PM_TXTASCII_KlClick();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    unsigned char zeichen_ = 0;
};
