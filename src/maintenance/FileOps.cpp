#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

Error failure(const QString &what, const QString &path, int errorNumber)
{
    return Error(QStringLiteral("%1: %2\n%3").arg(what, native(path), systemErrorText(errorNumber)));
}

void syncDescriptorOf(const QString &path, int flags, const QString &what)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        throw failure(what, path, errno);
    const int rc = ::fsync(fd);
    const int syncError = errno;
    ::close(fd);
    if (rc != 0)
        throw failure(what, path, syncError);
}

} // namespace

QString systemErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT: return QStringLiteral("Dosya ya da klasör bulunamadı.");
    case EACCES:
    case EPERM: return QStringLiteral("Erişim izni yok.");
    case ENOTDIR: return QStringLiteral("Yolun bir parçası klasör değil.");
    case EISDIR: return QStringLiteral("Bu adda bir klasör var.");
    case EEXIST: return QStringLiteral("Bu adda bir dosya var.");
    case ENOSPC: return QStringLiteral("Diskte yer kalmadı.");
    case EROFS: return QStringLiteral("Disk yalnızca okunabilir.");
    case EBUSY: return QStringLiteral("Dosya kullanımda.");
    case EXDEV: return QStringLiteral("Dosyalar ayrı disklerde.");
    default: return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

void createFolder(const QString &folder)
{
    // Walk down from the top so the reason names the folder that failed.
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QStringList parts = clean.split(QLatin1Char('/'));
    QString path;
    for (const QString &part : parts) {
        path += part;
        if (!path.isEmpty() && !part.isEmpty()) {
            const QByteArray name = QFile::encodeName(path);
            if (::mkdir(name.constData(), 0777) != 0 && errno != EEXIST)
                throw failure(QStringLiteral("Klasör oluşturulamadı"), path, errno);
            if (!QFileInfo(path).isDir())
                throw failure(QStringLiteral("Klasör oluşturulamadı"), path, EEXIST);
        }
        path += QLatin1Char('/');
    }
}

void syncFile(const QString &path)
{
    syncDescriptorOf(path, O_RDONLY, QStringLiteral("Dosya diske yazılamadı"));
}

void replaceFile(const QString &source, const QString &target)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    if (std::rename(from.constData(), to.constData()) != 0)
        throw failure(QStringLiteral("Dosya yerine konamadı"), target, errno);
    syncDescriptorOf(QFileInfo(target).absolutePath(), O_RDONLY | O_DIRECTORY,
                     QStringLiteral("Klasör diske yazılamadı"));
}

void requireNoJournalBeside(const QString &database)
{
    for (const char *suffix : {"-journal", "-wal"}) {
        const QString journal = database + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            throw Error(QStringLiteral("Veritabanı kullanımda: %1\n%2").arg(native(journal), systemErrorText(EBUSY)));
    }
}

QString temporaryFor(const QString &target)
{
    return QFileInfo(target).absolutePath() + QStringLiteral("/.") + QFileInfo(target).fileName()
           + QStringLiteral(".tmp");
}

void removeTemporariesOf(const QString &target)
{
    const QString temporary = temporaryFor(target);
    // A journal left beside a new temporary file would be played into it.
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString path = temporary + QLatin1String(suffix);
        const QByteArray name = QFile::encodeName(path);
        if (::unlink(name.constData()) != 0 && errno != ENOENT)
            throw failure(QStringLiteral("Yarım kalmış geçici dosya silinemedi"), path, errno);
    }
}

void takeOwnershipOf(const QString &model, const QString &target)
{
    struct stat status {};
    const QByteArray from = QFile::encodeName(model);
    const QByteArray to = QFile::encodeName(target);
    if (::stat(from.constData(), &status) != 0)
        throw failure(QStringLiteral("Dosya bilgisi okunamadı"), model, errno);
    // Owner first: changing it may clear the set-id bits the mode then puts back.
    // Only a privileged process may give a file away; others keep their own.
    if (::chown(to.constData(), status.st_uid, status.st_gid) != 0 && errno != EPERM)
        throw failure(QStringLiteral("Dosyanın sahibi ayarlanamadı"), target, errno);
    if (::chmod(to.constData(), status.st_mode & 07777) != 0)
        throw failure(QStringLiteral("Dosyanın izinleri ayarlanamadı"), target, errno);
}

void copyFileReplacing(const QString &source, const QString &target)
{
    if (!QFileInfo(source).isFile())
        throw failure(QStringLiteral("Kaynak dosya bulunamadı"), source, ENOENT);
    const QString temporary = temporaryFor(target);
    removeTemporariesOf(target);

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Dosya okunamadı: %1\n%2").arg(native(source), in.errorString()));
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly)) {
        const QString reason = out.errorString();
        throw Error(QStringLiteral("Dosya yazılamadı: %1\n%2").arg(native(target), reason));
    }
    const QByteArray contents = in.readAll();
    const bool written = in.error() == QFile::NoError && out.write(contents) == contents.size() && out.flush();
    const QString reason = in.error() != QFile::NoError ? in.errorString() : out.errorString();
    out.close();
    if (!written) {
        QFile::remove(temporary);
        throw Error(QStringLiteral("Dosya yazılamadı: %1\n%2").arg(native(target), reason));
    }
    try {
        takeOwnershipOf(source, temporary);
        syncFile(temporary);
        replaceFile(temporary, target);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace tk
