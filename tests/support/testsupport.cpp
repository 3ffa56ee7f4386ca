#include "testsupport.h"

#include "platform/system.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

MessageCapture::MessageCapture()
{
    previous_ = platform::SetMessageHandler([this](const platform::Message &m) {
        messages_.push_back(m);
        if (!answers_.empty()) {
            const int r = answers_.front();
            answers_.pop_front();
            return r;
        }
        return (m.buttons == platform::MsgButtons::YesNo || m.buttons == platform::MsgButtons::YesNoCancel)
                   ? int(platform::mrYes)
                   : int(platform::mrOk);
    });
}

MessageCapture::~MessageCapture()
{
    platform::SetMessageHandler(previous_);
}

QStringList MessageCapture::Texts() const
{
    QStringList out;
    for (const auto &m : messages_)
        out << m.text;
    return out;
}

TempProgramFolder::TempProgramFolder() : previous_(platform::ProgramFilePath())
{
    platform::SetProgramFilePath(dir_.filePath(QStringLiteral("dorlix")));
}

TempProgramFolder::~TempProgramFolder()
{
    platform::SetProgramFilePath(previous_);
}

QString CorpusPath(const QString &relative)
{
    const QString path = QStringLiteral(DORLIX_CORPUS_DIR "/") + relative;
    if (!QFileInfo::exists(path))
        ADD_FAILURE() << "test picture missing: " << path.toStdString()
                      << " (the corpus belongs in tests/data/corpus)";
    return path;
}

ProcessRun RunProgram(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        p.kill();
    p.waitForFinished(5000);
    ProcessRun run;
    run.code =
        p.exitStatus() == QProcess::NormalExit && p.error() != QProcess::FailedToStart ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

ProcessRun RunCli(const QStringList &args, const QProcessEnvironment &env)
{
    return RunProgram(QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli"), args, env);
}

int CliExitCode(const QStringList &args, QByteArray *err)
{
    ProcessRun run = RunCli(args);
    if (err)
        *err = run.err;
    return run.code;
}

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
