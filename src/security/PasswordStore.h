#pragma once
// The start-up password and its on/off flag, kept in the [Velkaron] section
// of the user's win.ini. The password itself is never stored: SSifre holds an
// Argon2id hash. A plain value left there by an older file still counts until
// the next change replaces it by a hash.
#include "core/ProfileFile.h"

#include <QString>

namespace tk {

// What SSifre holds, with the one question asked of it.
class StoredPassword {
public:
    StoredPassword() = default;
    explicit StoredPassword(const QString &stored) : m_stored(stored) {}

    // No password: an empty entry matches.
    bool isEmpty() const { return m_stored.isEmpty(); }
    bool isHashed() const;
    // Exact comparison: letter case, blanks and every character count.
    bool matches(const QString &typed) const;

private:
    QString m_stored;
};

class PasswordStore {
public:
    explicit PasswordStore(const QString &winIniPath);

    // ~/.config/tekvanis/win.ini; the folder is made by the first write.
    static QString defaultPath();

    QString path() const { return m_file.path(); }

    // Active, default off.
    bool IsProtectionActive() const;
    // Writes Active as 1 or 0. Throws tk::Error "Unable to write to <path>".
    void SaveProtectionState(bool active);

    // SSifre, empty when missing.
    StoredPassword ReadStoredPassword() const;
    // Stores the hash of `password` (an empty password stays empty, so it
    // still reads as "no password"). Throws tk::Error "Şifre yazılamadı".
    void WriteStoredPassword(const QString &password);

private:
    void makeFolder() const;

    ProfileFile m_file;
};

} // namespace tk
