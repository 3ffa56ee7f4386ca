// The whole editing loop in the window, by mouse and keys: open a sheet,
// edit a field in the field editor from the context menu, copy it down its
// column, carry its format to another field, shift the columns, undo three
// times, save, open again — and the file holds what the page showed.
#include "controls/MUVButton.h"
#include "controls/SpezialSpin.h"
#include "dialogs/pictextplus.h"
#include "dialogs/pictextplus_widgets.h"
#include "model/undobj.h"
#include "window_testing.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <sstream>

using namespace windowtesting;

namespace
{

class EditingLoop : public WindowTest
{
  protected:
    static std::vector<std::string> describe(const TRS &sheet)
    {
        std::vector<std::string> out;
        std::ostringstream head;
        head << sheet.ColumnCount << 'x' << sheet.RowCount << ' ' << sheet.PageWidth << 'x'
             << sheet.PageHeight << ' ' << sheet.FieldSpacing << ' ' << sheet.BackgroundColor;
        out.push_back(head.str());
        for (const auto &c : sheet.Columns) {
            std::ostringstream s;
            s << "column " << c->Index << ' ' << c->Left << ' ' << c->BackgroundOn << ' '
              << c->BackgroundColor;
            out.push_back(s.str());
            for (const auto &f : c->Fields) {
                std::ostringstream t;
                t << int(f->Kind) << '|' << f->Visible << '|' << f->X1 << ',' << f->Y1 << ',' << f->X2 << ','
                  << f->Y2 << '|' << f->Text << '|' << f->FontName << '|' << f->FontHeight << '|'
                  << int(f->FontStyle) << '|' << f->FontColor << '|' << int(f->Alignment) << '|' << f->Angle
                  << '|' << f->BackgroundColor << '|' << f->LinesTopBottom << f->LinesLeftRight << '|'
                  << f->LineColor << '|' << f->LineWidth;
                out.push_back(t.str());
            }
        }
        return out;
    }
    // The texts composed onto the page, with where and how they stand.
    static std::vector<std::string> composedTexts(TDocument &doc)
    {
        std::vector<std::string> out;
        const auto &elements = doc.Page().Elements(1);
        for (int i = 0; i < int(elements.size()); ++i) {
            canvas::ElementInfo info;
            doc.Page().GetElementInfo(1, i, info);
            if (info.kind != canvas::TDruckTyp::Text)
                continue;
            std::ostringstream s;
            s << info.text.toStdString() << " @" << info.x << ',' << info.y << ' '
              << info.fontName.toStdString() << ' ' << info.textHeight << ' ' << info.fontStyle << ' '
              << info.alignment;
            out.push_back(s.str());
        }
        return out;
    }
    // Runs action once the next modal dialog shows (from inside its loop).
    static void whenModal(std::function<void(QWidget *)> action)
    {
        QTimer::singleShot(0, [action] {
            for (int i = 0; i < 300; ++i) {
                QWidget *w = QApplication::activeModalWidget();
                if (w && w->isVisible()) {
                    action(w);
                    return;
                }
                QTest::qWait(10);
            }
            ADD_FAILURE() << "no modal dialog appeared";
        });
    }
    // Right click on field (column, row), then an entry of the menu by keys.
    // inDialog, if given, answers the dialog the entry opens.
    void menuCommand(TForm1 &w, int column, int row, const char *entry,
                     std::function<void(QWidget *)> inDialog = nullptr)
    {
        QMenu *m = rightClick(w, centreOf(w, column, row));
        ASSERT_EQ(m, w.Popup_EL()) << entry;
        ASSERT_TRUE(w.PopupEntry(QString::fromLatin1(entry))->isEnabled()) << entry;
        if (inDialog)
            whenModal(inDialog);
        choose(m, w.PopupEntry(QString::fromLatin1(entry)));
        EXPECT_FALSE(m->isVisible());
    }
};

} // namespace

TEST_F(EditingLoop, EditCopyFormatShiftUndoSaveAndOpenAgain)
{
    auto w = start("etiketten-5x13.rsd");
    TRS &sheet = w->Sheet();
    TDocument &doc = w->Document();
    ASSERT_EQ(sheet.ColumnCount, 5);
    ASSERT_EQ(w->Undo()->Current, 1);
    const std::vector<std::string> opened = describe(sheet);

    // 1. A right click on field (1, 2) opens the menu on it; "Dieses Feld
    //    bearbeiten" opens the field editor, where a new text, a larger
    //    bold font are typed and confirmed.
    bool editorSawField = false;
    menuCommand(*w, 1, 2, "pm_el_work", [&](QWidget *dialog) {
        auto *editor = qobject_cast<TForm_pictextplus *>(dialog);
        ASSERT_TRUE(editor);
        editorSawField = editor->EditedField == sheet.GetField(1, 2) && w->DPaintbox1()->MarkRectOn();
        editor->Memo->setFocus();
        QTest::keyClick(editor->Memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor->Memo, "Ordner 7");
        QTest::keyClick(editor->Memo, Qt::Key_Return);
        QTest::keyClicks(editor->Memo, "Rechnungen");
        editor->spin_SchriftH->Editor()->setFocus();
        editor->spin_SchriftH->Editor()->selectAll();
        QTest::keyClicks(editor->spin_SchriftH->Editor(), "6,5");
        QTest::keyClick(editor->spin_SchriftH->Editor(), Qt::Key_Return);
        QTest::mouseClick(editor->BTN_Fett, Qt::LeftButton);
        QTest::mouseClick(editor->BTN_OK, Qt::LeftButton);
    });
    EXPECT_TRUE(editorSawField);
    const TRSObject *edited = sheet.GetField(1, 2);
    EXPECT_EQ(edited->Text, "Ordner 7\r\nRechnungen");
    EXPECT_DOUBLE_EQ(edited->FontHeight, 6.5);
    EXPECT_EQ(edited->FontStyle & 1, 1);
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_FALSE(w->DPaintbox1()->MarkRectOn());
    const std::vector<std::string> afterEdit = describe(sheet);

    // 2. Copied down its column (answer "Ja").
    messages.Answer(platform::mrYes);
    menuCommand(*w, 1, 2, "pm_EL_CopySpalte");
    ASSERT_EQ(messages.Texts().size(), 1);
    for (int r = 0; r < sheet.RowCount; ++r)
        EXPECT_EQ(sheet.GetField(1, r)->Text, "Ordner 7\r\nRechnungen") << r;
    EXPECT_EQ(w->Undo()->Current, 3);

    // 3. Its format copied and applied to field (3, 8), whose text stays.
    const std::string ownText = sheet.GetField(3, 8)->Text;
    menuCommand(*w, 1, 2, "PM_EL_Fcopy");
    menuCommand(*w, 3, 8, "PM_EL_FPaste");
    EXPECT_EQ(sheet.GetField(3, 8)->Text, ownText);
    EXPECT_DOUBLE_EQ(sheet.GetField(3, 8)->FontHeight, 6.5);
    EXPECT_EQ(sheet.GetField(3, 8)->FontStyle & 1, 1);
    EXPECT_EQ(w->Undo()->Current, 4);

    // 4. The columns shift to the right by the tool button.
    QTest::mouseClick(w->Button("btn_spaltenrechts"), Qt::LeftButton);
    EXPECT_EQ(sheet.GetField(2, 0)->Text, "Ordner 7\r\nRechnungen");
    EXPECT_EQ(w->Undo()->Current, 5);

    // 5. Three times Ctrl+Z: back to the sheet right after the edit.
    // The offscreen platform gives the activation back to no window after a
    // popup or dialog closed; a desktop gives it back to the main window.
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_EQ(describe(sheet), afterEdit);
    EXPECT_NE(describe(sheet), opened);
    EXPECT_TRUE(sheet.Modified);

    // What the page shows now.
    const std::vector<std::string> shown = describe(sheet);
    const std::vector<std::string> shownTexts = composedTexts(doc);
    ASSERT_FALSE(shownTexts.empty());
    EXPECT_NE(std::find_if(shownTexts.begin(), shownTexts.end(),
                           [](const std::string &t) { return t.rfind("Ordner 7\r\nRechnungen @", 0) == 0; }),
              shownTexts.end());

    // 6. Saved under a new name by the tool button.
    const QString file = QDir(data_).filePath("schleife.rsd");
    dialogs.files.push_back(file);
    QTest::mouseClick(w->Button("btn_save"), Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_FALSE(sheet.Modified);
    EXPECT_TRUE(w->windowTitle().endsWith(" - schleife.rsd"));

    // 7. Something else opened, then the saved file again by the tool button.
    dialogs.files.push_back(QDir(data_).filePath("etiketten-5x13.rsd"));
    QTest::mouseClick(w->Button("btn_open"), Qt::LeftButton);
    EXPECT_EQ(describe(sheet), opened);
    dialogs.files.push_back(file);
    QTest::mouseClick(w->Button("btn_open"), Qt::LeftButton);
    EXPECT_TRUE(w->windowTitle().endsWith(" - schleife.rsd"));
    EXPECT_EQ(describe(sheet), shown);
    EXPECT_EQ(composedTexts(doc), shownTexts);
    EXPECT_FALSE(sheet.Modified);
    EXPECT_EQ(w->Undo()->Current, 1);

    // The file itself, read apart from the window.
    TRS fromFile;
    ASSERT_TRUE(fromFile.LoadFromFile(file));
    EXPECT_EQ(describe(fromFile), shown);
    EXPECT_TRUE(messages.Texts().size() == 1) << messages.Texts().join("\n").toStdString();
}
