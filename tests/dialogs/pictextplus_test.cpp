// The field editor's text side, driven by real keys and clicks: live editing,
// cancel and OK through the caller's command, alignment by angle, the limit
// of 255 characters, special characters and the keyboard shortcuts.
#include "controls/ColourSwatch.h"
#include "field_editor_testing.h"

#include "controls/MUVASCIICtrl.h"
#include "controls/MUVFontComboBox.h"
#include "controls/MUVWinkelWahl.h"
#include "dialogs/txtascii.h"
#include "platform/clipboard.h"

#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVPanel.h"
#include <QClipboard>
#include <QLabel>

TEST_F(FieldEditorTest, LoadsTheFieldAndAppliesAtOnce)
{
    field_.Text = "Zeile 1\r\nZeile 2";
    field_.FontStyle = 1 | 4;
    field_.Angle = 90;
    field_.LinesTopBottom = true;
    doc_.LineFactor = 1.5;
    TForm_pictextplus *dlg = Open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Element definieren/ändern..."));
    EXPECT_EQ(dlg->size(), QSize(500, 391));
    EXPECT_FALSE(dlg->Loading);
    EXPECT_EQ(dlg->Memo->toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(dlg->Memo->textCursor().selectedText().size(), dlg->Memo->toPlainText().size());
    EXPECT_TRUE(dlg->BTN_Fett->isChecked());
    EXPECT_FALSE(dlg->BTN_Kursiv->isChecked());
    EXPECT_TRUE(dlg->BTN_Unter->isChecked());
    EXPECT_TRUE(dlg->btn_links->isChecked());
    EXPECT_EQ(dlg->SPIN_W->Value(), 90);
    EXPECT_EQ(dlg->WinkelWahl->Winkel(), 90);
    EXPECT_DOUBLE_EQ(dlg->SPIN_ZH->ValueReal(), 1.5);
    EXPECT_TRUE(dlg->cb_lineou->isChecked());
    EXPECT_EQ(dlg->lbl_anzzeichen->text(), QStringLiteral(" verbleibende Anzahl Zeichen: 239 "));
    EXPECT_TRUE(dlg->btn_copy->isEnabled());
    EXPECT_EQ(liveCommits_, 1); // the apply at the end of loading
    // "Arial" stays "Arial": its metric-compatible stand-in is installed.
    EXPECT_EQ(dlg->CB_Schriftart->SelectedName(), QStringLiteral("Arial"));

    // Typing replaces the selected text, and every key reaches the field.
    TypeText(dlg->Memo, QStringLiteral("Größe"));
    EXPECT_EQ(field_.Text, std::string("Gr\xF6\xDF"
                                       "e"));
    EXPECT_GE(liveCommits_, 6);
    QTest::mouseClick(dlg->BTN_Kursiv, Qt::LeftButton);
    EXPECT_EQ(field_.FontStyle, 1 | 2 | 4);
    QTest::mouseClick(dlg->cb_visible, Qt::LeftButton);
    EXPECT_EQ(field_.Visible, dlg->cb_visible->isChecked());
    TypeSpin(dlg->spin_SchriftH, QStringLiteral("12,5"));
    EXPECT_DOUBLE_EQ(field_.FontHeight, 12.5);
    TypeSpin(dlg->SPIN_ZH, QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(doc_.LineFactor, 2.0);
    TypeSpin(dlg->spin_linewidth, QStringLiteral("0,05")); // below the smallest width
    EXPECT_DOUBLE_EQ(field_.LineWidth, 0.1);
}

TEST_F(FieldEditorTest, CancelRestoresTheFieldExactly)
{
    field_.Visible = false;
    field_.Picture = TPicture::FromImage(QImage(30, 10, QImage::Format_RGB32));
    const TBytes pictureBytes = field_.Picture->Bytes();
    WhenModal([](QWidget *w) {
        auto *dlg = static_cast<TForm_pictextplus *>(w);
        QTest::keyClicks(dlg->Memo, QStringLiteral("Neuer Text"));
        QTest::mouseClick(dlg->BTN_Fett, Qt::LeftButton);
        EXPECT_EQ(dlg->EditedField->Text, "Neuer Text");
        EXPECT_TRUE(dlg->EditedField->Visible); // made visible for the edit
        // The picture tab turns the field into a picture field at the next apply.
        QTabBar *bar = dlg->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QTest::mouseClick(dlg->cb_lineou, Qt::LeftButton);
        EXPECT_EQ(dlg->EditedField->Kind, TFieldKind::Picture);
        QTest::mouseClick(dlg->BTN_Abbruch, Qt::LeftButton);
    });
    EXPECT_EQ(ExecuteFieldEditor(doc_, &field_, nullptr), 2);
    EXPECT_EQ(field_.Text, "Alt");
    EXPECT_EQ(field_.Kind, TFieldKind::Text);
    EXPECT_EQ(field_.FontStyle, 0);
    EXPECT_FALSE(field_.Visible);
    EXPECT_FALSE(field_.LinesTopBottom);
    ASSERT_TRUE(field_.Picture);
    EXPECT_EQ(field_.Picture->Bytes(), pictureBytes);
    EXPECT_DOUBLE_EQ(field_.X2, 60);
    EXPECT_EQ(undoableCommits_, 0);
    EXPECT_GE(liveCommits_, 2); // the page followed, and went back
}

TEST_F(FieldEditorTest, OkCommitsWithUndoAndEscCancels)
{
    WhenModal([](QWidget *w) {
        auto *dlg = static_cast<TForm_pictextplus *>(w);
        QTest::keyClicks(dlg->Memo, QStringLiteral("Neu"));
        QTest::keyClick(dlg->Memo, Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(ExecuteFieldEditor(doc_, &field_, nullptr), 1);
    EXPECT_EQ(field_.Text, "Neu");
    EXPECT_TRUE(field_.Visible);
    EXPECT_EQ(undoableCommits_, 1);

    WhenModal([](QWidget *w) {
        auto *dlg = static_cast<TForm_pictextplus *>(w);
        QTest::keyClick(dlg->Memo, Qt::Key_End);
        QTest::keyClicks(dlg->Memo, QStringLiteral("er"));
        QTest::keyClick(dlg->Memo, Qt::Key_Escape);
    });
    EXPECT_EQ(ExecuteFieldEditor(doc_, &field_, nullptr), 2);
    EXPECT_EQ(field_.Text, "Neu");
    EXPECT_EQ(undoableCommits_, 1);
}

TEST_F(FieldEditorTest, EmptyFieldBecomesTextFieldAndCancelKeepsItEmpty)
{
    field_.Kind = TFieldKind::Empty;
    field_.Text.clear();
    WhenModal([](QWidget *w) {
        auto *dlg = static_cast<TForm_pictextplus *>(w);
        EXPECT_EQ(dlg->PageControl1->currentWidget(), dlg->TAB_TEXT);
        EXPECT_EQ(dlg->EditedField->Kind, TFieldKind::Text);
        EXPECT_FALSE(dlg->btn_copy->isEnabled());
        dlg->close(); // the close box counts as cancel
    });
    EXPECT_NE(ExecuteFieldEditor(doc_, &field_, nullptr), 1);
    EXPECT_EQ(field_.Kind, TFieldKind::Empty);

    WhenModal(
        [](QWidget *w) { QTest::mouseClick(static_cast<TForm_pictextplus *>(w)->BTN_OK, Qt::LeftButton); });
    EXPECT_EQ(ExecuteFieldEditor(doc_, &field_, nullptr), 1);
    EXPECT_EQ(field_.Kind, TFieldKind::Text);
}

TEST_F(FieldEditorTest, AlignmentFollowsTheAngle)
{
    TForm_pictextplus *dlg = Open();
    auto angleFromMenu = [&](const QString &item) {
        QTest::mouseClick(dlg->btn_vordefw, Qt::LeftButton);
        ChooseMenuItem(dlg->PopupMenu1, item);
    };
    QTest::mouseClick(dlg->btn_rechts, Qt::LeftButton);
    EXPECT_EQ(field_.Alignment, 2);
    EXPECT_FALSE(dlg->btn_links->isChecked());
    QTest::mouseClick(dlg->btn_rechts, Qt::LeftButton); // a down button stays down
    EXPECT_TRUE(dlg->btn_rechts->isChecked());
    EXPECT_EQ(field_.Alignment, 2);

    angleFromMenu(QStringLiteral("Winkel 45°"));
    EXPECT_EQ(field_.Angle, 45);
    EXPECT_EQ(field_.Alignment, 1);
    EXPECT_TRUE(dlg->btn_mitte->isChecked());
    EXPECT_FALSE(dlg->btn_rechts->isChecked());
    EXPECT_FALSE(dlg->btn_links->isEnabled());
    EXPECT_EQ(dlg->WinkelWahl->Winkel(), 0); // the menu does not move the dial

    angleFromMenu(QStringLiteral("Winkel 90° - vertikaler Text"));
    EXPECT_EQ(field_.Angle, 90);
    EXPECT_TRUE(dlg->btn_links->isEnabled());
    QTest::mouseClick(dlg->btn_links, Qt::LeftButton);
    EXPECT_EQ(field_.Alignment, 0);

    angleFromMenu(QStringLiteral("Winkel 270 °"));
    EXPECT_EQ(field_.Alignment, 1);
    EXPECT_FALSE(dlg->btn_rechts->isEnabled());

    // Dragging the dial down to 270° and then to the right (0°).
    TMUVWinkelWahl *dial = dlg->WinkelWahl;
    const QPoint c = dial->Centre();
    QTest::mousePress(dial, Qt::LeftButton, {}, c + QPoint(0, 20));
    EXPECT_EQ(field_.Angle, 270);
    QTest::mouseMove(dial, c + QPoint(20, -2));
    QTest::mouseRelease(dial, Qt::LeftButton, {}, c + QPoint(20, -2));
    EXPECT_EQ(field_.Angle, 0);
    EXPECT_EQ(dlg->SPIN_W->Value(), 0);
    EXPECT_TRUE(dlg->btn_links->isEnabled());

    TypeSpin(dlg->SPIN_W, QStringLiteral("30"));
    EXPECT_EQ(field_.Angle, 30);
    EXPECT_EQ(field_.Alignment, 1);
    EXPECT_EQ(dial->Winkel(), 0); // typing does not move the dial either
}

TEST_F(FieldEditorTest, TextLimitOf255CharactersAlsoForPastedText)
{
    TForm_pictextplus *dlg = Open();
    QTest::keyClick(dlg->Memo, Qt::Key_Delete);
    QTest::keyClick(dlg->Memo, Qt::Key_Return);
    QTest::keyClick(dlg->Memo, Qt::Key_Return);
    EXPECT_EQ(dlg->lbl_anzzeichen->text(), QStringLiteral(" verbleibende Anzahl Zeichen: 251 "));
    EXPECT_EQ(field_.Text, "\r\n\r\n");

    platform::SetClipboardText(std::string(300, 'x'));
    ASSERT_TRUE(dlg->btn_einfg->isEnabled());
    QTest::mouseClick(dlg->btn_einfg, Qt::LeftButton);
    EXPECT_EQ(field_.Text.size(), 255u);
    EXPECT_EQ(field_.Text, "\r\n\r\n" + std::string(251, 'x'));
    EXPECT_EQ(dlg->RemainingChars(), 0);
    EXPECT_EQ(dlg->lbl_anzzeichen->text(), QStringLiteral(" verbleibende Anzahl Zeichen: 0 "));
    // Neither typing nor a line break get in any more.
    QTest::keyClicks(dlg->Memo, QStringLiteral("abc"));
    QTest::keyClick(dlg->Memo, Qt::Key_Return);
    EXPECT_EQ(field_.Text.size(), 255u);
    // Pasting with the keyboard into a selection replaces it, within the limit.
    QTest::keyClick(dlg->Memo, Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->setText(QStringLiteral("Zeile A\nZeile B"));
    QTest::keyClick(dlg->Memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field_.Text, "Zeile A\r\nZeile B");
    EXPECT_EQ(dlg->RemainingChars(), 255 - 16);
}

TEST_F(FieldEditorTest, CopyButtonPutsTheWholeTextOnTheClipboard)
{
    field_.Text = "Erste\r\nZweite \x80";
    TForm_pictextplus *dlg = Open();
    QApplication::clipboard()->clear();
    QTest::mouseClick(dlg->btn_copy, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Erste\nZweite \u20AC"));
    EXPECT_TRUE(dlg->btn_einfg->isEnabled());
}

TEST_F(FieldEditorTest, CtrlASelectsAllAndSpecialCharactersAreInserted)
{
    field_.Text = "Preis: ";
    TForm_pictextplus *dlg = Open();
    QTest::keyClick(dlg->Memo, Qt::Key_End);
    QTest::keyClick(dlg->Memo, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dlg->Memo->textCursor().selectedText(), QStringLiteral("Preis: "));
    QTest::keyClick(dlg->Memo, Qt::Key_End);

    WhenModal([](QWidget *w) {
        auto *ascii = qobject_cast<TForm_TXTASCII *>(w);
        ASSERT_TRUE(ascii);
        TMUVASCIICtrl *t = ascii->MUVASCIICtrl1;
        EXPECT_EQ(t->AFont().family(), QStringLiteral("Arial"));
        QTest::mouseClick(t, Qt::LeftButton, {}, t->CellOrigin(0x80) + QPoint(5, 5));
    });
    QTest::mouseClick(dlg->btn_yinyang, Qt::LeftButton);
    EXPECT_EQ(field_.Text, "Preis: \x80");

    // Closing the table without a choice inserts nothing.
    WhenModal([](QWidget *w) { w->close(); });
    QTest::mouseClick(dlg->btn_yinyang, Qt::LeftButton);
    EXPECT_EQ(field_.Text, "Preis: \x80");
}

TEST_F(FieldEditorTest, UnknownFontGetsTheFirstListedFont)
{
    field_.FontName = "Keine solche Schrift";
    TForm_pictextplus *dlg = Open();
    const QStringList fonts = TMUVFontComboBox::AvailableFonts();
    ASSERT_FALSE(fonts.isEmpty());
    EXPECT_EQ(QString::fromLatin1(field_.FontName.c_str()), fonts.first());
    for (const QString &f : fonts)
        EXPECT_FALSE(f.startsWith(QLatin1Char('@')));
    EXPECT_TRUE(fonts.contains(QStringLiteral("Arial")));
    // Choosing another font from the list.
    const int i = dlg->CB_Schriftart->findText(QStringLiteral("DejaVu Sans"));
    ASSERT_GE(i, 0);
    dlg->CB_Schriftart->setFocus();
    dlg->CB_Schriftart->setCurrentIndex(i - 1);
    QTest::keyClick(dlg->CB_Schriftart, Qt::Key_Down);
    EXPECT_EQ(field_.FontName, "DejaVu Sans");
}

TEST_F(FieldEditorTest, ColourSwatchesUseTheColourDialog)
{
    TForm_pictextplus *dlg = Open();
    TColor offered = -1;
    auto previous = TForm_pictextplus::SetColourPicker([&](QWidget *, TColor &c) {
        offered = c;
        c = 0x123456;
        return true;
    });
    QTest::mouseClick(dlg->Shape_BKColor, Qt::LeftButton);
    EXPECT_EQ(offered, 0x00FF00);
    EXPECT_EQ(field_.BackgroundColor, 0x123456);
    QTest::mouseClick(dlg->shape_FontColor, Qt::LeftButton, {}, QPoint(13, 13));
    EXPECT_EQ(field_.FontColor, 0x123456);
    TForm_pictextplus::SetColourPicker([](QWidget *, TColor &c) {
        c = 0x00FFFF;
        return false; // cancelled
    });
    QTest::mouseClick(dlg->Shape_linColor, Qt::LeftButton);
    EXPECT_EQ(field_.LineColor, clBlack);
    TForm_pictextplus::SetColourPicker(previous);
}
