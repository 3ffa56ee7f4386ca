// dorlix-cli: the program's functions for scripts, batch work and checks,
// without a display or a printer.
#include "cli.h"

#include "platform/messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>

namespace
{
std::map<std::string, CliCommand> &registry()
{
    static std::map<std::string, CliCommand> commands;
    return commands;
}

// Qt's own notes (a missing runtime folder, font fallbacks) are no messages
// of this program: scripts read only the program's messages on stderr.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void usage()
{
    std::fprintf(stderr, "Aufruf: dorlix-cli BEFEHL [ARGUMENTE]\nBefehle:\n");
    for (const auto &[name, cmd] : registry())
        std::fprintf(stderr, "  %s\n", cmd.usage);
}
} // namespace

CliRegistration::CliRegistration(const char *name, const char *usage, CliFunction fn, bool needsGui)
{
    registry()[name] = CliCommand{usage, fn, needsGui};
}

int main(int argc, char **argv)
{
    // Label files with many pictures allocate and free large blocks; keeping
    // them in the heap spares the system fresh pages.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    if (argc < 2) {
        usage();
        return 2;
    }
    const auto it = registry().find(argv[1]);
    if (it == registry().end()) {
        std::fprintf(stderr, "Unbekannter Befehl: %s\n", argv[1]);
        usage();
        return 2;
    }
    // Rendering needs fonts, images and the canvas widget, but never a display.
    if (it->second.needsGui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQt);
    std::unique_ptr<QCoreApplication> app;
    if (it->second.needsGui)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);

    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return it->second.fn(args);
}
