// The settings file reader: any file content, read by section and key, and
// one value written back into it.
#include "fuzz_support.h"

#include "platform/ini.h"

#include <QFile>
#include <QTemporaryDir>

namespace
{
QString path;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    static QTemporaryDir dir;
    path = dir.filePath(QStringLiteral("dorlix.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    platform::TIniFile ini(path);
    for (const char *section : {"Pfad", "ZeilenHoehe", "Optionen", "DruckVH"}) {
        const QString s = QString::fromLatin1(section);
        for (const QString &key : ini.ReadSection(s)) {
            (void)ini.ReadString(s, key);
            (void)ini.ReadInteger(s, key, 7);
            (void)ini.ReadFloat(s, key, 1.5);
            (void)ini.ReadBool(s, key, true);
        }
    }
    (void)ini.ReadFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), 1.1);
    ini.WriteString(QStringLiteral("Optionen"), QStringLiteral("Zuletzt"), QStringLiteral("x"));
    (void)ini.ReadString(QStringLiteral("Optionen"), QStringLiteral("Zuletzt"));
    return 0;
}
