// Undo and redo through the window: keys, buttons and menu entries, step by
// step over many changes.
#include "controls/MUVButton.h"
#include "model/undobj.h"
#include "window_testing.h"

#include <QMenuBar>

using namespace windowtesting;

namespace
{

class UndoRedo : public WindowTest
{
  protected:
    // The sheet as text: every field's text and visibility and every
    // column's background, in place order.
    static std::string state(const TRS &sheet)
    {
        std::string s;
        for (const auto &c : sheet.Columns) {
            s += c->BackgroundOn ? "[on]" : "[off]";
            for (const auto &f : c->Fields)
                s += f->Text + (f->Visible ? "|" : "~|");
        }
        return s;
    }
    static void key(TForm1 &w, Qt::Key k, Qt::KeyboardModifiers mods) { QTest::keyClick(&w, k, mods); }
    static bool redoEnabled(TForm1 &w) { return w.Button("btn_redo")->isEnabled(); }
    QStringList snapshotFiles() const
    {
        return QDir(program.Path()).entryList({"dorlix_*"}, QDir::Files | QDir::Hidden);
    }
};

} // namespace

TEST_F(UndoRedo, TheEditMenuAndTheToolBarCarryRedo)
{
    auto w = start();
    QMenu *edit = nullptr;
    for (QAction *a : w->menuBar()->actions())
        if (TForm1::VisibleMenuText(a) == "Bearbeiten")
            edit = a->menu();
    ASSERT_TRUE(edit);
    QStringList entries;
    for (QAction *a : edit->actions())
        entries << TForm1::VisibleMenuText(a);
    EXPECT_EQ(entries, QStringList({"Rückgängig", "Wiederherstellen"}));
    QAction *redo = w->MenuAction("Wiederherstellen");
    EXPECT_EQ(redo->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));

    const TMUVButton *undoButton = w->Button("btn_undo");
    const TMUVButton *redoButton = w->Button("btn_redo");
    ASSERT_TRUE(redoButton);
    EXPECT_EQ(redoButton->text(), "Wiederherstellen");
    EXPECT_EQ(redoButton->Glyph().size(), QSize(32, 32));
    // Beside the undo button, on the same line, with a glyph of its own.
    EXPECT_GT(redoButton->mapTo(w.get(), QPoint(0, 0)).x(), undoButton->mapTo(w.get(), QPoint(0, 0)).x());
    EXPECT_EQ(redoButton->mapTo(w.get(), QPoint(0, 0)).y(), undoButton->mapTo(w.get(), QPoint(0, 0)).y());
    EXPECT_NE(redoButton->Glyph(), undoButton->Glyph());
    // The redo arrow is the undo arrow mirrored.
    const QImage undoGlyph = undoButton->Glyph().convertToFormat(QImage::Format_ARGB32);
    const QImage mirrored = redoButton->Glyph().convertToFormat(QImage::Format_ARGB32).mirrored(true, false);
    long diff = 0, ink = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            diff += std::abs(qAlpha(undoGlyph.pixel(x, y)) - qAlpha(mirrored.pixel(x, y)));
            ink += qAlpha(undoGlyph.pixel(x, y));
        }
    EXPECT_GT(ink, 255 * 40);
    EXPECT_LT(diff, ink / 20);
    EXPECT_NE(undoGlyph, redoButton->Glyph().convertToFormat(QImage::Format_ARGB32));

    EXPECT_FALSE(redoButton->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(UndoRedo, RedoBringsBackWhatUndoTookUntilTheNextChange)
{
    auto w = start();
    TRS &sheet = w->Sheet();
    std::vector<std::string> states{state(sheet)};
    // Six changes through the window's commands.
    auto change = [&](int step) {
        switch (step % 3) {
        case 0:
            pointAt(*w, step % 5, step);
            w->pm_el_visibleClick();
            break;
        case 1:
            QTest::mouseClick(w->Button("btn_spaltenrechts"), Qt::LeftButton);
            break;
        case 2:
            pointAt(*w, step % 5, step);
            messages.Answer(platform::mrYes);
            w->pm_EL_CopySpalteClick();
            break;
        }
        states.push_back(state(sheet));
    };
    // Every field with a text of its own, so that every change shows.
    for (int c = 0; c < sheet.ColumnCount; ++c)
        for (int r = 0; r < sheet.RowCount; ++r)
            sheet.GetField(c, r)->Text = std::to_string(c) + "/" + std::to_string(r);
    states[0] = state(sheet);
    for (int i = 0; i < 6; ++i)
        change(i);
    for (std::size_t i = 1; i < states.size(); ++i)
        ASSERT_NE(states[i], states[i - 1]) << i;
    EXPECT_EQ(w->Undo()->Current, 7);
    EXPECT_FALSE(redoEnabled(*w));

    // Four steps back with Ctrl+Z; redo becomes possible after the first.
    for (int i = 5; i >= 2; --i) {
        key(*w, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(state(sheet), states[std::size_t(i)]) << i;
        EXPECT_TRUE(redoEnabled(*w));
        EXPECT_TRUE(w->MenuAction("Wiederherstellen")->isEnabled());
    }
    // Forward again: Ctrl+Y, Ctrl+Shift+Z, the button, the menu entry.
    key(*w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), states[3]);
    key(*w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(state(sheet), states[4]);
    QTest::mouseClick(w->Button("btn_redo"), Qt::LeftButton);
    EXPECT_EQ(state(sheet), states[5]);
    EXPECT_TRUE(sheet.Modified);
    w->MenuAction("Wiederherstellen")->trigger();
    EXPECT_EQ(state(sheet), states[6]);
    EXPECT_EQ(w->Undo()->Current, 7);
    EXPECT_FALSE(redoEnabled(*w));
    EXPECT_FALSE(w->MenuAction("Wiederherstellen")->isEnabled());
    // Nothing more to bring back: the keys change nothing.
    key(*w, Qt::Key_Y, Qt::ControlModifier);
    w->btn_redoClick();
    EXPECT_EQ(state(sheet), states[6]);
    EXPECT_EQ(w->Undo()->Current, 7);

    // Back and forth over the same steps.
    key(*w, Qt::Key_Z, Qt::ControlModifier);
    key(*w, Qt::Key_Z, Qt::ControlModifier);
    key(*w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), states[5]);

    // A new change ends what redo can reach.
    key(*w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), states[4]);
    pointAt(*w, 0, 12);
    w->pm_el_visibleClick();
    const std::string changed = state(sheet);
    EXPECT_FALSE(redoEnabled(*w));
    key(*w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), changed);
    key(*w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), states[4]);
    key(*w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), changed);

    // Down to the opened sheet and up to the end again.
    while (w->Button("btn_undo")->isEnabled())
        key(*w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w->Undo()->Current, 1);
    while (redoEnabled(*w))
        key(*w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state(sheet), changed);

    // Opening a file starts afresh: nothing to redo.
    key(*w, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(redoEnabled(*w));
    messages.Answer(platform::mrNo); // do not save
    dialogs.files.push_back(QDir(data_).filePath("etiketten-5x13.rsd"));
    w->btn_openClick();
    EXPECT_EQ(w->Undo()->Current, 1);
    EXPECT_FALSE(redoEnabled(*w));
    EXPECT_FALSE(w->Undo()->CanRedo());
}

TEST_F(UndoRedo, SnapshotsAreAllRemovedWhenTheWindowGoes)
{
    auto w = start();
    for (int i = 0; i < 5; ++i)
        w->btn_spaltenlinksClick();
    w->btn_undoClick();
    w->btn_undoClick();
    w->btn_redoClick();
    EXPECT_GE(snapshotFiles().size(), 6);
    w->Document().SetModified(false);
    w.reset();
    EXPECT_EQ(snapshotFiles(), QStringList());
}
