#pragma once
// Writes a file so that the file it replaces is never destroyed: the data go
// into a temporary file in the same folder, which takes the target's place
// (one rename) only when everything was written and is on the disk. Until
// Commit() the target is untouched; a failed or abandoned write leaves no
// temporary file behind, and temporary files of the same target that a
// killed program left are removed by the next save.

#include <QIODevice>
#include <QString>

// A write-only device on a file descriptor that keeps the system's error
// number, so that a disk filling up half-way is reported as such.
class TFdWriteDevice : public QIODevice
{
  public:
    TFdWriteDevice() = default;
    ~TFdWriteDevice() override;
    // Takes over fd (closed by close()).
    bool OpenFd(int fd);
    int Handle() const { return fd_; }
    // errno of the last failed write, 0 when none failed.
    int LastErrno() const { return errno_; }
    void close() override;
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override;

  private:
    int fd_ = -1;
    int errno_ = 0;
};

class TSafeFile
{
  public:
    explicit TSafeFile(const QString &target);
    ~TSafeFile();
    TSafeFile(const TSafeFile &) = delete;
    TSafeFile &operator=(const TSafeFile &) = delete;

    bool Open();
    QIODevice &Device() { return temp_; }
    // Puts the written file in the target's place; false on any error.
    bool Commit();
    void Cancel();
    // The reason of the last failure (also of a write through Device()), in
    // German.
    QString ErrorString() const;

    // Names of the temporary files that saves of target use.
    static bool IsTemporaryNameOf(const QString &fileName, const QString &targetFileName);

  private:
    void RemoveStaleTemporaries(const QString &folder, const QString &targetFileName) const;

    QString target_;
    QString tempPath_;
    TFdWriteDevice temp_;
    QString error_;
    bool open_ = false;
};
