#include "PasswordStore.h"

#include "core/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sodium.h>

namespace tk {

namespace {

const QString kSection = QStringLiteral("Velkaron");
const QString kActive = QStringLiteral("Active");
const QString kPassword = QStringLiteral("SSifre");

// Longest password the change dialog lets through; a stored value longer
// than that and shaped like a hash is a hash.
constexpr int kMaxPlainLength = 15;

void initSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw Error(QStringLiteral("Şifre kitaplığı başlatılamadı"));
}

QString hashOf(const QString &password)
{
    initSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw Error(QStringLiteral("Şifre yazılamadı"));
    return QString::fromLatin1(hash);
}

} // namespace

bool StoredPassword::isHashed() const
{
    return m_stored.size() > kMaxPlainLength
        && (m_stored.startsWith(QStringLiteral("$argon2id$")) || m_stored.startsWith(QStringLiteral("$argon2i$")));
}

bool StoredPassword::matches(const QString &typed) const
{
    if (!isHashed())
        return typed == m_stored;
    initSodium();
    const QByteArray hash = m_stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}

PasswordStore::PasswordStore(const QString &winIniPath)
    : m_file(winIniPath)
{
}

QString PasswordStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tekvanis/win.ini");
}

bool PasswordStore::IsProtectionActive() const
{
    return m_file.readBool(kSection, kActive, false);
}

void PasswordStore::SaveProtectionState(bool active)
{
    makeFolder();
    m_file.writeBool(kSection, kActive, active);
}

StoredPassword PasswordStore::ReadStoredPassword() const
{
    return StoredPassword(m_file.readString(kSection, kPassword, QString()));
}

void PasswordStore::WriteStoredPassword(const QString &password)
{
    const QString stored = password.isEmpty() ? QString() : hashOf(password);
    makeFolder();
    try {
        m_file.writeString(kSection, kPassword, stored);
    } catch (const Error &) {
        throw Error(QStringLiteral("Şifre yazılamadı"));
    }
}

void PasswordStore::makeFolder() const
{
    // A folder that cannot be made shows up as the write's own failure.
    QDir().mkpath(QFileInfo(m_file.path()).absolutePath());
}

} // namespace tk
