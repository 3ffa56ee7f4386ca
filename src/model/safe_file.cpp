#include "model/safe_file.h"

#include "platform/syserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The same file as the open descriptor fd (not a file put there since).
bool sameFile(const QString &path, int fd)
{
    struct stat byPath, byFd;
    return ::lstat(native(path).constData(), &byPath) == 0 && ::fstat(fd, &byFd) == 0 &&
           byPath.st_dev == byFd.st_dev && byPath.st_ino == byFd.st_ino;
}

// Makes the rename itself survive a power cut. Some file systems cannot sync
// a folder; the file is in place by now either way.
void syncFolder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

// ------------------------------------------------------------ the device

TFdWriteDevice::~TFdWriteDevice()
{
    close();
}

bool TFdWriteDevice::OpenFd(int fd)
{
    fd_ = fd;
    errno_ = 0;
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void TFdWriteDevice::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    QIODevice::close();
}

qint64 TFdWriteDevice::writeData(const char *data, qint64 len)
{
    qint64 done = 0;
    while (done < len) {
        const ssize_t n = ::write(fd_, data + done, std::size_t(len - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A part written before a full disk is no success either.
            errno_ = n < 0 ? errno : ENOSPC;
            setErrorString(platform::SystemErrorText(errno_));
            return -1;
        }
        done += n;
    }
    return done;
}

// ------------------------------------------------------------- the file

TSafeFile::TSafeFile(const QString &target) : target_(target) {}

TSafeFile::~TSafeFile()
{
    Cancel();
}

QString TSafeFile::ErrorString() const
{
    if (temp_.LastErrno() != 0)
        return platform::SystemErrorText(temp_.LastErrno());
    return error_;
}

bool TSafeFile::IsTemporaryNameOf(const QString &fileName, const QString &targetFileName)
{
    // "." + target + "." + eight hex digits + ".tmp"
    const QString lead = QLatin1Char('.') + targetFileName + QLatin1Char('.');
    if (fileName.size() != lead.size() + 12 || !fileName.startsWith(lead) ||
        !fileName.endsWith(QStringLiteral(".tmp")))
        return false;
    for (QChar c : QStringView(fileName).mid(lead.size(), 8))
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    return true;
}

// A save holds a lock on its temporary file from its creation to the rename;
// a file nobody holds was left by a save that was killed.
void TSafeFile::RemoveStaleTemporaries(const QString &folder, const QString &targetFileName) const
{
    const QDir dir(folder);
    // No name filter: the target's name may hold wildcard characters.
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!IsTemporaryNameOf(name, targetFileName))
            continue;
        const QString path = dir.filePath(name);
        const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            sameFile(path, fd))
            ::unlink(native(path).constData());
        ::close(fd);
    }
}

bool TSafeFile::Open()
{
    QFileInfo info(target_);
    // Replace what a link points to, not the link.
    if (info.isSymLink() && info.exists())
        info = QFileInfo(info.canonicalFilePath());
    target_ = info.absoluteFilePath();
    if (info.isDir()) {
        error_ = platform::SystemErrorText(EISDIR);
        return false;
    }
    // The new file gets the permissions of the one it replaces, or the usual
    // ones for a new file.
    mode_t mode = 0666;
    struct stat st;
    if (::stat(native(target_).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    RemoveStaleTemporaries(info.absolutePath(), info.fileName());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath_ =
            info.absolutePath() + QStringLiteral("/.") + info.fileName() +
            QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const int fd = ::open(native(tempPath_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            error_ = platform::SystemErrorText(errno);
            tempPath_.clear();
            return false;
        }
        // Another save may have taken the file for a stale one before the
        // lock was on it: then it is gone, and a new name is tried.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !sameFile(tempPath_, fd)) {
            ::close(fd);
            continue;
        }
        ::fchmod(fd, mode); // independent of the umask
        temp_.OpenFd(fd);
        open_ = true;
        return true;
    }
    error_ = platform::SystemErrorText(EEXIST);
    tempPath_.clear();
    return false;
}

bool TSafeFile::Commit()
{
    if (!open_)
        return false;
    bool ok = temp_.LastErrno() == 0;
    // On the disk before it takes the target's place: otherwise a power cut
    // soon after the rename can leave an empty target.
    if (ok && ::fsync(temp_.Handle()) != 0) {
        error_ = platform::SystemErrorText(errno);
        ok = false;
    }
    if (ok && ::rename(native(tempPath_).constData(), native(target_).constData()) != 0) {
        error_ = platform::SystemErrorText(errno);
        ok = false;
    }
    if (ok) {
        tempPath_.clear();
        syncFolder(QFileInfo(target_).absolutePath());
    } else {
        if (error_.isEmpty())
            error_ = ErrorString();
        ::unlink(native(tempPath_).constData());
        tempPath_.clear();
    }
    // Closing releases the lock, so only after the rename.
    temp_.close();
    open_ = false;
    return ok;
}

void TSafeFile::Cancel()
{
    if (!tempPath_.isEmpty()) {
        ::unlink(native(tempPath_).constData());
        tempPath_.clear();
    }
    if (open_) {
        temp_.close();
        open_ = false;
    }
}
