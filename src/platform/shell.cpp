#include "platform/shell.h"

#include "platform/ini.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace platform
{

namespace
{

// Helper programs of the desktop finish in well under a second; a hanging one
// must not freeze the window for long.
constexpr int kToolTimeoutMs = 30000;

QString mimeIconName()
{
    return QString::fromLatin1(kRsdMimeType).replace(QLatin1Char('/'), QLatin1Char('-'));
}

bool writeFile(const QString &path, const QByteArray &content)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(content) != content.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

// Runs a helper program found in PATH; true when it ran and ended with 0.
bool runTool(const QString &name, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return false;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, arguments);
    if (!p.waitForStarted(kToolTimeoutMs))
        return false;
    if (!p.waitForFinished(kToolTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray mimePackage()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>Rückenschilddatei</comment>\n"
                          "    <comment xml:lang=\"de\">Rückenschilddatei</comment>\n"
                          "    <icon name=\"%2\"/>\n"
                          "    <magic priority=\"60\">\n"
                          "      <match type=\"string\" value=\"RUECKENSCHILD\" offset=\"0\"/>\n"
                          "    </magic>\n"
                          "    <glob pattern=\"*.rsd\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QString::fromLatin1(kRsdMimeType), mimeIconName())
        .toUtf8();
}

QByteArray applicationEntry(const QString &programFile)
{
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=Rückenschilder\n");
    text += QStringLiteral("GenericName=Rückenschilddruckprogramm\n");
    text += QStringLiteral("Comment=Rückenschilder für Ordner und Etikettenbögen gestalten und drucken\n");
    text += QStringLiteral("Icon=") + DesktopStringValue(ProgramIconPath()) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + DesktopExecArgument(programFile) + QStringLiteral(" %f\n");
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("MimeType=") + QString::fromLatin1(kRsdMimeType) + QStringLiteral(";\n");
    text += QStringLiteral("Categories=Office;\n");
    return text.toUtf8();
}

// Makes the default application for the type known without xdg-mime: the
// [Default Applications] group of the user's mimeapps.list.
bool writeDefaultApplication()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty() || !QDir().mkpath(config))
        return false;
    TIniFile list(config + QStringLiteral("/mimeapps.list"));
    return list.WriteString(QStringLiteral("Default Applications"), QString::fromLatin1(kRsdMimeType),
                            QString::fromLatin1(kDesktopEntryName));
}

FolderDialog &folderDialogOverride()
{
    static FolderDialog dialog;
    return dialog;
}

} // namespace

QString DataHomeFolder()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString MimePackagePath()
{
    return DataHomeFolder() + QStringLiteral("/mime/packages/dorlix-rsd.xml");
}

QString ApplicationEntryPath()
{
    return DataHomeFolder() + QStringLiteral("/applications/") + QString::fromLatin1(kDesktopEntryName);
}

QString ProgramIconPath()
{
    return DataHomeFolder() + QStringLiteral("/icons/hicolor/scalable/apps/dorlix.svg");
}

QString MimeIconPath()
{
    return DataHomeFolder() + QStringLiteral("/icons/hicolor/scalable/mimetypes/") + mimeIconName() +
           QStringLiteral(".svg");
}

QString DesktopStringValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString DesktopExecArgument(const QString &argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '"':
        case '`':
        case '$':
        case '\\':
            quoted += QLatin1Char('\\');
            quoted += c;
            break;
        case '%': // would start a field code
            quoted += QStringLiteral("%%");
            break;
        default:
            quoted += c;
        }
    }
    quoted += QLatin1Char('"');
    return DesktopStringValue(quoted);
}

bool InstallProgramIcon(const QByteArray &svg)
{
    if (svg.isEmpty() || DataHomeFolder().isEmpty())
        return false;
    const bool app = writeFile(ProgramIconPath(), svg);
    const bool mime = writeFile(MimeIconPath(), svg);
    return app && mime;
}

bool RegisterRsdFileType(const QString &programFile, const QByteArray &iconSvg)
{
    const QString data = DataHomeFolder();
    if (data.isEmpty())
        return false;
    bool ok = true;

    ok &= InstallProgramIcon(iconSvg);

    const bool typeWritten = writeFile(MimePackagePath(), mimePackage());
    ok &= typeWritten;
    // The type only exists for the desktop once the database is rebuilt.
    if (typeWritten)
        ok &= runTool(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")});

    const bool entryWritten = writeFile(ApplicationEntryPath(), applicationEntry(programFile));
    ok &= entryWritten;
    if (entryWritten) {
        // Only a cache for faster look-ups; the entry works without it.
        runTool(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")});
        const QStringList args{QStringLiteral("default"), QString::fromLatin1(kDesktopEntryName),
                               QString::fromLatin1(kRsdMimeType)};
        if (!QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
            ok &= runTool(QStringLiteral("xdg-mime"), args);
        else
            ok &= writeDefaultApplication();
    }
    return ok;
}

bool CreateDesktopLauncher(const QString &launcherPath, const QString &programFile, const QString &name,
                           const QString &comment, const QString &iconPath)
{
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=") + DesktopStringValue(name) + QLatin1Char('\n');
    text += QStringLiteral("Comment=") + DesktopStringValue(comment) + QLatin1Char('\n');
    if (!iconPath.isEmpty())
        text += QStringLiteral("Icon=") + DesktopStringValue(iconPath) + QLatin1Char('\n');
    // A label file dropped onto the launcher is opened.
    text += QStringLiteral("Exec=") + DesktopExecArgument(programFile) + QStringLiteral(" %f\n");
    text += QStringLiteral("Terminal=false\n");
    const QByteArray content = text.toUtf8();
    if (!writeFile(launcherPath, content))
        return false;

    // Desktops start only launchers that are executable; GNOME and Xfce also
    // want them marked as trusted by the user, which only works in a session.
    QFile launcher(launcherPath);
    launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        !QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) {
        runTool(QStringLiteral("gio"),
                {QStringLiteral("set"), QStringLiteral("-t"), QStringLiteral("string"), launcherPath,
                 QStringLiteral("metadata::trusted"), QStringLiteral("true")});
        const QString checksum =
            QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
        runTool(QStringLiteral("gio"),
                {QStringLiteral("set"), QStringLiteral("-t"), QStringLiteral("string"), launcherPath,
                 QStringLiteral("metadata::xfce-exe-checksum"), checksum});
    }
    return (launcher.permissions() & QFileDevice::ExeOwner) != 0;
}

FolderDialog SetFolderDialog(FolderDialog dialog)
{
    FolderDialog previous = std::move(folderDialogOverride());
    folderDialogOverride() = std::move(dialog);
    return previous;
}

QFileDialog *CreateFolderDialog(QWidget *parent, const QString &caption, const QString &startFolder,
                                bool newFolder)
{
    auto *dialog = new QFileDialog(parent);
    // Qt's own dialog: it speaks German with the program and offers the
    // button for new folders; ReadOnly takes that button away.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setOption(QFileDialog::ReadOnly, !newFolder);
    dialog->setLabelText(QFileDialog::LookIn, caption);
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Auswählen"));
    const QString start =
        QFileInfo(startFolder).isDir() ? QFileInfo(startFolder).absoluteFilePath() : QDir::currentPath();
    dialog->setDirectory(start);
    auto showSelection = [dialog](const QString &path) {
        const QFileInfo info(path);
        dialog->setWindowTitle(!path.isEmpty() && info.isDir()
                                   ? QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()))
                                   : QString::fromUtf16(kNoFolderTitle));
    };
    showSelection(start);
    QObject::connect(dialog, &QFileDialog::currentChanged, dialog, showSelection);
    QObject::connect(dialog, &QFileDialog::directoryEntered, dialog, showSelection);
    // A position of our own keeps Qt from centring the dialog.
    dialog->move(100, 100);
    return dialog;
}

bool TFolderBrowser::Execute()
{
    QString chosen;
    if (const FolderDialog &override = folderDialogOverride()) {
        chosen = override(Caption, StartFolder);
    } else {
        std::unique_ptr<QFileDialog> dialog(
            CreateFolderDialog(QApplication::activeWindow(), Caption, StartFolder, NewFolder));
        if (dialog->exec() == QDialog::Accepted)
            chosen = dialog->selectedFiles().value(0);
    }
    if (chosen.isEmpty())
        return false;
    SelectedFolder = chosen;
    return true;
}

} // namespace platform

namespace platform
{

namespace
{
DesktopOpener &desktopOpenerOverride()
{
    static DesktopOpener opener;
    return opener;
}
} // namespace

bool OpenWithDesktop(const QString &target)
{
    const QString t = target.trimmed();
    if (t.isEmpty())
        return false;
    if (const DesktopOpener &o = desktopOpenerOverride())
        return o(t);
    // An existing file or folder is opened as such; everything else is read
    // as an address ("www.example.de" becomes a web address).
    const QUrl url = QFileInfo::exists(t) ? QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath())
                                          : QUrl::fromUserInput(t, QDir::currentPath());
    return url.isValid() && QDesktopServices::openUrl(url);
}

DesktopOpener SetDesktopOpener(DesktopOpener opener)
{
    DesktopOpener previous = std::move(desktopOpenerOverride());
    desktopOpenerOverride() = std::move(opener);
    return previous;
}

} // namespace platform
