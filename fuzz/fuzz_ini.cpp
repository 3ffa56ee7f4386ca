// The settings file reader: any file content, read by section and key, and
// changed in place. Every question reads the file again, so the first byte of
// an input chooses the questions and the rest is the file: an input costs a
// few readings of it, not one for each key and kind of value.
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
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data + 1), qint64(size - 1));
    }
    platform::TIniFile ini(path);
    static const char *const sections[] = {"Pfad", "ZeilenHoehe", "Optionen", "DruckVH"};
    const QString section = QString::fromLatin1(sections[choice & 3]);
    const QStringList keys = ini.ReadSection(section);
    for (qsizetype i = 0; i < keys.size() && i < 2; ++i) {
        switch ((choice >> 2) & 3) {
        case 0:
            (void)ini.ReadString(section, keys[i]);
            break;
        case 1:
            (void)ini.ReadInteger(section, keys[i], 7);
            break;
        case 2:
            (void)ini.ReadFloat(section, keys[i], 1.5);
            break;
        default:
            (void)ini.ReadBool(section, keys[i], true);
            break;
        }
    }
    if (choice & 0x10)
        (void)ini.ReadFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), 1.1);
    if (choice & 0x20) {
        ini.WriteString(section, QStringLiteral("Zuletzt"), QStringLiteral(" x=\"y\" "));
        (void)ini.ReadString(section, QStringLiteral("Zuletzt"));
    }
    if ((choice & 0x40) && !keys.isEmpty())
        ini.DeleteKey(section, keys.front());
    if (choice & 0x80) {
        (void)ini.ValueExists(section, QStringLiteral("Daten"));
        ini.EraseSection(section);
    }
    return 0;
}
