#include "dialogs/label_product_store.h"

#include <QDir>
#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QtConcurrent/QtConcurrentRun>

namespace
{
// Folder -> its reading, started once. Touched on the GUI thread only.
QHash<QString, QFuture<TLabelProductStore::TList>> &readings()
{
    static QHash<QString, QFuture<TLabelProductStore::TList>> map;
    return map;
}

QString key(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}
} // namespace

bool TLabelProductStore::HasDatabase(const QString &folder)
{
    const QDir dir(folder);
    return dir.exists() &&
           !dir.entryList({QStringLiteral("*-templates.xml")}, QDir::Files | QDir::Readable).isEmpty();
}

TLabelProductStore::TList TLabelProductStore::Ready(const QString &folder)
{
    const auto it = readings().constFind(key(folder));
    if (it == readings().constEnd() || !it->isFinished())
        return nullptr;
    return it->result();
}

void TLabelProductStore::Request(QObject *context, TDone done, const QString &folder)
{
    const QString k = key(folder);
    auto it = readings().find(k);
    if (it == readings().end())
        it = readings().insert(k, QtConcurrent::run([k] {
                                   return TList(std::make_shared<TLabelProductList>(ReadLabelProducts(k)));
                               }));
    if (it->isFinished()) {
        // Read before: still handed over from the event loop, so that the
        // caller is not held up by filling its list now.
        QMetaObject::invokeMethod(
            context, [done = std::move(done), list = it->result()] { done(list); }, Qt::QueuedConnection);
        return;
    }
    auto *watcher = new QFutureWatcher<TList>(context);
    QObject::connect(watcher, &QFutureWatcher<TList>::finished, context, [watcher, done = std::move(done)] {
        const TList list = watcher->result();
        watcher->deleteLater();
        done(list);
    });
    watcher->setFuture(*it);
}
