#include "model/folder_check.h"

#include "platform/system.h"

#include <QFile>
#include <QFileInfo>

bool ProgramFolderCheck()
{
    const QFileInfo program(platform::ProgramFilePath());
    const QString testFile =
        program.absolutePath() + QLatin1Char('/') + program.completeBaseName() + QStringLiteral(".tst");
    {
        QFile f(testFile);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const char byte = char(0xFF);
        const bool written = f.write(&byte, 1) == 1;
        f.close();
        if (!written || f.error() != QFile::NoError) {
            QFile::remove(testFile);
            return false;
        }
        if (!f.remove())
            return false;
    }

    const QString desktop = platform::DesktopFolder();
    const QString own = program.absolutePath();
    return desktop.isEmpty() || own.isEmpty() || desktop + QLatin1Char('/') != own + QLatin1Char('/');
}
