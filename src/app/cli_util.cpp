#include "cli.h"

#include "model/rs.h"

#include <QCommandLineParser>
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

bool CliParse(QCommandLineParser &parser, const QStringList &args, QString *unknown, QString *missingValue)
{
    unknown->clear();
    missingValue->clear();
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (parser.parse(QStringList{QStringLiteral("dorlix-cli")} + args))
        return true;
    const QStringList names = parser.unknownOptionNames();
    if (!names.isEmpty()) {
        // Given with one or two dashes; said as given.
        const QString &name = names.front();
        const QString twoDashes = QStringLiteral("--") + name;
        *unknown = args.contains(twoDashes) ? twoDashes : QLatin1Char('-') + name;
        return false;
    }
    // Otherwise a value is missing, which can only be after the last argument.
    *missingValue = args.isEmpty() ? QString() : args.back();
    return false;
}
