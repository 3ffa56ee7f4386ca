#pragma once
// Writes a file so that the file it replaces is never destroyed: the data go
// into a temporary file in the same folder, which takes the target's place
// (one rename) only when everything was written. Until Commit() the target
// is untouched; a failed or abandoned write leaves no temporary file behind.

#include <QFile>
#include <QString>

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
    // The reason of the last failure, in German.
    QString ErrorString() const { return error_; }

  private:
    QString target_;
    QString tempPath_;
    QFile temp_;
    QString error_;
    bool open_ = false;
};
