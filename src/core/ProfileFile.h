#pragma once
// An INI file read and written by the rules of the classic profile functions:
// a read names its default; a write of ProfileFile goes straight to the file
// (ProfileSnapshot gathers many and writes once), creating the
// file, the section and the key on first use, updating an existing key in
// place and keeping every other line as it was. Section and key names match
// without regard to letter case. The text is Windows-1254.
#include <QString>

#include <memory>

namespace tk {

// The file read once into memory: reads answer from that copy, writes change
// the copy, and save() puts the whole text in the file's place in one step.
// Settings that are read and written many keys at a time go through this.
class ProfileSnapshot {
public:
    // Reads the file; a missing or unreadable file reads as empty.
    explicit ProfileSnapshot(const QString &path);
    ~ProfileSnapshot();
    ProfileSnapshot(const ProfileSnapshot &) = delete;
    ProfileSnapshot &operator=(const ProfileSnapshot &) = delete;

    QString path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool keyExists(const QString &section, const QString &key) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    // The saved file may be read and written by its owner only (it holds a secret).
    void setOwnerOnly(bool ownerOnly) { m_ownerOnly = ownerOnly; }

    // Writes the whole text to a temporary file beside the file and renames it
    // over the file, so a crash leaves the old file or the new one. A file
    // that exists but could not be read, or is write-protected (no write
    // permission at all: the superuser respects it too), is never replaced.
    // Throws tk::Error "Unable to write to <path>".
    void save() const;

private:
    struct Text;
    QString m_path;
    std::unique_ptr<Text> m_text;
    bool m_existed = false;
    bool m_readable = false;
    bool m_ownerOnly = false;
};

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

    // Every write leaves a file only its owner may read and write.
    void setOwnerOnly(bool ownerOnly) { m_ownerOnly = ownerOnly; }

private:
    QString m_path;
    bool m_ownerOnly = false;
};

} // namespace tk
