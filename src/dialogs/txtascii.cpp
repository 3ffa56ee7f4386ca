#include "dialogs/txtascii.h"

#include "controls/MUVASCIICtrl.h"

#include <QMenu>
#include <QVBoxLayout>

TForm_TXTASCII::TForm_TXTASCII(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_TXTASCII"));
    setWindowTitle(QStringLiteral("ASCII-Zeichen"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    MUVASCIICtrl1 = new TMUVASCIICtrl(this);
    MUVASCIICtrl1->setObjectName(QStringLiteral("MUVASCIICtrl1"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12); // 16 pixels on a screen of 96 dpi
    MUVASCIICtrl1->SetAFont(font);
    MUVASCIICtrl1->SetAFontColor(palette().color(QPalette::WindowText));
    MUVASCIICtrl1->SetABrush(palette().color(QPalette::ToolTipBase));
    MUVASCIICtrl1->SetMarkSpezialChars(true);
    // The hint has only a long part; it is the only place that tells of the menu.
    MUVASCIICtrl1->setToolTip(
        QStringLiteral("ASCII-Tabelle - rechte Maustaste für Einstellung der Schriftgröße"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PM_TXTASCII_Gr = PopupMenu1->addAction(QStringLiteral("Schrift größer"));
    PM_TXTASCII_Gr->setObjectName(QStringLiteral("PM_TXTASCII_Gr"));
    PM_TXTASCII_Kl = PopupMenu1->addAction(QStringLiteral("Schrift kleiner"));
    PM_TXTASCII_Kl->setObjectName(QStringLiteral("PM_TXTASCII_Kl"));
    MUVASCIICtrl1->SetPopupMenu(PopupMenu1);
    connect(PM_TXTASCII_Gr, &QAction::triggered, this, &TForm_TXTASCII::PM_TXTASCII_GrClick);
    connect(PM_TXTASCII_Kl, &QAction::triggered, this, &TForm_TXTASCII::PM_TXTASCII_KlClick);
    connect(MUVASCIICtrl1, &TMUVASCIICtrl::OnSelectChar, this, &TForm_TXTASCII::MUVASCIICtrl1SelectChar);

    // Sized to the table, also after its font changed.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(MUVASCIICtrl1);
}

void TForm_TXTASCII::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm_TXTASCII::FormShow()
{
    zeichen_ = 0;
}

void TForm_TXTASCII::MUVASCIICtrl1SelectChar(TMUVASCIICtrl *, unsigned char Wahl, Qt::MouseButton Button)
{
    zeichen_ = Wahl;
    // The highlight shows what a right click chose.
    MUVASCIICtrl1->SetAselection(Wahl);
    if (Button == Qt::LeftButton)
        done(1);
}

void TForm_TXTASCII::PM_TXTASCII_GrClick()
{
    QFont f = MUVASCIICtrl1->AFont();
    f.setPointSize(f.pointSize() + 4);
    MUVASCIICtrl1->SetAFont(f);
}

void TForm_TXTASCII::PM_TXTASCII_KlClick()
{
    QFont f = MUVASCIICtrl1->AFont();
    if (f.pointSize() > 8) {
        f.setPointSize(f.pointSize() - 4);
        MUVASCIICtrl1->SetAFont(f);
    }
}
