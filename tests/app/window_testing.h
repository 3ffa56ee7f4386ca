#pragma once
// A main window on a copy of an example sheet, in a temporary program
// folder, with message boxes and file dialogs answered by the test.

#include "app/mainwindow.h"
#include "platform/file_dialogs.h"
#include "platform/printer.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace windowtesting
{

inline QString Example(const char *name)
{
    return QStringLiteral(DORLIX_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
}

// Answers the file dialogs from a queue and records what was asked.
class FileDialogs
{
  public:
    FileDialogs()
    {
        previous_ = platform::SetFileDialogHandler([this](QWidget *, const platform::FileDialogRequest &r) {
            requests.push_back(r);
            if (files.empty())
                return QString();
            QString s = files.front();
            files.pop_front();
            return s;
        });
    }
    ~FileDialogs() { platform::SetFileDialogHandler(previous_); }
    FileDialogs(const FileDialogs &) = delete;
    FileDialogs &operator=(const FileDialogs &) = delete;

    std::deque<QString> files;
    std::vector<platform::FileDialogRequest> requests;

  private:
    platform::FileDialogHandler previous_;
};

class WindowTest : public ::testing::Test
{
  protected:
    WindowTest() : data_(QDir(program.Path()).filePath("daten"))
    {
        QDir().mkpath(data_);
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        QFile f(program.File("dorlix.ini"));
        if (f.open(QIODevice::WriteOnly))
            f.write(("[Pfad]\nDaten=" + data_ + "\n").toUtf8());
    }
    ~WindowTest() override
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    // The window, shown, on a copy of the example.
    std::unique_ptr<TForm1> start(const char *example = "etiketten-5x13.rsd")
    {
        const QString target = QDir(data_).filePath(QString::fromLatin1(example));
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(Example(example), target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        auto w = std::make_unique<TForm1>();
        w->SetStartFile(target);
        w->resize(1200, 900);
        w->FormShow();
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    // The pointer position in the canvas at page point (x, y) mm.
    static QPoint pixelAt(TForm1 &w, double x, double y)
    {
        return QPoint(w.DPaintbox1()->LenToPixelX(x), w.DPaintbox1()->LenToPixelY(y));
    }
    static QPoint centreOf(TForm1 &w, int column, int row)
    {
        const TRSObject *f = w.Sheet().GetField(column, row);
        return pixelAt(w, f->CenterX, f->CenterY);
    }
    // Points at field (column, row) as the mouse does: the canvas reports
    // the position, and the context menu commands work there.
    static void pointAt(TForm1 &w, int column, int row)
    {
        const TRSObject *f = w.Sheet().GetField(column, row);
        w.DPaintbox1XYChange(f->CenterX, f->CenterY);
    }
    static QMenu *openMenu() { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }
    // A real right click at a canvas pixel, after moving there.
    // It goes through the window as the system delivers it, so that the
    // right button brings the context menu event along.
    static QMenu *rightClick(TForm1 &w, QPoint at)
    {
        QTest::mouseMove(w.DPaintbox1(), at);
        QWindow *window = w.windowHandle();
        const QPoint inWindow = w.DPaintbox1()->mapTo(&w, at);
        QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, inWindow);
        return openMenu();
    }
    // Chooses an entry of an open menu with the keyboard.
    static void choose(QMenu *menu, QAction *entry)
    {
        menu->setActiveAction(entry);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    static bool enabled(TForm1 &w, const char *entry)
    {
        return w.PopupEntry(QString::fromLatin1(entry))->isEnabled();
    }

    TempDesktopHome home;
    TempProgramFolder program;
    MessageCapture messages;
    FileDialogs dialogs;
    QString data_;
};

} // namespace windowtesting
