#include "JetImport.h"

#include "JetSource.h"
#include "SqliteFileTarget.h"
#include "data/DeskLock.h"
#include "maintenance/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
        && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool sameContents(const QString &a, const QString &b)
{
    if (sameFile(a, b))
        return true;
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd())
        if (fa.read(1 << 20) != fb.read(1 << 20))
            return false;
    return true;
}

void removeWorkFile(const QString &work)
{
    QFile::remove(work);
    QFile::remove(work + QStringLiteral("-journal"));
}

// The old books stay under their second name; Data.dat keeps its name throughout.
void keepOldBooks(const QString &dataFile, const QString &kept)
{
    if (QFileInfo::exists(kept))
        return; // left by a run that stopped before its last step, with the same contents
    if (::link(QFile::encodeName(dataFile).constData(), QFile::encodeName(kept).constData()) == 0) {
        syncFile(QFileInfo(kept).absolutePath());
        return;
    }
    copyFileReplacing(dataFile, kept);
}

} // namespace

QString keptOldBooksPath(const QString &dataFile)
{
    const QFileInfo info(dataFile);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-eski") + suffix);
}

QString workFilePath(const QString &target) { return target + QStringLiteral(".aktariliyor"); }

TransferReport importJetBooks(const QString &source, const QString &target, const TransferProgress &progress)
{
    const bool inPlace = sameFile(source, target);
    const QString kept = keptOldBooksPath(target);
    const QString work = workFilePath(target);
    TransferReport report;
    // Ours alone until the new file is in place: a second desk converting the
    // same books would build in the same work file, and a desk with them open
    // would go on writing to the old file.
    std::unique_ptr<DeskLock> alone;
    try {
        alone = DeskLock::exclusive(target, QStringLiteral("Aktarım"));
        if (!inPlace && QFileInfo::exists(target))
            throw Error(QStringLiteral("'%1' dosyası zaten var; var olan bir dosyanın üzerine yazılmaz.").arg(shown(target)));
        if (inPlace && QFileInfo::exists(kept) && !sameContents(kept, target))
            throw Error(QStringLiteral("'%1' dosyası zaten var ve başka kayıtlar tutuyor; üzerine yazılmaz. "
                                       "Onu başka bir yere taşıyıp yeniden deneyin.")
                            .arg(shown(kept)));
        removeWorkFile(work); // what a stopped run left behind
        try {
            JetSource books(source);
            SqliteFileTarget database(work);
            report = transferRecords(books, database, progress);
            database.close();
        } catch (...) {
            removeWorkFile(work);
            throw;
        }
    } catch (const Error &e) {
        throw Error(QStringLiteral("Eski biçimdeki veritabanı aktarılamadı: %1\n%2\nDosyalar değiştirilmedi.")
                        .arg(e.text(), shown(source)));
    }

    try {
        syncFile(work);
        if (inPlace)
            keepOldBooks(target, kept);
        replaceFile(work, target);
    } catch (...) {
        removeWorkFile(work);
        throw;
    }
    return report;
}

} // namespace tk
