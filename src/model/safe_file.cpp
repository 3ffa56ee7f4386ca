#include "model/safe_file.h"

#include "platform/syserror.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TSafeFile::TSafeFile(const QString &target) : target_(target) {}

TSafeFile::~TSafeFile()
{
    Cancel();
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
    const QByteArray native = QFile::encodeName(target_);
    if (::stat(native.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath_ =
            info.absolutePath() + QStringLiteral("/.") + info.fileName() +
            QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const int fd =
            ::open(QFile::encodeName(tempPath_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            error_ = platform::SystemErrorText(errno);
            tempPath_.clear();
            return false;
        }
        ::fchmod(fd, mode); // independent of the umask
        if (!temp_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            error_ = platform::SystemErrorText(temp_.errorString());
            ::close(fd);
            ::unlink(QFile::encodeName(tempPath_).constData());
            tempPath_.clear();
            return false;
        }
        open_ = true;
        return true;
    }
    error_ = platform::SystemErrorText(EEXIST);
    return false;
}

bool TSafeFile::Commit()
{
    if (!open_)
        return false;
    const bool flushed = temp_.flush() && temp_.error() == QFile::NoError;
    if (!flushed)
        error_ = platform::SystemErrorText(temp_.errorString());
    temp_.close();
    open_ = false;
    if (flushed &&
        ::rename(QFile::encodeName(tempPath_).constData(), QFile::encodeName(target_).constData()) == 0) {
        tempPath_.clear();
        return true;
    }
    if (flushed)
        error_ = platform::SystemErrorText(errno);
    ::unlink(QFile::encodeName(tempPath_).constData());
    tempPath_.clear();
    return false;
}

void TSafeFile::Cancel()
{
    if (open_) {
        temp_.close();
        open_ = false;
    }
    if (!tempPath_.isEmpty()) {
        ::unlink(QFile::encodeName(tempPath_).constData());
        tempPath_.clear();
    }
}
