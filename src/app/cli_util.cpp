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
    CliStderrMessages messages;
    if (sheet.LoadFromFile(path, version))
        return true;
    // The reader says nothing about a file that is not there.
    if (!messages.Shown()) {
        if (QFileInfo(path).isDir())
            CliError(
                QStringLiteral("\"%1\" ist ein Ordner, keine Datei.").arg(QDir::toNativeSeparators(path)));
        else
            CliError(
                QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(QDir::toNativeSeparators(path)));
    }
    return false;
}
