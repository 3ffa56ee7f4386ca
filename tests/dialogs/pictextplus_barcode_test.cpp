// The field editor's barcode tab, driven by real input: a code made live into
// the field, data the code cannot hold refused on the tab with the field
// unchanged, and a code field opening on its tab with its settings.
#include "field_editor_testing.h"

#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "model/barcode.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

TEST_F(FieldEditorTest, BarcodeTabMakesCodesAndRefusesBadData)
{
    TForm_pictextplus *dlg = Open();
    ClickTab(2);
    ASSERT_EQ(dlg->PageControl1->currentWidget(), dlg->TAB_Strichcode);
    dlg->cb_codeart->setCurrentIndex(dlg->cb_codeart->findText(QStringLiteral("EAN-13")));
    // Letters in an EAN: a German reason on the tab, the field still the text.
    TypeText(dlg->edt_codedaten, QStringLiteral("40063A"));
    EXPECT_TRUE(dlg->lbl_codehinweis->text().contains(QStringLiteral("13 Ziffern")));
    EXPECT_EQ(field_.Kind, TFieldKind::Text);
    EXPECT_EQ(field_.Text, "Alt");
    EXPECT_EQ(FieldBarcode(field_), nullptr);
    // OK does not close the editor on data that make no code.
    QTest::mouseClick(dlg->BTN_OK, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());

    dlg->edt_codedaten->clear();
    TypeText(dlg->edt_codedaten, QStringLiteral("400638133393"));
    EXPECT_TRUE(dlg->lbl_codehinweis->text().isEmpty());
    ASSERT_NE(FieldBarcode(field_), nullptr);
    EXPECT_EQ(field_.Kind, TFieldKind::Picture);
    EXPECT_EQ(FieldBarcode(field_)->kind, TBarcodeKind::Ean13);
    EXPECT_EQ(FieldBarcode(field_)->data, QStringLiteral("400638133393"));
    ASSERT_NE(dlg->img_code->Picture(), nullptr);
    EXPECT_TRUE(dlg->img_code->Picture()->SharesDataWith(*field_.Picture));

    // The text under the code off, then a wrong check digit: the field keeps
    // the last good code.
    QTest::mouseClick(dlg->cb_klarschrift, Qt::LeftButton);
    ASSERT_NE(FieldBarcode(field_), nullptr);
    EXPECT_FALSE(FieldBarcode(field_)->humanReadable);
    TypeText(dlg->edt_codedaten, QStringLiteral("2"));
    EXPECT_TRUE(dlg->lbl_codehinweis->text().contains(QStringLiteral("Prüfziffer")));
    EXPECT_EQ(FieldBarcode(field_)->data, QStringLiteral("400638133393"));

    // QR codes hold any text; the checkbox has no say over 2-D codes.
    dlg->cb_codeart->setCurrentIndex(dlg->cb_codeart->findText(QStringLiteral("QR-Code")));
    EXPECT_FALSE(dlg->cb_klarschrift->isEnabled());
    ASSERT_NE(FieldBarcode(field_), nullptr);
    EXPECT_EQ(FieldBarcode(field_)->data, QStringLiteral("4006381333932"));
    QTest::mouseClick(dlg->BTN_OK, Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 1);

    // Opened again on the code field: the barcode tab with its settings.
    dlg_.reset();
    dlg = Open();
    EXPECT_EQ(dlg->PageControl1->currentWidget(), dlg->TAB_Strichcode);
    EXPECT_EQ(dlg->cb_codeart->currentText(), QStringLiteral("QR-Code"));
    EXPECT_EQ(dlg->edt_codedaten->text(), QStringLiteral("4006381333932"));
    EXPECT_FALSE(dlg->cb_klarschrift->Checked());

    // A placeholder from the button's menu: the field shows a sample code
    // that keeps the data as written, for labels filled from a list.
    dlg->edt_codedaten->setText(QStringLiteral("Nr. "));
    QTimer::singleShot(0, [] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            menu->actions().front()->trigger(); // {#}
            menu->close();
        }
    });
    QTest::mouseClick(dlg->btn_codeplatzhalter, Qt::LeftButton);
    ASSERT_NE(FieldBarcode(field_), nullptr);
    EXPECT_EQ(FieldBarcode(field_)->data, QStringLiteral("Nr. {#}"));
    EXPECT_TRUE(dlg->lbl_codehinweis->text().isEmpty());
}
