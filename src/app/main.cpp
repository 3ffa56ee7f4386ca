// dorlix: the window program.
#include "app/mainwindow.h"
#include "app/program_style.h"
#include "controls/GraphicHintWindow.h"
#include "controls/glyphs_boxes/box_glyphs.h"

#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/start_warmup.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <malloc.h>

int main(int argc, char **argv)
{
    // Fonts and the printer's page are read beside the window's building.
    platform::StartWarmUp();
    // Label files with many pictures allocate and free large blocks at every
    // edit and undo; keeping them in the heap spares the system fresh pages.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rückenschilder"));
    QApplication::setApplicationDisplayName(QStringLiteral("Rückenschilder"));
    platform::SetApplicationTitle(QStringLiteral("Rückenschilder"));
    InstallProgramStyle();
    // Hints show in the program's own hint window, on the main window's
    // hint background.
    TGraphicHintWindow::Install(box_glyphs::HintBackground());

    // Numbers, dates and sizes are written the German way, as the texts
    // around them are, also where the system has no German locale (a
    // server's "C"); German-speaking locales keep their own conventions.
    if (QLocale::system().language() != QLocale::German)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The standard dialogs and buttons speak German.
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    platform::InstallMessageBoxes();
    // The main window's canvas asks the print system for the printer's page.

    TForm1 window;
    // A start file: at least two characters naming an existing file.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && args[1].size() > 1 && QFileInfo(args[1]).isFile())
        window.SetStartFile(QFileInfo(args[1]).absoluteFilePath());
    window.FormShow();
    return app.exec();
}
