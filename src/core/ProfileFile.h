#pragma once
// An INI file read and written by the rules of the classic profile functions:
// a read names its default; a write goes straight to the file, creating the
// file, the section and the key on first use, updating an existing key in
// place and keeping every other line as it was. Section and key names match
// without regard to letter case. The text is Windows-1254.
#include <QString>

namespace tk {

class ProfileFile {
public:
    // Longest value a read hands back; longer values are cut.
    static constexpr int MaxValueLength = 2047;

    explicit ProfileFile(const QString &path);

    // The file's full path, as named in write errors.
    QString path() const { return m_path; }

    // The value of `key`, blanks around it removed and one pair of matching
    // quotes around it dropped; `defaultValue` when the file, the section or
    // the key is missing or the file cannot be read. A key present with an
    // empty value reads as empty, not as the default.
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as a whole number (decimal, or hexadecimal after "$" or "0x");
    // `defaultValue` when missing or not a number.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Any number other than 0 is true; `defaultValue` when missing or not a number.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool keyExists(const QString &section, const QString &key) const;

    // Writes `key=value` and the whole file anew through a temporary file, so
    // a crash leaves the old file or the new one, never half of one. A value
    // that would not read back as written (blanks at its ends, quotes around
    // it) is written between double quotes; line breaks become blanks.
    // Throws tk::Error "Unable to write to <path>" when the file cannot be written.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    // Written as 1 or 0.
    void writeBool(const QString &section, const QString &key, bool value);

private:
    QString m_path;
};

} // namespace tk
