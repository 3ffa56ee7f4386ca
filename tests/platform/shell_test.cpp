#include "platform/shell.h"

#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace
{

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A desktop entry string with its escapes undone.
QString unescape(const QString &raw)
{
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar e = raw[i] == QLatin1Char('\\') && i + 1 < raw.size() ? raw[++i] : QChar();
        value += e.isNull()              ? raw[i]
                 : e == QLatin1Char('n') ? QChar('\n')
                 : e == QLatin1Char('t') ? QChar('\t')
                 : e == QLatin1Char('r') ? QChar('\r')
                 : e == QLatin1Char('s') ? QChar(' ')
                                         : e;
    }
    return value;
}

// The keys of a desktop entry's main group, unescaped.
QMap<QString, QString> readDesktopEntry(const QString &path)
{
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QString &line : QString::fromUtf8(readBytes(path)).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inGroup && eq > 0)
            keys.insert(line.left(eq), unescape(line.mid(eq + 1)));
    }
    return keys;
}

// Splits an Exec value into its arguments as the desktop entry rules say:
// quotes and their escapes undone, "%%" made "%", field codes kept. A value
// that breaks the rules (a reserved character outside quotes, an unescaped
// one inside) gives {"<invalid>"}.
QStringList execArguments(const QString &exec)
{
    const QStringList invalid{QStringLiteral("<invalid>")};
    const QString reserved = QStringLiteral("\t\n\"'\\><~|&;$*?#()`");
    QStringList args;
    QString current;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (quoted && c == QLatin1Char('\\')) {
            if (i + 1 == exec.size() || !QStringLiteral("\"`$\\").contains(exec[i + 1]))
                return invalid;
            current += exec[++i];
        } else if (quoted && (c == QLatin1Char('`') || c == QLatin1Char('$'))) {
            return invalid;
        } else if (!quoted && c == QLatin1Char(' ')) {
            if (any || !current.isEmpty())
                args << current;
            current.clear();
            any = false;
        } else if (!quoted && reserved.contains(c)) {
            return invalid;
        } else if (c == QLatin1Char('%') && i + 1 < exec.size() && exec[i + 1] == QLatin1Char('%')) {
            current += c;
            ++i;
        } else {
            current += c;
        }
    }
    if (quoted)
        return invalid;
    if (any || !current.isEmpty())
        args << current;
    return args;
}

QString run(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

bool have(const char *tool)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty();
}

// desktop-file-validate's complaints; empty when the file is valid.
QString validate(const QString &path)
{
    int code = 0;
    const QString out = run(QStringLiteral("desktop-file-validate"), {path}, &code);
    return code == 0 && out.isEmpty() ? QString() : out;
}

const QByteArray kIcon = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"/>";

} // namespace

TEST(DesktopEntryText, ExecArgumentsComeBackAsTheyWere)
{
    // Read back the way a launcher does: string escapes, quoting, "%%".
    for (const QString &path :
         {QStringLiteral("/opt/dorlix/dorlix"), QStringLiteral("/opt/Rückenschilder (neu)/dorlix"),
          QStringLiteral("/tmp/a b/c'd/\"q\"/$HOME/`x`/1\\2/50%/d;e&f|g")}) {
        const QString exec = platform::DesktopExecArgument(path) + QStringLiteral(" %f");
        EXPECT_EQ(execArguments(unescape(exec)), (QStringList{path, QStringLiteral("%f")}))
            << qPrintable(exec);
    }
    EXPECT_EQ(unescape(platform::DesktopStringValue(QStringLiteral("Zeile 1\nZeile\t2\\"))),
              QStringLiteral("Zeile 1\nZeile\t2\\"));
}

TEST(FileTypeRegistration, WritesTypeEntryIconAndDefault)
{
    TempDesktopHome home;
    const QString program = home.Path() + QStringLiteral("/Programme/Rückenschilder $1/dorlix");
    ASSERT_TRUE(platform::RegisterRsdFileType(program, kIcon));

    EXPECT_EQ(platform::MimePackagePath(), home.DataHome() + "/mime/packages/dorlix-rsd.xml");
    EXPECT_EQ(platform::ApplicationEntryPath(), home.DataHome() + "/applications/dorlix.desktop");

    // The MIME type: the glob, the comment and the magic of label files.
    QXmlStreamReader xml(readBytes(platform::MimePackagePath()));
    QString type, comment, glob, magic;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("mime-type"))
            type = a.value("type").toString();
        else if (xml.name() == QLatin1String("glob"))
            glob = a.value("pattern").toString();
        else if (xml.name() == QLatin1String("match"))
            magic = a.value("value").toString();
        else if (xml.name() == QLatin1String("comment") && !a.hasAttribute("xml:lang"))
            comment = xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_EQ(type, QStringLiteral("application/x-dorlix-rsd"));
    EXPECT_EQ(glob, QStringLiteral("*.rsd"));
    EXPECT_EQ(comment, QStringLiteral("Rückenschilddatei"));
    EXPECT_EQ(magic, QStringLiteral("RUECKENSCHILD"));
    // The rebuilt database of the user knows the type.
    EXPECT_TRUE(readBytes(home.DataHome() + "/mime/globs2").contains("application/x-dorlix-rsd:*.rsd"));
    EXPECT_TRUE(readBytes(home.DataHome() + "/mime/types").contains("application/x-dorlix-rsd"));

    // The desktop entry starts this program with the file.
    const auto entry = readDesktopEntry(platform::ApplicationEntryPath());
    EXPECT_EQ(execArguments(entry.value("Exec")), (QStringList{program, QStringLiteral("%f")}));
    EXPECT_EQ(entry.value("MimeType"), QStringLiteral("application/x-dorlix-rsd;"));
    EXPECT_EQ(entry.value("Icon"), platform::ProgramIconPath());
    EXPECT_EQ(readBytes(platform::ProgramIconPath()), kIcon);
    EXPECT_EQ(readBytes(platform::MimeIconPath()), kIcon);
    if (have("desktop-file-validate")) {
        EXPECT_EQ(validate(platform::ApplicationEntryPath()), QString());
    }

    // The entry is the type's default.
    if (have("xdg-mime")) {
        EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-dorlix-rsd"}),
                  QStringLiteral("dorlix.desktop"));
    }
    EXPECT_TRUE(
        readBytes(home.ConfigHome() + "/mimeapps.list").contains("application/x-dorlix-rsd=dorlix.desktop"));

    // Again: the same files, one default.
    const QByteArray typeBefore = readBytes(platform::MimePackagePath());
    const QByteArray entryBefore = readBytes(platform::ApplicationEntryPath());
    ASSERT_TRUE(platform::RegisterRsdFileType(program, kIcon));
    EXPECT_EQ(readBytes(platform::MimePackagePath()), typeBefore);
    EXPECT_EQ(readBytes(platform::ApplicationEntryPath()), entryBefore);
    EXPECT_EQ(readBytes(home.ConfigHome() + "/mimeapps.list").count("application/x-dorlix-rsd="), 1);
}

TEST(FileTypeRegistration, DefaultWithoutXdgMimeAndFailureWithoutDataFolder)
{
    TempDesktopHome home;
    // Only the MIME database tool in PATH: the default goes straight into mimeapps.list.
    const QString tools = home.Path() + QStringLiteral("/bin");
    ASSERT_TRUE(QDir().mkpath(tools));
    ASSERT_TRUE(
        QFile::link(QStandardPaths::findExecutable("update-mime-database"), tools + "/update-mime-database"));
    home.set("PATH", tools);
    ASSERT_TRUE(platform::RegisterRsdFileType(QStringLiteral("/opt/dorlix/dorlix"), kIcon));
    const QByteArray list = readBytes(home.ConfigHome() + "/mimeapps.list");
    EXPECT_TRUE(list.contains("[Default Applications]\napplication/x-dorlix-rsd=dorlix.desktop\n"))
        << list.constData();

    // Without the MIME database tool the type cannot take effect.
    home.set("PATH", home.Path() + QStringLiteral("/leer"));
    EXPECT_FALSE(platform::RegisterRsdFileType(QStringLiteral("/opt/dorlix/dorlix"), kIcon));

    // A data folder that cannot be made (a file stands in its way).
    QFile blocker(home.Path() + QStringLiteral("/datei"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    home.set("PATH", QString::fromLocal8Bit(qgetenv("PATH")) + QStringLiteral(":/usr/bin:/bin"));
    home.set("XDG_DATA_HOME", blocker.fileName() + QStringLiteral("/share"));
    EXPECT_FALSE(platform::RegisterRsdFileType(QStringLiteral("/opt/dorlix/dorlix"), kIcon));
}

TEST(DesktopLauncher, IsAValidExecutableEntryThatStartsTheProgram)
{
    TempDesktopHome home;
    ASSERT_TRUE(QDir().mkpath(home.Desktop()));
    const QString launcher = home.Desktop() + QStringLiteral("/Start.desktop");
    const QString folder = home.Path() + QStringLiteral("/Mein Ordner $x \"q\" a\\b");
    const QString program = folder + QStringLiteral("/dorlix");
    const QString comment = QStringLiteral("Erste Zeile\nZweite Zeile");
    ASSERT_TRUE(platform::CreateDesktopLauncher(launcher, program, QStringLiteral("Start"), comment,
                                                QStringLiteral("/icons/x.svg")));

    EXPECT_TRUE(QFileInfo(launcher).isExecutable());
    const auto entry = readDesktopEntry(launcher);
    EXPECT_EQ(entry.value("Type"), QStringLiteral("Application"));
    EXPECT_EQ(entry.value("Name"), QStringLiteral("Start"));
    EXPECT_EQ(entry.value("Comment"), comment);
    EXPECT_EQ(entry.value("Icon"), QStringLiteral("/icons/x.svg"));
    EXPECT_EQ(execArguments(entry.value("Exec")), (QStringList{program, QStringLiteral("%f")}));
    if (have("desktop-file-validate")) {
        EXPECT_EQ(validate(launcher), QString());
    }

    // A real launcher starts the program with a dropped file.
    if (have("gio")) {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // Written aside and renamed, so that the file is complete once it exists.
        script.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$HOME/args.tmp\" && mv \"$HOME/args.tmp\" "
                     "\"$HOME/args.txt\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        const QString file = home.Path() + QStringLiteral("/Ordner 1/Etiketten & Co $2.rsd");
        int code = -1;
        run(QStringLiteral("gio"), {QStringLiteral("launch"), launcher, file}, &code);
        ASSERT_EQ(code, 0);
        const QString args = home.Path() + QStringLiteral("/args.txt");
        // The launch returns before the program has run; wait for its output.
        for (int i = 0; i < 1000 && !QFileInfo::exists(args); ++i)
            QThread::msleep(10);
        EXPECT_EQ(QString::fromUtf8(readBytes(args)), program + QLatin1Char('\n') + file + QLatin1Char('\n'));
    }

    // Replaced when made again; refused where no file can be written.
    ASSERT_TRUE(
        platform::CreateDesktopLauncher(launcher, program, QStringLiteral("Neu"), comment, QString()));
    EXPECT_EQ(readDesktopEntry(launcher).value("Name"), QStringLiteral("Neu"));
    EXPECT_FALSE(readDesktopEntry(launcher).contains("Icon"));
    EXPECT_FALSE(platform::CreateDesktopLauncher(launcher + QStringLiteral("/x.desktop"), program,
                                                 QStringLiteral("X"), comment, QString()));
}

TEST(FolderBrowser, RemembersTheLastChoiceAcrossACancel)
{
    QStringList asked;
    QString answer;
    const auto previous = platform::SetFolderDialog([&](const QString &caption, const QString &start) {
        asked << caption + QLatin1Char('|') + start;
        return answer;
    });
    platform::TFolderBrowser browser;
    EXPECT_EQ(browser.Caption, QStringLiteral("Datenpfad wählen..."));

    EXPECT_FALSE(browser.Execute(QStringLiteral("/start")));
    EXPECT_EQ(browser.SelectedFolder, QString());
    answer = QStringLiteral("/daten");
    EXPECT_TRUE(browser.Execute(QStringLiteral("/start")));
    EXPECT_EQ(browser.SelectedFolder, QStringLiteral("/daten"));
    answer.clear();
    EXPECT_FALSE(browser.Execute(QStringLiteral("/daten")));
    EXPECT_EQ(browser.SelectedFolder, QStringLiteral("/daten"));
    EXPECT_EQ(asked, (QStringList{"Datenpfad wählen...|/start", "Datenpfad wählen...|/start",
                                  "Datenpfad wählen...|/daten"}));
    platform::SetFolderDialog(previous);
}
