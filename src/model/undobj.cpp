#include "model/undobj.h"

#include "model/rs.h"
#include "model/settings_places.h"

#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <vector>

namespace
{

// Clear always looks at least this far, also for snapshots it did not write.
constexpr std::int32_t kClearRange = 998;
// Windows open at the same time by one user; more is not plausible.
constexpr int kMaxInstances = 99;

QString instanceStem(const QString &plain, int instance)
{
    return instance == 1 ? plain : plain + QLatin1Char('~') + QString::number(instance);
}

QString lockPath(const QString &stem)
{
    return stem + QStringLiteral(".lock");
}

} // namespace

QString ChangeFileExt(const QString &path, const QString &ext)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype cut = dot > slash ? dot : path.size();
    return path.left(cut) + ext;
}

TRSUndo::TRSUndo() = default;

TRSUndo::~TRSUndo()
{
    Clear();
    ReleaseNames();
}

void TRSUndo::SetUser(const QString &name)
{
    // Snapshots written under the old name would otherwise stay behind.
    if (claimTried_) {
        Clear();
        ReleaseNames();
    }
    QString suffix = name.left(kMaxUserLength);
    // The name becomes part of a file name in the program folder and must not
    // lead out of it.
    for (QChar &c : suffix)
        if (c == QLatin1Char('/') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    UserSuffix = suffix;
    // The place is chosen once per user: snapshots must not move between a
    // push and its undo.
    const QString folder = SnapshotFolder();
    BaseName = folder.isEmpty()
                   ? QString()
                   : folder + QLatin1Char('/') + QFileInfo(platform::ProgramFilePath()).completeBaseName() +
                         QLatin1Char('_') + suffix;
}

QString TRSUndo::SnapshotPath(std::int32_t n) const
{
    return ChangeFileExt(BaseName, QLatin1Char('.') + QString::number(n));
}

void TRSUndo::Push(TRS *sheet)
{
    if (BaseName.isEmpty() || UserSuffix.isEmpty() || !sheet)
        return;
    if (!claimTried_)
        ClaimNames();
    Previous = Current;
    ++Current;
    highest_ = std::max(highest_, Current);
    // A change after an undo makes the undone states unreachable.
    redoTop_ = Current;
    // A failed write costs this undo step only: a later undo of the missing
    // file finds nothing and changes nothing.
    sheet->SaveToFile(SnapshotPath(Current));
}

bool TRSUndo::Undo(TRS *sheet, QString *error)
{
    // Before its first snapshot a store has no names of its own yet: the
    // files under the plain names may belong to another window.
    if (!claimTried_)
        return false;
    const QString path = SnapshotPath(Previous);
    if (!sheet || !QFileInfo(path).isFile())
        return false;
    Current = Previous;
    --Previous;
    // A snapshot that cannot be read leaves the sheet as it was (the reader
    // says why); the counters still move on so that the next undo goes past it.
    return sheet->LoadFromFile(path, nullptr, error);
}

bool TRSUndo::CanRedo() const
{
    return claimTried_ && Current < redoTop_ && QFileInfo(SnapshotPath(Current + 1)).isFile();
}

bool TRSUndo::Redo(TRS *sheet, QString *error)
{
    if (!sheet || !CanRedo())
        return false;
    Previous = Current;
    ++Current;
    return sheet->LoadFromFile(SnapshotPath(Current), nullptr, error);
}

void TRSUndo::Clear()
{
    // A store that never wrote a snapshot has nothing to delete; the files
    // under the plain names may be another window's.
    if (!claimTried_) {
        Current = 0;
        highest_ = 0;
        redoTop_ = 0;
        return;
    }
    // Everything this store wrote goes, also beyond the usual range.
    const std::int32_t last = std::max(kClearRange, highest_);
    for (std::int32_t n = 1; n <= last; ++n) {
        const QString path = SnapshotPath(n);
        if (QFileInfo::exists(path))
            QFile::remove(path); // a file that stays is no reason to stop
    }
    Current = 0;
    highest_ = 0;
    redoTop_ = 0;
}

// Finds the first set of snapshot names that no running store holds and locks
// it for the lifetime of this store.
void TRSUndo::ClaimNames()
{
    claimTried_ = true;
    const QString plain = ChangeFileExt(BaseName, QString());
    for (int instance = 1; instance <= kMaxInstances; ++instance) {
        const QString stem = instanceStem(plain, instance);
        auto lock = std::make_unique<QLockFile>(lockPath(stem));
        // Only a dead owner makes a lock stale, never its age: a window may
        // stay open for days.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            if (instance > 1)
                BaseName = stem;
            break;
        }
        // No lock can be made here at all: keep the plain names.
        if (lock->error() != QLockFile::LockFailedError)
            break;
    }
    const QFileInfo info(plain);
    RemoveStaleSnapshots(info.absolutePath(), info.fileName());
}

void TRSUndo::ReleaseNames()
{
    if (lock_)
        lock_->unlock();
    lock_.reset();
    claimTried_ = false;
}

// Deletes the snapshot files of every store of this user whose names no
// running store holds: they were left behind by a crash or a killed program.
// Our own names count as well, since we hold them before writing anything.
void TRSUndo::RemoveStaleSnapshots(const QString &folder, const QString &stem) const
{
    static const QRegularExpression tail(QStringLiteral("^(?:~([1-9]\\d{0,8}))?\\.([1-9]\\d*|lock)$"));
    std::map<int, std::vector<QString>> snapshots; // instance -> its numbered files
    const QDir dir(folder);
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.startsWith(stem))
            continue;
        const auto m = tail.match(QStringView(entry).mid(stem.size()));
        if (!m.hasMatch())
            continue;
        bool ok = true;
        const int instance = m.captured(1).isEmpty() ? 1 : m.captured(1).toInt(&ok);
        // Only names this store would give: no "~1", no leading zeros.
        if (!ok || (!m.captured(1).isEmpty() && instance < 2) || instance > kMaxInstances)
            continue;
        auto &files = snapshots[instance];
        if (m.captured(2) != QStringLiteral("lock"))
            files.push_back(dir.filePath(entry));
    }

    const QString own = lock_ ? QFileInfo(lock_->fileName()).absoluteFilePath() : QString();
    const QString plain = dir.filePath(stem);
    for (const auto &[instance, files] : snapshots) {
        const QString lockFile = lockPath(instanceStem(plain, instance));
        if (lockFile == own) {
            for (const QString &f : files)
                QFile::remove(f);
            continue;
        }
        QLockFile other(lockFile);
        other.setStaleLockTime(0);
        if (!other.tryLock(0))
            continue; // a running window uses them, or they cannot be touched
        for (const QString &f : files)
            QFile::remove(f);
        other.unlock();
    }
}
