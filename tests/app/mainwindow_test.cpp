#include "app/mainwindow.h"
#include "app/status_panels.h"
#include "controls/MUVButton.h"
#include "controls/MUVPixelLineal.h"
#include "controls/MUVScrollBox.h"
#include "model/undobj.h"
#include "platform/file_dialogs.h"
#include "platform/ini.h"
#include "platform/printer.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>

namespace
{

const QString kExample = QStringLiteral(DORLIX_SOURCE_DIR "/examples/etiketten-5x13.rsd");

// Answers the folder browser and the file dialogs from queues and records
// what was asked.
class ScriptedDialogs
{
  public:
    ScriptedDialogs()
    {
        prevFolder_ = platform::SetFolderDialog([this](const QString &caption, const QString &) {
            asked << caption;
            return takeFront(folders);
        });
        prevFile_ = platform::SetFileDialogHandler([this](QWidget *, const platform::FileDialogRequest &r) {
            asked << r.title;
            requests.push_back(r);
            return takeFront(files);
        });
    }
    ~ScriptedDialogs()
    {
        platform::SetFolderDialog(prevFolder_);
        platform::SetFileDialogHandler(prevFile_);
    }
    std::deque<QString> folders, files;
    QStringList asked;
    std::vector<platform::FileDialogRequest> requests;

  private:
    static QString takeFront(std::deque<QString> &q)
    {
        if (q.empty())
            return QString();
        QString s = q.front();
        q.pop_front();
        return s;
    }
    platform::FolderDialog prevFolder_;
    platform::FileDialogHandler prevFile_;
};

class MainWindow : public ::testing::Test
{
  protected:
    MainWindow() : data_(QDir(program.Path()).filePath("daten"))
    {
        QDir().mkpath(data_);
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
    }
    // A settings file from an earlier run, so that no first-start questions come.
    void writeIni(const QString &extra = QString())
    {
        QFile f(program.File("dorlix.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("[Pfad]\nDaten=" + data_ + "\n" + extra).toUtf8());
    }
    std::unique_ptr<TForm1> start(const QString &startFile = QString())
    {
        auto w = std::make_unique<TForm1>();
        if (!startFile.isEmpty())
            w->SetStartFile(startFile);
        w->resize(1200, 900);
        w->FormShow();
        return w;
    }
    QString copyExample(const QString &name)
    {
        const QString target = QDir(data_).filePath(name);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(kExample, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    static bool enabled(TForm1 &w, const char *button)
    {
        return w.Button(QString::fromLatin1(button))->isEnabled();
    }

    TempDesktopHome home;
    TempProgramFolder program;
    MessageCapture messages;
    ScriptedDialogs dialogs;
    QString data_;
};

} // namespace

TEST_F(MainWindow, FirstStartAsksInOrderAndStoresTheChosenFolder)
{
    dialogs.folders.push_back(data_);
    messages.Answer(platform::mrOk);  // the warning
    messages.Answer(platform::mrYes); // the desktop link
    auto w = start();

    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_TRUE(messages.Texts()[0].startsWith("Es ist noch kein Ablageordner"));
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Warning);
    EXPECT_EQ(messages.Messages()[1].caption, "Frage....");
    EXPECT_EQ(messages.Messages()[1].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(dialogs.asked, QStringList{"Datenpfad wählen..."});
    EXPECT_TRUE(QFile::exists(QDir(platform::DesktopFolder()).filePath("Rückenschilder.desktop")));

    platform::TIniFile ini(program.File("dorlix.ini"));
    EXPECT_EQ(ini.ReadString("Pfad", "Daten"), data_);
    EXPECT_EQ(ini.ReadSection("Pfad"), QStringList{"Daten"});
    EXPECT_TRUE(ini.ValueExists("ZeilenHoehe", "Wert"));
    EXPECT_FALSE(ini.SectionExists("Optionen"));
    EXPECT_EQ(w->Document().DataFolder, data_ + "/");
    EXPECT_EQ(w->windowTitle(), "Rückenschilddruckprogramm (Version 1.99.2 <03/2020>) - unbenannt.rsd");
    // Only "Neu" and "Öffnen" could be used; "Neu" comes with its dialog.
    EXPECT_TRUE(enabled(*w, "btn_open"));
    EXPECT_FALSE(enabled(*w, "btn_save"));
    EXPECT_FALSE(enabled(*w, "btn_undo"));
    EXPECT_FALSE(enabled(*w, "BTN_plus"));
}

TEST_F(MainWindow, CancelledFirstStartFallsBackToTheProgramFolderUntilClose)
{
    messages.Answer(platform::mrOk);
    messages.Answer(platform::mrNo);
    auto w = start();
    EXPECT_EQ(w->Document().DataFolder, w->Document().ProgramFolder);
    EXPECT_FALSE(QFile::exists(program.File("dorlix.ini")));
    EXPECT_FALSE(QFile::exists(QDir(platform::DesktopFolder()).filePath("Rückenschilder.desktop")));
    w->close();
    platform::TIniFile ini(program.File("dorlix.ini"));
    EXPECT_EQ(ini.ReadString("Pfad", "Daten"), w->Document().ProgramFolder);
    EXPECT_EQ(ini.ReadString("Optionen", "SeitenInfo"), "0");
}

TEST_F(MainWindow, SettingsAreReadAndWrittenBack)
{
    writeIni("Bilder=/bilder\n[ZeilenHoehe]\nWert=1,5\n[Optionen]\nSeitenInfo=1\n");
    auto w = start();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_DOUBLE_EQ(w->Document().LineFactor, 1.5);
    EXPECT_EQ(w->Document().PictureFolder, "/bilder");
    EXPECT_TRUE(w->ShowPageInfo);
    EXPECT_TRUE(w->DPaintbox1()->PageInfosShown());
    w->Document().LineFactor = 1.25;
    w->close();
    platform::TIniFile ini(program.File("dorlix.ini"));
    EXPECT_EQ(ini.ReadString("ZeilenHoehe", "Wert"), "1,25");
    EXPECT_EQ(ini.ReadString("Optionen", "SeitenInfo"), "1");
    EXPECT_EQ(ini.ReadString("Pfad", "Daten"), data_ + "/");

    // An unreadable number gives its default.
    writeIni("[ZeilenHoehe]\nWert=viel\n");
    auto w2 = start();
    EXPECT_DOUBLE_EQ(w2->Document().LineFactor, 1.1);
}

TEST_F(MainWindow, StartFileOpensWithItsNameAndAFreshUndoStore)
{
    writeIni();
    const QString file = copyExample("bogen.rsd");
    auto w = start(file);
    EXPECT_EQ(w->Document().FileName(), "bogen.rsd");
    EXPECT_EQ(w->Document().Folder(), data_);
    EXPECT_TRUE(w->windowTitle().endsWith(" - bogen.rsd"));
    EXPECT_TRUE(w->DPaintbox1()->isVisible());
    EXPECT_FALSE(w->Sheet().Modified);
    EXPECT_EQ(w->Undo()->Current, 1);
    EXPECT_FALSE(enabled(*w, "btn_undo"));
    EXPECT_TRUE(enabled(*w, "btn_save"));
    EXPECT_TRUE(enabled(*w, "btn_spaltekopieren"));
    EXPECT_TRUE(enabled(*w, "btn_oben"));
    EXPECT_EQ(w->PreviewCaption()->text(), TForm1::PreviewHelpCaption());
    EXPECT_EQ(w->StatusPanel(11)->text(), "b×h = 210 × 297 mm; (?)"); // no printer: no paper name
    EXPECT_EQ(w->StatusPanel(10)->text(), "kein Drucker, Blattgröße: ");
    // The page fits the window, and the status bar says at which zoom, also
    // after a resize, without a mouse move.
    EXPECT_LE(w->DPaintbox1()->height(), w->ScrollBox1()->height());
    const QLocale locale;
    EXPECT_EQ(w->StatusPanel(5)->text(), locale.toString(w->DPaintbox1()->ZoomFaktor(), 'f', 2));
    w->show();
    QApplication::processEvents();
    const double before = w->DPaintbox1()->ZoomFaktor();
    w->resize(700, 500);
    QApplication::processEvents();
    EXPECT_NE(w->DPaintbox1()->ZoomFaktor(), before);
    EXPECT_EQ(w->StatusPanel(5)->text(), locale.toString(w->DPaintbox1()->ZoomFaktor(), 'f', 2));
    EXPECT_NE(w->StatusPanel(5)->text(), "0");
}

TEST_F(MainWindow, OpeningAWrongFileChangesNothing)
{
    writeIni();
    auto w = start(copyExample("gut.rsd"));
    const QString bad = QDir(data_).filePath("falsch.rsd");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RUECKENSCHILX_00000004");
    f.close();
    dialogs.files.push_back(bad);
    w->btn_openClick();
    EXPECT_EQ(messages.Texts(), QStringList{"Falsche Datei: RUECKENSCHILX"});
    EXPECT_EQ(w->Document().FileName(), "gut.rsd");
    EXPECT_EQ(w->Sheet().ColumnCount, 5);
    EXPECT_TRUE(w->DPaintbox1()->isVisible());
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Rückenschild öffnen");
    EXPECT_EQ(dialogs.requests[0].fileName, data_ + "/*.rsd");
    EXPECT_EQ(dialogs.requests[0].filter, "Rückenschilddaten (*.rsd)|*.rsd");
}

TEST_F(MainWindow, TheSaveQuestionGuardsOpening)
{
    writeIni();
    auto w = start(copyExample("a.rsd"));
    w->btn_spaltenrechtsClick();
    ASSERT_TRUE(w->Sheet().Modified);

    messages.Answer(platform::mrCancel);
    w->btn_openClick();
    EXPECT_TRUE(dialogs.requests.empty()); // no open dialog after Cancel
    EXPECT_TRUE(w->Sheet().Modified);

    // Yes, then the save dialog is cancelled: the open dialog still comes.
    messages.Answer(platform::mrYes);
    w->btn_openClick();
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].title, "Rückenschild speichern");
    EXPECT_EQ(dialogs.requests[1].title, "Rückenschild öffnen");
}

TEST_F(MainWindow, SaveAsWritesAndRenamesOrChangesNothing)
{
    writeIni();
    auto w = start(copyExample("alt.rsd"));
    w->btn_obenClick();
    const QString target = QDir(data_).filePath("neu.rsd");
    dialogs.files.push_back(target);
    w->btn_saveClick();
    ASSERT_TRUE(QFile::exists(target));
    EXPECT_EQ(dialogs.requests.back().fileName, "alt.rsd");
    EXPECT_EQ(w->Document().FileName(), "neu.rsd");
    EXPECT_FALSE(w->Sheet().Modified);
    EXPECT_TRUE(w->windowTitle().endsWith(" - neu.rsd"));

    // A folder that cannot take the file: the save says so in German, and
    // name, title and Modified stay as they were.
    w->btn_untenClick();
    const QString title = w->windowTitle();
    messages.Clear();
    dialogs.files.push_back(QDir(data_).filePath("fehlt/dritte.rsd"));
    w->btn_saveClick();
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_TRUE(messages.Texts()[0].contains("konnte nicht gespeichert werden"));
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Error);
    EXPECT_EQ(w->Document().FileName(), "neu.rsd");
    EXPECT_EQ(w->windowTitle(), title);
    EXPECT_TRUE(w->Sheet().Modified);

    // Neither a program folder the user cannot write nor one on the desktop
    // stops saving into the user's own folder.
    messages.Clear();
    platform::SetProgramFilePath(program.File("fehlt/dorlix"));
    dialogs.files.push_back(QDir(data_).filePath("dritte.rsd"));
    w->btn_saveClick();
    platform::SetProgramFilePath(program.File("dorlix"));
    platform::SetDesktopFolder(program.Path());
    w->btn_untenClick();
    dialogs.files.push_back(QDir(data_).filePath("vierte.rsd"));
    w->btn_saveClick();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(QFile::exists(QDir(data_).filePath("dritte.rsd")));
    EXPECT_EQ(w->Document().FileName(), "vierte.rsd");
    EXPECT_FALSE(w->Sheet().Modified);
}

TEST_F(MainWindow, CloseQuestionPaths)
{
    writeIni();
    auto w = start(copyExample("c.rsd"));
    w->show();
    w->btn_spaltenlinksClick();

    QFile::remove(program.File("dorlix.ini"));
    messages.Answer(platform::mrCancel);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(QFile::exists(program.File("dorlix.ini"))); // written also when cancelled

    // Yes saves, then "Programm nun beenden ?" No keeps the window.
    dialogs.files.push_back(QDir(data_).filePath("gesichert.rsd"));
    messages.Clear();
    messages.Answer(platform::mrYes);
    messages.Answer(platform::mrNo);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(messages.Texts().last(), "Programm nun beenden ?");
    EXPECT_TRUE(QFile::exists(QDir(data_).filePath("gesichert.rsd")));

    w->btn_spaltenlinksClick();
    messages.Answer(platform::mrNo);
    EXPECT_TRUE(w->close());
}

TEST_F(MainWindow, UndoGoesBackStepByStep)
{
    writeIni();
    auto w = start(copyExample("u.rsd"));
    const std::string first = w->Sheet().GetField(0, 0)->Text;
    w->Sheet().GetField(0, 0)->Text = "A";
    w->btn_spaltenrechtsClick(); // column 4 (aligned left … ) comes to the front
    EXPECT_TRUE(enabled(*w, "btn_undo"));
    w->btn_untenClick();
    EXPECT_EQ(w->Undo()->Current, 3);
    w->btn_undoClick();
    EXPECT_EQ(w->Undo()->Current, 2);
    EXPECT_EQ(w->Sheet().GetField(1, 0)->Text, "A");
    EXPECT_TRUE(w->Sheet().Modified);
    w->btn_undoClick();
    EXPECT_EQ(w->Sheet().GetField(0, 0)->Text, first);
    EXPECT_FALSE(enabled(*w, "btn_undo"));
    EXPECT_FALSE(w->MenuAction("Rückgängig")->isEnabled());
}

TEST_F(MainWindow, MenusAndToolBarCarryTheirTexts)
{
    writeIni();
    auto w = start();
    QStringList menus;
    for (QAction *a : w->menuBar()->actions())
        menus << a->text();
    // The texts as they were, each with its Alt letter.
    EXPECT_EQ(menus, QStringList({" ", "&Datei  ", "&Bearbeiten", "&Extras/Optionen  "}));
    ASSERT_TRUE(w->MenuAction("Speichern (.. unter)             "));
    EXPECT_EQ(w->MenuAction("Speichern (.. unter)             ")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(w->MenuAction("Öffnen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(w->MenuAction("Rückgängig")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_TRUE(w->MenuAction("Verknüpfung auf dem Desktop erzeugen"));
    EXPECT_EQ(w->Button("btn_undo")->text(), " Rückgängig");
    EXPECT_EQ(
        w->Button("btn_save")->toolTip(),
        "Speichert das Rückenschild in einer (auch neuen)\nDatei ab. Speichern.. bzw. Speichern unter...");
    EXPECT_EQ(w->Button("btn_spaltenlinks")->toolTip(), "Alle Spalten nach links verschieben");
}

TEST_F(MainWindow, ToolBarGlyphsOfOneSizeAndDisabledOnesGrey)
{
    writeIni();
    auto w = start();
    const char *large[] = {"btn_Neu", "btn_open",           "btn_save", "btn_print",
                           "btn_mod", "btn_spaltekopieren", "btn_undo"};
    const TMUVButton *neu = w->Button("btn_Neu");
    for (const char *name : large) {
        const TMUVButton *b = w->Button(QString::fromLatin1(name));
        ASSERT_TRUE(b) << name;
        EXPECT_EQ(b->Glyph().size(), QSize(32, 32)) << name;
        EXPECT_EQ(b->CaptionPosition(), tp_bottom) << name;
        // Captions on one line across the bar.
        EXPECT_EQ(b->mapTo(w.get(), b->CurrentLayout().text.topLeft()).y(),
                  neu->mapTo(w.get(), neu->CurrentLayout().text.topLeft()).y())
            << name;
    }
    // Without a sheet "Ändern" and "Drucken" are disabled: their glyphs show
    // in light grey only.
    for (const char *name : {"btn_mod", "btn_print"}) {
        TMUVButton *b = w->Button(QString::fromLatin1(name));
        ASSERT_FALSE(b->isEnabled()) << name;
        const QImage shot = b->grab().toImage();
        const QRect g = b->CurrentLayout().glyph;
        int ink = 0;
        for (int y = g.top(); y <= g.bottom(); ++y)
            for (int x = g.left(); x <= g.right(); ++x) {
                const QColor c = QColor::fromRgb(shot.pixel(x, y));
                ASSERT_LE(std::abs(c.red() - c.blue()), 2) << name;
                ASSERT_GE(c.value(), 150) << name;
                ink += c != QColor::fromRgb(shot.pixel(0, 0));
            }
        EXPECT_GT(ink, 50) << name;
    }
    EXPECT_FALSE(w->Button("btn_work")->NormalFlat());
}

TEST_F(MainWindow, ZoomStepsWheelKeysAndPanning)
{
    const double minus[][2] = {{0.6666, 0.5}, {0.5, 0.33333}, {1.0, 0.66666}, {2.5, 1.0},
                               {10, 9},       {0.1, 0.1},     {0.25, 0.25},   {0.15, 0.25}};
    for (const auto &m : minus)
        EXPECT_DOUBLE_EQ(TForm1::ZoomMinusStep(m[0]), m[1]) << m[0];
    EXPECT_EQ(TForm1::PanStep(3), 0);
    EXPECT_EQ(TForm1::PanStep(-3), 0);
    EXPECT_EQ(TForm1::PanStep(4), 4);

    writeIni();
    auto w = start(copyExample("z.rsd"));
    w->show();
    TDPaintbox *c = w->DPaintbox1();
    c->SetZoomFaktor(0.6666);
    w->BTN_plusClick();
    EXPECT_DOUBLE_EQ(c->ZoomFaktor(), 1.0);
    EXPECT_EQ(w->StatusPanel(5)->text(), "1,00");
    EXPECT_EQ(w->StatusPanel(1)->text(), "0,0 mm");
    c->SetZoomFaktor(9.5);
    w->BTN_plusClick();
    EXPECT_DOUBLE_EQ(c->ZoomFaktor(), 10);
    w->BTN_plusClick();
    EXPECT_DOUBLE_EQ(c->ZoomFaktor(), 10);

    // F6 on release zooms out; the wheel zooms and never scrolls.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier);
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    QApplication::sendEvent(w->ScrollBox1(), &release);
    EXPECT_DOUBLE_EQ(c->ZoomFaktor(), 9);
    const int before = w->ScrollBox1()->verticalScrollBar()->value();
    QWheelEvent wheel(QPointF(50, 50), w->ScrollBox1()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->ScrollBox1()->viewport(), &wheel);
    EXPECT_DOUBLE_EQ(c->ZoomFaktor(), 8);
    EXPECT_EQ(w->ScrollBox1()->verticalScrollBar()->value(), before);

    // The rulers read millimetres at the canvas's pixels.
    const double pxPerMm = c->width() / c->PageWidthMm();
    EXPECT_NEAR(w->lin_H()->ZoomFaktor(), pxPerMm, 1e-9);

    // Middle-button panning: 3 pixels are a jitter, 10 pixels scroll.
    QScrollBar *hb = w->ScrollBox1()->horizontalScrollBar();
    hb->setValue(500);
    QTest::mousePress(c, Qt::MiddleButton, Qt::NoModifier, QPoint(600, 300));
    QTest::mouseMove(c, QPoint(603, 300));
    EXPECT_EQ(hb->value(), 500);
    QTest::mouseMove(c, QPoint(613, 300));
    EXPECT_EQ(hb->value(), 490);
    // The page moved under the pointer: it is now at 603 on the canvas.
    QTest::mouseRelease(c, Qt::MiddleButton, Qt::NoModifier, QPoint(603, 300));
    EXPECT_EQ(hb->value(), 490);
    EXPECT_NEAR(w->lin_H()->LeftValue(), 490 / pxPerMm, 1e-9);
}

// Before any sheet is open the rulers already show the scale the printer's
// page will have in this window (the fitted zoom), not thousands of mm.
TEST_F(MainWindow, RulersShowThePageScaleBeforeASheetIsOpen)
{
    writeIni();
    auto w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    TDPaintbox *c = w->DPaintbox1();
    ASSERT_TRUE(c->isHidden());
    const double factor = w->lin_H()->ZoomFaktor();
    EXPECT_NEAR(factor, c->PixelPerMmX() * c->ZoomFaktor(), 1e-9);
    EXPECT_NEAR(w->lin_V()->ZoomFaktor(), factor, 1e-9);
    // The page fits the view in one direction and does not overflow the other.
    const QSize view = w->ScrollBox1()->contentsRect().size();
    const double pageW = c->PageWidthMm() * factor, pageH = c->PageHeightMm() * factor;
    EXPECT_LE(pageW, view.width());
    EXPECT_LE(pageH, view.height());
    EXPECT_LE(std::min(view.width() - pageW, view.height() - pageH), 25);
    // The horizontal ruler ends a little past the page, not at metres.
    EXPECT_LT(w->lin_H()->width() / factor, 3 * c->PageWidthMm() + 100);
}

TEST_F(MainWindow, ColumnCommandsFollowTheSheet)
{
    writeIni();
    auto w = start(copyExample("k.rsd"));
    const std::string second = w->Sheet().GetField(1, 0)->Text;
    w->Sheet().GetField(0, 0)->Text = "erste";
    w->btn_spaltekopierenClick();
    EXPECT_EQ(w->Sheet().GetField(0, 0)->Text, "erste");
    EXPECT_EQ(w->Sheet().GetField(1, 0)->Text, "erste");
    EXPECT_EQ(w->Sheet().GetField(2, 0)->Text, second);
    EXPECT_TRUE(w->Sheet().Modified);
    EXPECT_EQ(w->Undo()->Current, 2);
}

TEST_F(MainWindow, TheFieldOrColumnUnderThePointerIsMarked)
{
    writeIni();
    auto w = start(copyExample("m.rsd"));
    w->show();
    TDPaintbox *c = w->DPaintbox1();
    const TRSObject *f = w->Sheet().GetField(1, 2);
    w->DPaintbox1XYChange(f->CenterX, f->CenterY);
    EXPECT_EQ(w->MarkAtCursor(), 2);
    EXPECT_TRUE(c->MarkRectOn());
    const int left = c->LenToPixelTruncX(f->Left), top = c->LenToPixelTruncY(f->Top);
    EXPECT_EQ(w->FieldHighlight()->geometry(),
              QRect(QPoint(left, top),
                    QPoint(left + c->LenToPixelTruncX(f->Width), top + c->LenToPixelTruncY(f->Height))));
    EXPECT_TRUE(w->FieldHighlight()->isVisible());

    // Between two fields of a column (spacing 1 mm): the column.
    w->DPaintbox1XYChange(f->CenterX, f->Y2 + 0.5);
    EXPECT_EQ(w->MarkAtCursor(), 1);
    EXPECT_TRUE(c->MarkRectOn());
    EXPECT_FALSE(w->FieldHighlight()->isVisible());
    w->DPaintbox1XYChange(1, 1);
    EXPECT_EQ(w->MarkAtCursor(), 0);
    EXPECT_FALSE(c->MarkRectOn());
}

TEST_F(MainWindow, MenusAreReachedByKeyboard)
{
    writeIni();
    auto w = start();
    w->show();
    QApplication::setActiveWindow(w.get());
    QMenuBar *bar = w->menuBar();

    // Alt alone highlights the first menu without opening it.
    QTest::keyPress(w.get(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(w.get(), Qt::Key_Alt);
    ASSERT_NE(bar->activeAction(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(bar, Qt::Key_Escape);

    // F10 opens the file menu; the right cursor key moves to the next one.
    QTest::keyClick(w.get(), Qt::Key_F10);
    auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->title(), "&Datei  ");
    QTest::keyClick(open, Qt::Key_Right);
    open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->title(), "&Bearbeiten");
    QTest::keyClick(open, Qt::Key_Escape);
    if (QApplication::activePopupWidget())
        QApplication::activePopupWidget()->close();

    // Alt with a menu's letter opens that menu.
    QTest::keyClick(w.get(), Qt::Key_E, Qt::AltModifier);
    open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->title(), "&Extras/Optionen  ");
    open->close();
}

TEST_F(MainWindow, CtrlSSavesAnOpenSheet)
{
    writeIni();
    auto w = start();
    w->show();
    QApplication::setActiveWindow(w.get());
    // Nothing open: nothing to save.
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.requests.empty());

    w->OpenDocument(copyExample("strg-s.rsd"));
    w->btn_obenClick();
    const QString target = QDir(data_).filePath("gesichert.rsd");
    dialogs.files.push_back(target);
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Rückenschild speichern");
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(w->Sheet().Modified);
}

TEST_F(MainWindow, StatusPanelsNeverOverlapInANarrowWindow)
{
    writeIni();
    auto w = start(copyExample("schmal.rsd"));
    w->show();
    for (int width : {1200, 800, w->minimumSizeHint().width(), 300}) {
        w->resize(width, 700);
        QApplication::processEvents();
        const QWidget *bar = w->statusBar();
        int right = 0;
        for (int i = 0; i < 12; ++i) {
            const QLabel *panel = w->StatusPanel(i);
            if (!panel->isVisible())
                continue;
            const QRect r(panel->mapTo(bar, QPoint(0, 0)), panel->size());
            EXPECT_GE(r.left(), right) << "panel " << i << " at width " << width;
            EXPECT_LE(r.right(), bar->width()) << "panel " << i << " at width " << width;
            right = r.right() + 1;
        }
    }
    // The tool bar's captions stay whole at the smallest width.
    w->resize(w->minimumSizeHint().width(), 700);
    QApplication::processEvents();
    for (const char *name : {"btn_Neu", "btn_open", "btn_save", "btn_print", "btn_mod", "btn_spaltekopieren",
                             "btn_undo", "btn_redo"}) {
        const TMUVButton *b = w->Button(QString::fromLatin1(name));
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 4) << name;
    }
    // At 800 pixels the panels from the left keep their widths, the size
    // panel is shortened with "…" instead of cut off.
    w->resize(800, 700);
    QApplication::processEvents();
    EXPECT_EQ(w->StatusPanel(1)->width(), 80);
    EXPECT_EQ(w->StatusPanel(8)->width(), 100);
    auto *size = static_cast<TStatusPanel *>(w->StatusPanel(11));
    EXPECT_TRUE(size->text().startsWith("b×h"));
    if (size->fontMetrics().horizontalAdvance(size->text()) > size->contentsRect().width()) {
        EXPECT_TRUE(size->ShownText().endsWith(QChar(0x2026)));
    }
}
