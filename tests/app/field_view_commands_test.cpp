// Text pasted into fields, the visibility and background switches, the page
// information and the column and row buttons, driven through the window.
#include "controls/MUVButton.h"
#include "dialogs/colorDialog.h"
#include "field_commands_fixture.h"
#include "model/undobj.h"

#include <QMimeData>
#include <QStatusBar>
#include <QTimer>

using namespace windowtesting;

TEST_F(FieldCommands, PastedTextReplacesTheFieldsTextWithinItsLimits)
{
    auto w = start("bilder-3x8.rsd");
    TRS &sheet = w->Sheet();
    TRSObject *f = sheet.GetField(1, 1);
    ASSERT_EQ(f->Kind, TFieldKind::Picture);
    f->Visible = false;
    pointAt(*w, 1, 1);

    // Lines of any system arrive as CR LF; a picture field becomes a text
    // field and keeps its picture.
    setClipboard("Ordner 1\nAbrechnung äöü €");
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(f->Kind, TFieldKind::Text);
    EXPECT_EQ(f->Text, "Ordner 1\r\nAbrechnung \xE4\xF6\xFC \x80");
    EXPECT_TRUE(f->Visible);
    EXPECT_TRUE(f->Picture);
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_TRUE(w->statusBar()->currentMessage().isEmpty());

    // Too long: the first 255 characters stay, the status line says so.
    setClipboard(QString(300, QLatin1Char('x')));
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(f->Text, std::string(255, 'x'));
    EXPECT_TRUE(w->statusBar()->currentMessage().contains("300 Zeichen"))
        << w->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(w->Undo()->Current, 3);

    // A line break is never cut in half.
    setClipboard(QString(254, QLatin1Char('y')) + "\r\nz");
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(f->Text, std::string(254, 'y'));

    // A huge text takes no longer than a glance.
    setClipboard(QString(4 * 1024 * 1024, QLatin1Char('h')));
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(f->Text, std::string(255, 'h'));

    // Control characters: tabs become blanks, the others go.
    setClipboard(QString::fromUtf8("A\tB\x01\x1b"
                                   "C") +
                 QChar(0) + "D\x7f");
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(f->Text, "A BCD");
    EXPECT_TRUE(w->statusBar()->currentMessage().contains("Steuerzeichen"));
    EXPECT_EQ(w->Undo()->Current, 6);

    // Only control characters, an empty text or no text: nothing changes.
    for (const QString &text : {QString::fromUtf8("\x01\x02"), QString()}) {
        setClipboard(text);
        w->PM_EL_CLPBRDClick();
        EXPECT_EQ(f->Text, "A BCD");
        EXPECT_EQ(w->Undo()->Current, 6);
    }
    auto *image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(image);
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(f->Text, "A BCD");
    EXPECT_EQ(w->Undo()->Current, 6);
    EXPECT_FALSE(w->statusBar()->currentMessage().isEmpty());

    // The saved sheet reads back what the field holds.
    setClipboard(QString(300, QChar(0x20AC)));
    w->PM_EL_CLPBRDClick();
    const QString file = QDir(data_).filePath("lang.rsd");
    ASSERT_TRUE(w->Document().Save(file));
    TRS back;
    ASSERT_TRUE(back.LoadFromFile(file));
    EXPECT_EQ(back.GetField(1, 1)->Text, std::string(255, '\x80'));
}

TEST_F(FieldCommands, VisibilityOfFieldsAndColumns)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    pointAt(*w, 3, 2);
    ASSERT_TRUE(sheet.GetField(3, 2)->Visible);
    w->pm_el_visibleClick();
    EXPECT_FALSE(sheet.GetField(3, 2)->Visible);
    EXPECT_EQ(w->Document().FieldElement(3, 2), -1);
    w->pm_el_visibleClick();
    EXPECT_TRUE(sheet.GetField(3, 2)->Visible);

    w->pm_el_spalteunsClick();
    for (int r = 0; r < sheet.RowCount; ++r)
        EXPECT_FALSE(sheet.GetField(3, r)->Visible) << r;
    EXPECT_TRUE(sheet.GetField(2, 0)->Visible);
    // Between two fields of the column still counts as the column.
    const TRSObject *f = sheet.GetField(3, 2);
    w->DPaintbox1XYChange(f->CenterX, f->Y2 + sheet.FieldSpacing / 2);
    w->pm_el_sichtbarClick();
    for (int r = 0; r < sheet.RowCount; ++r)
        EXPECT_TRUE(sheet.GetField(3, r)->Visible) << r;
    EXPECT_EQ(w->Undo()->Current, 5);
}

TEST_F(FieldCommands, ColumnBackgroundSwitchAndColour)
{
    auto w = start();
    TRSSpalte *column = w->Sheet().GetColumn(1);
    ASSERT_FALSE(column->BackgroundOn);
    QMenu *m = rightClick(*w, centreOf(*w, 1, 6));
    ASSERT_TRUE(m);
    QAction *on = w->PopupEntry("pm_el_spbkon");
    EXPECT_FALSE(on->isChecked());
    on->trigger(); // as chosen from the open submenu
    m->close();
    EXPECT_TRUE(column->BackgroundOn);
    EXPECT_EQ(w->Undo()->Current, 2);
    m = rightClick(*w, centreOf(*w, 1, 6));
    ASSERT_TRUE(m);
    EXPECT_TRUE(on->isChecked());
    on->trigger();
    m->close();
    EXPECT_FALSE(column->BackgroundOn);

    // The colour dialog: cancelled changes nothing, OK sets the colour and
    // switches the background on.
    const TColor green = column->BackgroundColor;
    auto answerDialog = [](bool ok, TColor colour) {
        QTimer::singleShot(0, [ok, colour] {
            auto *dlg = qobject_cast<TForm_ColorDLG *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dlg);
            if (ok) {
                dlg->SetCurrentColor(colour, nullptr);
                QTest::mouseClick(dlg->BTN_OK, Qt::LeftButton);
            } else {
                QTest::mouseClick(dlg->BTN_Abbruch, Qt::LeftButton);
            }
        });
    };
    answerDialog(false, clRed);
    w->pm_el_spbkcolClick();
    EXPECT_EQ(column->BackgroundColor, green);
    EXPECT_FALSE(column->BackgroundOn);
    EXPECT_EQ(w->Undo()->Current, 3);
    answerDialog(true, RGBToTColor(10, 20, 30));
    w->pm_el_spbkcolClick();
    EXPECT_EQ(column->BackgroundColor, RGBToTColor(10, 20, 30));
    EXPECT_TRUE(column->BackgroundOn);
    EXPECT_EQ(w->Undo()->Current, 4);
}

TEST_F(FieldCommands, PageInfoAndCrosshairSwitch)
{
    auto w = start();
    ASSERT_FALSE(w->ShowPageInfo);
    QMenu *m = rightClick(*w, centreOf(*w, 0, 0));
    ASSERT_TRUE(m);
    choose(m, w->PopupEntry("pm_el_Pageinfos"));
    EXPECT_TRUE(w->ShowPageInfo);
    EXPECT_TRUE(w->DPaintbox1()->PageInfosShown());
    EXPECT_TRUE(w->PopupEntry("pm_el_Pageinfos")->isChecked());
    EXPECT_FALSE(w->Sheet().Modified); // a view setting, no change of the sheet
    EXPECT_EQ(w->Undo()->Current, 1);
    w->pm_el_PageinfosClick();
    EXPECT_FALSE(w->ShowPageInfo);
    EXPECT_FALSE(w->PopupEntry("pm_el_Pageinfos")->isChecked());

    w->PopupEntry("PM_EL_Fadenkr")->trigger();
    EXPECT_TRUE(w->DPaintbox1()->AchsenCursor());
    EXPECT_EQ(w->DPaintbox1()->AchsenCursorTyp(), TDPaintbox::ta_alle);
    w->PopupEntry("PM_EL_Fadenkr")->trigger();
    EXPECT_FALSE(w->DPaintbox1()->AchsenCursor());
    EXPECT_FALSE(w->Sheet().Modified);
}

TEST_F(FieldCommands, ColumnAndRowButtons)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    // Two columns A and B: "Kopie" gives A, A.
    sheet.SetGrid(2, sheet.RowCount);
    w->Document().Commit(false);
    sheet.GetField(0, 0)->Text = "A";
    sheet.GetField(1, 0)->Text = "B";
    sheet.GetColumn(0)->BackgroundOn = true;
    sheet.GetColumn(0)->BackgroundColor = clRed;
    const double left1 = sheet.GetColumn(1)->Left;
    ASSERT_TRUE(w->Button("btn_spaltekopieren")->isEnabled());
    QTest::mouseClick(w->Button("btn_spaltekopieren"), Qt::LeftButton);
    EXPECT_EQ(sheet.GetField(0, 0)->Text, "A");
    EXPECT_EQ(sheet.GetField(1, 0)->Text, "A");
    EXPECT_TRUE(sheet.GetColumn(1)->BackgroundOn);
    EXPECT_EQ(sheet.GetColumn(0)->BackgroundColor, clRed);
    EXPECT_DOUBLE_EQ(sheet.GetColumn(1)->Left, left1);
    EXPECT_DOUBLE_EQ(sheet.GetField(0, 0)->X1, sheet.GetColumn(0)->Left + sheet.FieldSpacing);
    const int after = w->Undo()->Current;

    sheet.GetField(1, 0)->Text = "B";
    QTest::mouseClick(w->Button("btn_spaltenrechts"), Qt::LeftButton);
    EXPECT_EQ(sheet.GetField(0, 0)->Text, "B");
    QTest::mouseClick(w->Button("btn_spaltenlinks"), Qt::LeftButton);
    EXPECT_EQ(sheet.GetField(0, 0)->Text, "A");
    const std::string last = sheet.GetField(0, sheet.RowCount - 1)->Text;
    QTest::mouseClick(w->Button("btn_unten"), Qt::LeftButton);
    EXPECT_EQ(sheet.GetField(0, 0)->Text, last);
    EXPECT_EQ(sheet.GetField(0, 1)->Text, "A");
    QTest::mouseClick(w->Button("btn_oben"), Qt::LeftButton);
    EXPECT_EQ(sheet.GetField(0, 0)->Text, "A");
    EXPECT_EQ(w->Undo()->Current, after + 4);
}

TEST_F(FieldCommands, AClickOpensTheFieldEditorOrTheMenu)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    TRSObject *field = sheet.GetField(2, 5);
    field->Visible = false;
    field->Text = "vorher";
    const std::string saved = describe(*field);
    int calls = 0;
    bool markedWhileOpen = false, visibleWhileOpen = false;
    int result = 2;
    TRSObject *lastEdited = nullptr;
    w->SetFieldEditor([&](TDocument &doc, TRSObject &edited, QWidget *) {
        ++calls;
        lastEdited = &edited;
        markedWhileOpen = w->DPaintbox1()->MarkRectOn();
        visibleWhileOpen = edited.Visible;
        edited.Text = "im Editor";
        edited.FontHeight = 11;
        edited.SetFrame(0, 0, 1, 1); // even a frame change is undone by a cancel
        doc.Commit(false);
        return result;
    });

    // Cancel: the field is back as it was, invisible too, without an undo step.
    QTest::mouseMove(w->DPaintbox1(), centreOf(*w, 2, 5));
    EXPECT_EQ(w->DPaintbox1()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(w->DPaintbox1(), Qt::LeftButton, Qt::NoModifier, centreOf(*w, 2, 5));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastEdited, field);
    EXPECT_TRUE(markedWhileOpen);
    EXPECT_TRUE(visibleWhileOpen);
    EXPECT_EQ(describe(*field), saved);
    EXPECT_EQ(w->Undo()->Current, 1);
    EXPECT_FALSE(w->DPaintbox1()->MarkRectOn());

    // OK: one undo step with the edited field.
    result = 1;
    const QPoint at = centreOf(*w, 2, 5);
    QTest::mouseClick(w->DPaintbox1(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(field->Text, "im Editor");
    EXPECT_TRUE(field->Visible);
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_FALSE(w->DPaintbox1()->MarkRectOn());

    // Beside the fields the click opens the context menu instead.
    const TRSObject *f = sheet.GetField(0, 0);
    const QPoint margin = pixelAt(*w, f->Left / 2, f->CenterY);
    QTest::mouseMove(w->DPaintbox1(), margin);
    EXPECT_EQ(w->DPaintbox1()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(w->DPaintbox1(), Qt::LeftButton, Qt::NoModifier, margin);
    ASSERT_EQ(openMenu(), w->Popup_EL());
    EXPECT_EQ(calls, 2);
    openMenu()->close();

    // While elements may be moved, a click only redraws.
    QTest::mouseClick(w->Button("btn_work"), Qt::LeftButton);
    ASSERT_TRUE(w->DPaintbox1()->Bearbeitbar());
    QTest::mouseClick(w->DPaintbox1(), Qt::LeftButton, Qt::NoModifier, centreOf(*w, 1, 1));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(openMenu(), nullptr);
    QTest::mouseClick(w->Button("btn_work"), Qt::LeftButton);
    EXPECT_FALSE(w->DPaintbox1()->Bearbeitbar());

    // "Dieses Feld bearbeiten" from the menu opens the same editor.
    QMenu *m = rightClick(*w, centreOf(*w, 4, 0));
    ASSERT_TRUE(m);
    choose(m, w->PopupEntry("pm_el_work"));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(lastEdited, sheet.GetField(4, 0));
    EXPECT_EQ(sheet.GetField(4, 0)->Text, "im Editor");
}
