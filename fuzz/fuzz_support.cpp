#include "fuzz_support.h"

#include "platform/messages.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>

namespace
{
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}
} // namespace

void fuzz::Init()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
    platform::SetMessageHandler([](const platform::Message &) { return int(platform::mrOk); });
}
