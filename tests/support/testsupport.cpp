#include "testsupport.h"

#include "platform/system.h"

#include <QFileInfo>
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
