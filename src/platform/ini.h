#pragma once
// Settings files in the INI form: "[Section]" lines followed by "Key=Value"
// lines.
//
// Every read looks at the file as it is now and every write changes the file
// at once, so several objects for the same file (the main window, the print
// dialog) never undo each other's changes. Section and key names compare
// without regard to case. Lines, sections and keys the program does not know
// are kept as they are. The file is written in UTF-8; a file in the Windows
// code page (as written by the Windows program) is read as well.
//
// Numbers with a fraction are written in the user's locale form ("1,1" on
// German systems); reading accepts that form and the C form ("1.1").

#include <QString>
#include <QStringList>

namespace platform
{

class TIniFile
{
  public:
    explicit TIniFile(const QString &fileName);

    const QString &FileName() const { return fileName_; }
    bool FileExists() const;

    // The value, or def when the file, the section or the key is missing.
    QString ReadString(const QString &section, const QString &key, const QString &def = {}) const;
    // Decimal or hexadecimal ("$1F", "0x1F") whole numbers; def when unreadable.
    int ReadInteger(const QString &section, const QString &key, int def = 0) const;
    double ReadFloat(const QString &section, const QString &key, double def = 0) const;
    // Any whole number other than 0 is true; def when unreadable.
    bool ReadBool(const QString &section, const QString &key, bool def = false) const;

    // Write one value and save the file. False when the file cannot be
    // written, or when the names or the value cannot be stored as an INI line
    // (line breaks, "=" or "[" in a key, "]" in a section name).
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool WriteFloat(const QString &section, const QString &key, double value);
    bool WriteBool(const QString &section, const QString &key, bool value); // "1" or "0"

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    // Keys of a section in file order.
    QStringList ReadSection(const QString &section) const;
    bool DeleteKey(const QString &section, const QString &key);
    bool EraseSection(const QString &section);

    // The text form of a number as WriteFloat stores it.
    static QString FloatToText(double value);
    // Reads a number in the locale form or the C form.
    static bool TextToFloat(const QString &text, double *value);

  private:
    QString fileName_;
};

} // namespace platform
