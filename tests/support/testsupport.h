#pragma once
// Helpers for tests: captured message boxes with scripted answers,
// temporary program folders and programs run to their end.

#include "platform/messages.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <vector>

// Records every message shown while it lives and answers questions from a
// queue (default: the first button). Restores the previous handler on exit.
class MessageCapture
{
  public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    void Answer(int result) { answers_.push_back(result); }
    const std::vector<platform::Message> &Messages() const { return messages_; }
    QStringList Texts() const;
    void Clear() { messages_.clear(); }

  private:
    std::vector<platform::Message> messages_;
    std::deque<int> answers_;
    platform::MessageHandler previous_;
};

// A temporary folder that acts as the program folder (the program file
// "dorlix" inside it) for as long as it lives; the program folder before it
// comes back afterwards. Every test program runs inside one (test_main.cpp),
// so no test writes "dorlix.ini" or undo snapshots next to the test binary.
class TempProgramFolder
{
  public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString Path() const { return dir_.path(); }
    QString File(const QString &name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
    QString previous_;
};

// The path of a file or folder of the test corpus (tests/data/corpus); a
// missing one fails the running test with a message naming it.
QString CorpusPath(const QString &relative);

// A program run to its end: its exit code (-1 when it crashed or was stopped
// after two minutes) and what it wrote.
struct ProcessRun {
    int code = -1;
    QByteArray out, err;
};
ProcessRun RunProgram(const QString &program, const QStringList &args,
                      const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
// dorlix-cli of this build.
ProcessRun RunCli(const QStringList &args,
                  const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
// Its exit code, and what it wrote to standard error into *err.
int CliExitCode(const QStringList &args, QByteArray *err = nullptr);
// A file's bytes; empty when it cannot be read.
QByteArray FileBytes(const QString &path);
