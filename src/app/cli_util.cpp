#include "cli.h"

#include "model/rs.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

void CliError(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", t.toUtf8().constData());
}

CliStderrMessages::CliStderrMessages()
{
    previous_ = platform::SetMessageHandler([this](const platform::Message &m) {
        CliError(m.text);
        shown_ = true;
        return int(platform::mrOk);
    });
}

CliStderrMessages::~CliStderrMessages()
{
    platform::SetMessageHandler(previous_);
}

bool CliLoadSheet(TRS &sheet, const QString &path, int *version)
{
    QString message;
    const bool loaded = sheet.LoadFromFile(path, version, &message);
    // A notice after a successful read goes to standard error as well.
    if (!message.isEmpty())
        CliError(message);
    return loaded;
}

bool CliSaveSheet(TRS &sheet, const QString &path)
{
    QString error;
    if (sheet.SaveToFile(path, &error))
        return true;
    CliError(error);
    return false;
}
