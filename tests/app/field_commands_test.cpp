// The context menu of the page preview and its commands on fields, columns
// and rows, driven through the window.
#include "controls/MUVButton.h"
#include "field_commands_fixture.h"
#include "model/undobj.h"

using namespace windowtesting;

namespace
{

std::vector<std::string> entriesOf(const QMenu *menu)
{
    std::vector<std::string> out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            out.push_back("-");
        else if (a->menu())
            out.push_back("[" + a->text().toStdString() + "]");
        else
            out.push_back(a->objectName().toStdString() + (a->isVisible() ? "" : " (hidden)"));
    }
    return out;
}

} // namespace

TEST_F(FieldCommands, TheContextMenuHoldsItsEntriesInOrder)
{
    auto w = start();
    QMenu *m = w->Popup_EL();
    ASSERT_TRUE(m);
    EXPECT_EQ(entriesOf(m), (std::vector<std::string>{"pm_el_cancel",
                                                      "pm_el_work",
                                                      "PM_EL_CLPBRD",
                                                      "pm_el_listeinfg",
                                                      "pm_el_visible",
                                                      "-",
                                                      "pm_el_sichtbar",
                                                      "pm_el_spalteuns",
                                                      "[Spaltenhintergrund]",
                                                      "-",
                                                      "[Textelemente]",
                                                      "[Ansicht]",
                                                      "-",
                                                      "pm_el_kopietoAll",
                                                      "pm_EL_CopySpalte",
                                                      "pm_EL_CopyReihe",
                                                      "-",
                                                      "PM_EL_Fcopy",
                                                      "PM_EL_FPaste",
                                                      "-",
                                                      "pm_el_Pageinfos",
                                                      "-",
                                                      "PM_MOD"}));
    const auto sub = [&](const char *name) { return m->findChild<QMenu *>(QString::fromLatin1(name)); };
    EXPECT_EQ(entriesOf(sub("pm_el_spaltenhintergrund")),
              (std::vector<std::string>{"pm_el_spbkon", "pm_el_spbkcol"}));
    EXPECT_EQ(entriesOf(sub("pm_el_textelemente")),
              (std::vector<std::string>{"pm_el_Feldopt", "-", "pm_el_spopt", "pm_el_allOpt"}));
    EXPECT_EQ(entriesOf(sub("pm_el_ansicht")),
              (std::vector<std::string>{"pm_el_alles (hidden)", "pm_el_smaller (hidden)",
                                        "pm_el_bigger (hidden)", "PM_EL_Fadenkr (hidden)"}));

    const std::pair<const char *, const char *> captions[] = {
        {"pm_el_cancel", "Kontextmenü schließen/abbrechen"},
        {"pm_el_work", "Dieses Feld bearbeiten"},
        {"PM_EL_CLPBRD", "Text aus der Zwischenablage einfügen"},
        {"pm_el_visible", "Dieses Feld ist sichtbar"},
        {"pm_el_sichtbar", "Diese Spalte: Alle Elemente sichtbar"},
        {"pm_el_spalteuns", "Diese Spalte: Alle Elemente unsichtbar"},
        {"pm_el_spbkon", "Spaltenhintergrundfarbe AN/AUS"},
        {"pm_el_spbkcol", "Spaltenhintergrundfarbe wählen"},
        {"pm_el_Feldopt", "Optimierte Textbreite für dieses Feld"},
        {"pm_el_spopt", "Optimierte Textbreite für diese Spalte"},
        {"pm_el_allOpt", "Optimierte Textbreite für alle Felder"},
        {"pm_el_alles", "Ansicht \"ganze Seite\""},
        {"pm_el_smaller", "Ansicht \"verkleinern\""},
        {"pm_el_bigger", "Ansicht \"vergrößern\""},
        {"PM_EL_Fadenkr", "Fadenkreuz anzeigen"},
        {"pm_el_kopietoAll", "Dieses Element auf alle anderen Elemente kopieren (alle gleich)"},
        {"pm_EL_CopySpalte",
         "Dieses Element nur in dieser Spalte kopieren (= alle Reihen dieser Spalte gleich)"},
        {"pm_EL_CopyReihe",
         "Dieses Element nur in dieser Reihe kopieren (= alle Spalten dieser Reihe gleich)"},
        {"PM_EL_Fcopy", "Formatierung kopieren (z. B. Schriftart,-größe, -farbe....)"},
        {"PM_EL_FPaste", "Formatierung hier anwenden (Kopierte Formatierung bzw. Standardformat)"},
        {"pm_el_Pageinfos", "Zeige Maße des bedruckbaren Bereichs (Seitenrandmaße)"},
        {"PM_MOD", "Rückenschildeinstellungen ändern"},
    };
    for (const auto &[name, caption] : captions) {
        QAction *a = w->PopupEntry(QString::fromLatin1(name));
        ASSERT_TRUE(a) << name;
        EXPECT_EQ(a->text(), QString::fromUtf8(caption)) << name;
    }
    for (const char *name : {"pm_el_visible", "pm_el_spbkon", "pm_el_Pageinfos", "PM_EL_Fadenkr"})
        EXPECT_TRUE(w->PopupEntry(QString::fromLatin1(name))->isCheckable()) << name;
    EXPECT_EQ(w->PopupEntry("pm_el_alles")->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(w->PopupEntry("pm_el_smaller")->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(w->PopupEntry("pm_el_bigger")->shortcut(), QKeySequence(Qt::Key_F5));
}

TEST_F(FieldCommands, ARightClickOnAFieldMarksItAndEnablesWhatItNeeds)
{
    auto w = start();
    w->Sheet().GetField(2, 3)->Visible = false;
    w->Sheet().GetColumn(2)->BackgroundOn = true;
    setClipboard("Etikett");

    QMenu *m = rightClick(*w, centreOf(*w, 2, 3));
    ASSERT_EQ(m, w->Popup_EL());
    const TRSObject *f = w->Sheet().GetField(2, 3);
    EXPECT_NEAR(w->CursorX, f->CenterX, 0.5);
    EXPECT_NEAR(w->CursorY, f->CenterY, 0.5);
    EXPECT_TRUE(w->DPaintbox1()->MarkRectOn());
    EXPECT_TRUE(w->FieldHighlight()->isVisible());
    for (const char *name :
         {"pm_el_work", "PM_EL_CLPBRD", "pm_el_visible", "pm_el_kopietoAll", "PM_EL_Fcopy", "PM_EL_FPaste",
          "pm_el_sichtbar", "pm_el_spalteuns", "pm_el_spbkon", "pm_el_spbkcol", "pm_EL_CopySpalte",
          "pm_EL_CopyReihe", "pm_el_cancel", "PM_MOD"})
        EXPECT_TRUE(enabled(*w, name)) << name;
    EXPECT_FALSE(w->PopupEntry("pm_el_visible")->isChecked()); // the field is hidden
    EXPECT_TRUE(w->PopupEntry("pm_el_spbkon")->isChecked());

    // Closed without a command: the mark goes with it.
    QTest::keyClick(m, Qt::Key_Escape);
    QTest::qWait(1);
    QApplication::processEvents();
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(w->DPaintbox1()->MarkRectOn());
    EXPECT_EQ(w->Undo()->Current, 1);

    // Without text on the clipboard the paste entry is off; a visible field
    // shows its check.
    QApplication::clipboard()->clear();
    m = rightClick(*w, centreOf(*w, 1, 1));
    ASSERT_TRUE(m);
    EXPECT_FALSE(enabled(*w, "PM_EL_CLPBRD"));
    EXPECT_TRUE(w->PopupEntry("pm_el_visible")->isChecked());
    EXPECT_FALSE(w->PopupEntry("pm_el_spbkon")->isChecked());
    m->close();
}

TEST_F(FieldCommands, OnABorderBetweenTouchingFieldsOnlyTheColumnEntriesAreEnabled)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    sheet.SetSpacing(sheet.MarginLeft, sheet.MarginRight, sheet.MarginTop, sheet.MarginBottom,
                     sheet.ColumnGap, 0);
    w->Document().Commit(false);
    const TRSObject *upper = sheet.GetField(1, 4);
    ASSERT_DOUBLE_EQ(upper->Y2, sheet.GetField(1, 5)->Y1);
    w->DPaintbox1XYChange(upper->CenterX, upper->Y2);
    w->ShowPopup_EL(w->DPaintbox1()->mapToGlobal(pixelAt(*w, upper->CenterX, upper->Y2)));
    QMenu *m = openMenu();
    ASSERT_TRUE(m);
    for (const char *name :
         {"pm_el_work", "PM_EL_CLPBRD", "pm_el_visible", "pm_el_kopietoAll", "PM_EL_Fcopy", "PM_EL_FPaste"})
        EXPECT_FALSE(enabled(*w, name)) << name;
    for (const char *name : {"pm_el_sichtbar", "pm_el_spalteuns", "pm_el_spbkon", "pm_el_spbkcol"})
        EXPECT_TRUE(enabled(*w, name)) << name;
    EXPECT_FALSE(w->PopupEntry("pm_el_visible")->isChecked());
    // The column is marked, not a field.
    EXPECT_TRUE(w->DPaintbox1()->MarkRectOn());
    EXPECT_FALSE(w->FieldHighlight()->isVisible());
    m->close();

    // The field commands check again and change nothing; the row copy
    // finds the lower row but no field.
    const auto before = describe(sheet);
    w->pm_el_visibleClick();
    w->pm_el_kopietoAllClick();
    w->pm_EL_CopyReiheClick();
    w->pm_EL_CopySpalteClick();
    w->PM_EL_FPasteClick();
    w->PM_EL_CLPBRDClick();
    EXPECT_EQ(describe(sheet), before);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(w->Undo()->Current, 1);
}

TEST_F(FieldCommands, OnThePageMarginNothingIsFoundAndNothingChanges)
{
    auto w = start();
    w->DPaintbox1XYChange(1, 1); // the top-left margin: no column, no field
    w->ShowPopup_EL(w->DPaintbox1()->mapToGlobal(pixelAt(*w, 1, 1)));
    ASSERT_TRUE(openMenu());
    for (const char *name :
         {"pm_el_work", "pm_el_visible", "pm_el_sichtbar", "pm_el_spalteuns", "pm_el_spbkon", "pm_el_spbkcol",
          "pm_el_kopietoAll", "PM_EL_Fcopy", "PM_EL_FPaste"})
        EXPECT_FALSE(enabled(*w, name)) << name;
    EXPECT_TRUE(enabled(*w, "pm_el_cancel"));
    EXPECT_TRUE(enabled(*w, "pm_EL_CopySpalte"));
    EXPECT_FALSE(w->DPaintbox1()->MarkRectOn());
    openMenu()->close();

    const auto before = describe(w->Sheet());
    setClipboard("nichts");
    for (auto cmd : {&TForm1::pm_el_visibleClick, &TForm1::pm_el_sichtbarClick, &TForm1::pm_el_spalteunsClick,
                     &TForm1::pm_el_spbkonClick, &TForm1::pm_el_spbkcolClick, &TForm1::pm_el_kopietoAllClick,
                     &TForm1::pm_EL_CopySpalteClick, &TForm1::pm_EL_CopyReiheClick, &TForm1::PM_EL_FcopyClick,
                     &TForm1::PM_EL_FPasteClick, &TForm1::PM_EL_CLPBRDClick})
        ((*w).*cmd)();
    EXPECT_EQ(describe(w->Sheet()), before);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(w->Undo()->Current, 1);
    EXPECT_FALSE(w->Sheet().Modified);
}

TEST_F(FieldCommands, CopyToAllAsksAndSnapshotsWhateverTheAnswer)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    TRSObject *source = sheet.GetField(1, 2);
    source->Text = "Quelle";
    source->FontHeight = 7.5;
    source->Visible = false;
    sheet.GetField(4, 12)->Text = "eigen";
    const auto before = describe(sheet);
    pointAt(*w, 1, 2);

    // Cancel copies nothing, but still leaves an undo step and a changed sheet.
    messages.Answer(platform::mrCancel);
    w->pm_el_kopietoAllClick();
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(
        messages.Texts()[0],
        "Das aktuelle Element wird auf alle anderen Elemente kopiert.\r\n\r\nJA\t=\tAlles (auch der Text "
        "bzw. die Grafik) werden kopiert\r\nNEIN\t=\tEs wird nur das Format kopiert (Schriftart, Farbe "
        "usw...)");
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Confirmation);
    EXPECT_EQ(messages.Messages()[0].buttons, platform::MsgButtons::YesNoCancel);
    EXPECT_EQ(describe(sheet), before);
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_TRUE(sheet.Modified);

    // No: the format only; every target becomes visible.
    messages.Answer(platform::mrNo);
    w->pm_el_kopietoAllClick();
    EXPECT_EQ(sheet.GetField(4, 12)->Text, "eigen");
    EXPECT_DOUBLE_EQ(sheet.GetField(4, 12)->FontHeight, 7.5);
    EXPECT_TRUE(sheet.GetField(4, 12)->Visible);
    EXPECT_FALSE(sheet.GetField(1, 2)->Visible); // the source itself is skipped
    EXPECT_EQ(w->Undo()->Current, 3);

    // Yes: everything.
    messages.Answer(platform::mrYes);
    w->pm_el_kopietoAllClick();
    for (int c = 0; c < sheet.ColumnCount; ++c)
        for (int r = 0; r < sheet.RowCount; ++r)
            EXPECT_EQ(sheet.GetField(c, r)->Text, "Quelle") << c << "," << r;
    EXPECT_EQ(w->Undo()->Current, 4);
}

TEST_F(FieldCommands, CopyToAllWithNoOnAPictureFieldMakesPictureFieldsOfTheirOwn)
{
    auto w = start("bilder-3x8.rsd");
    TRS &sheet = w->Sheet();
    ASSERT_EQ(sheet.GetField(0, 0)->Kind, TFieldKind::Picture);
    // A text field without a picture, and one with a text and a picture.
    TRSObject *plain = sheet.GetField(2, 7);
    plain->Kind = TFieldKind::Text;
    plain->Picture.reset();
    plain->Text = "nur Text";
    const int ownWidth = sheet.GetField(1, 1)->Picture ? sheet.GetField(1, 1)->Picture->Width() : -1;
    pointAt(*w, 0, 0);
    messages.Answer(platform::mrNo);
    w->pm_el_kopietoAllClick();
    for (int c = 0; c < sheet.ColumnCount; ++c)
        for (int r = 0; r < sheet.RowCount; ++r)
            EXPECT_EQ(sheet.GetField(c, r)->Kind, TFieldKind::Picture) << c << "," << r;
    EXPECT_FALSE(plain->Picture); // shows its own (empty) picture
    EXPECT_EQ(plain->Text, "nur Text");
    EXPECT_EQ(sheet.GetField(1, 1)->Picture ? sheet.GetField(1, 1)->Picture->Width() : -1, ownWidth);
    EXPECT_EQ(w->Undo()->Current, 2);
    // The page draws no picture for the empty one and no text either.
    EXPECT_EQ(w->Document().FieldElement(2, 7), -1);
}

TEST_F(FieldCommands, CopyToAllOnASheetOfOneFieldChangesNothing)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    sheet.SetGrid(1, 1);
    w->Document().Commit(false);
    ASSERT_EQ(sheet.ColumnCount, 1);
    pointAt(*w, 0, 0);
    sheet.GetField(0, 0)->Text = "allein";
    const auto before = describe(sheet);
    for (int answer : {platform::mrYes, platform::mrNo, platform::mrCancel}) {
        messages.Answer(answer);
        w->pm_el_kopietoAllClick();
        EXPECT_EQ(describe(sheet), before);
    }
    messages.Answer(platform::mrYes);
    w->pm_EL_CopySpalteClick();
    messages.Answer(platform::mrYes);
    w->pm_EL_CopyReiheClick();
    EXPECT_EQ(describe(sheet), before);
    // "Kopie" and the row arrows are off with one column and one row.
    EXPECT_FALSE(w->Button("btn_spaltekopieren")->isEnabled());
    EXPECT_FALSE(w->Button("btn_oben")->isEnabled());
    EXPECT_TRUE(w->Button("btn_spaltenlinks")->isEnabled());
    w->btn_spaltenlinksClick();
    EXPECT_EQ(describe(sheet), before);
}

TEST_F(FieldCommands, CopiesToTheColumnAndTheRowOnlyOnYes)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    sheet.GetField(2, 4)->Text = "Spalte";
    const auto before = describe(sheet);
    pointAt(*w, 2, 4);
    for (int answer : {platform::mrNo, platform::mrCancel}) {
        messages.Answer(answer);
        w->pm_EL_CopySpalteClick();
        EXPECT_EQ(describe(sheet), before);
        messages.Answer(answer);
        w->pm_EL_CopyReiheClick();
        EXPECT_EQ(describe(sheet), before);
    }
    EXPECT_EQ(w->Undo()->Current, 5); // each answer still leaves an undo step
    EXPECT_EQ(messages.Texts()[0],
              "Das aktuelle Element wird auf alle anderen Elemente dieser Spalte kopiert.");
    EXPECT_EQ(messages.Texts()[1],
              "Das aktuelle Element wird auf alle anderen Elemente dieser Reihe kopiert.");
    EXPECT_EQ(messages.Messages()[1].buttons, platform::MsgButtons::YesNoCancel);

    messages.Answer(platform::mrYes);
    w->pm_EL_CopySpalteClick();
    for (int r = 0; r < sheet.RowCount; ++r)
        EXPECT_EQ(sheet.GetField(2, r)->Text, "Spalte") << r;
    EXPECT_NE(sheet.GetField(1, 0)->Text, "Spalte");

    sheet.GetField(3, 7)->Text = "Reihe";
    pointAt(*w, 3, 7);
    messages.Answer(platform::mrYes);
    w->pm_EL_CopyReiheClick();
    for (int c = 0; c < sheet.ColumnCount; ++c)
        EXPECT_EQ(sheet.GetField(c, 7)->Text, "Reihe") << c;
    EXPECT_EQ(sheet.GetField(2, 6)->Text, "Spalte");
}

TEST_F(FieldCommands, FormatCopyAndPaste)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    TDocument &doc = w->Document();
    // Until a format was copied, the standard format is applied.
    TRSObject *target = sheet.GetField(0, 0);
    target->FontName = "Courier";
    target->FontHeight = 3;
    target->Alignment = 2;
    target->Visible = false;
    target->Text = "bleibt";
    pointAt(*w, 0, 0);
    w->PM_EL_FPasteClick();
    EXPECT_EQ(target->FontName, "Arial");
    EXPECT_DOUBLE_EQ(target->FontHeight, 5.2);
    EXPECT_EQ(target->Alignment, 0);
    EXPECT_EQ(target->BackgroundColor, clWhite);
    EXPECT_TRUE(target->Visible);
    EXPECT_EQ(target->Text, "bleibt");
    EXPECT_EQ(w->Undo()->Current, 2);

    // Copy the format of a text field: no undo step, the modified flag stays.
    TRSObject *source = sheet.GetField(3, 5);
    source->FontName = "DejaVu Sans";
    source->FontHeight = 9.25;
    source->FontStyle = 3;
    source->FontColor = clRed;
    source->Angle = 90;
    source->Alignment = 1;
    source->LinesTopBottom = true;
    source->LinesLeftRight = true;
    source->LineColor = clBlue;
    source->LineWidth = 0.8;
    source->BackgroundColor = clYellow;
    source->Text = "Quelle";
    doc.Save(QDir(data_).filePath("gespeichert.rsd"));
    ASSERT_FALSE(sheet.Modified);
    pointAt(*w, 3, 5);
    w->PM_EL_FcopyClick();
    EXPECT_FALSE(sheet.Modified);
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_EQ(doc.FormatTemplate.FontName, "DejaVu Sans");
    EXPECT_EQ(doc.FormatTemplate.Text, ""); // the text is no format

    pointAt(*w, 0, 0);
    w->PM_EL_FPasteClick();
    TRSObject expected;
    expected.Assign(source, true);
    expected.Text = "bleibt";
    expected.SetFrame(target->X1, target->Y1, target->X2, target->Y2);
    EXPECT_EQ(describe(*target), describe(expected));
    EXPECT_EQ(w->Undo()->Current, 3);
}

TEST_F(FieldCommands, FormatCopyAndPasteLeavePictureFieldsAlone)
{
    auto w = start("bilder-3x8.rsd");
    TRS &sheet = w->Sheet();
    TDocument &doc = w->Document();
    TRSObject *picture = sheet.GetField(0, 0);
    ASSERT_EQ(picture->Kind, TFieldKind::Picture);
    picture->FontName = "Courier";
    picture->FontHeight = 12;
    const std::string templateBefore = describe(doc.FormatTemplate);
    const auto before = describe(sheet);
    pointAt(*w, 0, 0);
    w->PM_EL_FcopyClick();
    EXPECT_EQ(describe(doc.FormatTemplate), templateBefore);
    w->PM_EL_FPasteClick();
    EXPECT_EQ(describe(sheet), before);
    EXPECT_EQ(w->Undo()->Current, 1);
    EXPECT_FALSE(sheet.Modified);
}
