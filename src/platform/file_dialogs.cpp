#include "platform/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

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

QString standardDialog(QWidget *parent, const FileDialogRequest &r)
{
    QFileDialog dlg(parent, r.title);
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
    // The size column fits its longest entry instead of cutting "255 KiB".
    if (QTreeView *details = dlg.findChild<QTreeView *>(QStringLiteral("treeView")))
        details->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
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
