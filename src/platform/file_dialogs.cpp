#include "platform/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>
#include <utility>

namespace platform
{

namespace
{
FileDialogHandler &handlerSlot()
{
    static FileDialogHandler handler;
    return handler;
}

// The type column names the program's own label files even where the
// desktop's type database does not know them yet (before the file type is
// registered), and never shows the database's "unknown".
class FileTypeNames : public QFileIconProvider
{
  public:
    QString type(const QFileInfo &info) const override
    {
        if (info.isFile() && info.suffix().compare(QLatin1String("rsd"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Rückenschilddatei");
        const QString name = QFileIconProvider::type(info);
        if (name.isEmpty() || name == QLatin1String("unknown") ||
            name == QLatin1String("application/octet-stream"))
            return info.isDir() ? QStringLiteral("Ordner") : QStringLiteral("Datei");
        return name;
    }
};

QString standardDialog(QWidget *parent, const FileDialogRequest &r)
{
    FileTypeNames typeNames;
    QFileDialog dlg(parent, r.title);
    dlg.setIconProvider(&typeNames);
    dlg.setAcceptMode(r.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.kind == FileDialogRequest::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setNameFilter(QtFilter(r.filter));
    dlg.setDefaultSuffix(r.defaultSuffix);
    // The overwrite question is the dialog's own; the read-only box does not exist here.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!r.startFolder.isEmpty())
        dlg.setDirectory(r.startFolder);
    // The proposed name, also a pattern such as "*.rsd", stands in the name field.
    const QString name = QFileInfo(r.fileName).fileName();
    if (!name.isEmpty())
        dlg.selectFile(name);
    // Size, type and date fit their longest entries instead of cutting
    // "255 KiB" or the time.
    if (QTreeView *details = dlg.findChild<QTreeView *>(QStringLiteral("treeView")))
        for (int column : {1, 2, 3})
            details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // Wide enough for the name beside them, without scrolling sideways.
    dlg.resize(std::max(dlg.width(), 860), std::max(dlg.height(), 480));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}
} // namespace

QString QtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the parentheses of the text: a text
        // without them ("Alle Grafiken") gets its patterns appended.
        QString text = parts[i];
        if (!text.contains(QLatin1Char('(')))
            text += QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                    QLatin1Char(')');
        out << text;
    }
    return out.join(QStringLiteral(";;"));
}

QString ExecuteFileDialog(QWidget *parent, const FileDialogRequest &request)
{
    if (handlerSlot())
        return handlerSlot()(parent, request);
    return standardDialog(parent, request);
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace platform
