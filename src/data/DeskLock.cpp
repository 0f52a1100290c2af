#include "DeskLock.h"

#include "core/Error.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tk {

namespace {

QString reason(int errorNumber) { return QString::fromLocal8Bit(std::strerror(errorNumber)); }

bool lockNow(int fd, int operation)
{
    while (::flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return false;
        throw Error(QStringLiteral("Veritabanı kilidi alınamadı: %1").arg(reason(errno)));
    }
    return true;
}

} // namespace

QString DeskLock::lockFilePath(const QString &databasePath) { return databasePath + QStringLiteral(".lock"); }

DeskLock::DeskLock(const QString &databasePath, int patienceMs)
{
    const QString path = lockFilePath(databasePath);
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0) // a read-only folder: the lock file may still be there to read
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        // A folder the program may not write to: no desk can replace the books
        // there either, so there is nothing to guard.
        if (errno == EACCES || errno == EROFS || errno == EPERM)
            return;
        throw Error(QStringLiteral("Veritabanı kilit dosyası açılamadı: %1\n%2")
                        .arg(QDir::toNativeSeparators(path), reason(errno)));
    }
    QDeadlineTimer patience(patienceMs);
    while (!lockNow(m_fd, LOCK_SH)) {
        if (patience.hasExpired()) {
            ::close(m_fd);
            throw Error(QStringLiteral("Veritabanı şu anda başka bir masada yenileniyor (sıkıştırma, geri "
                                       "yükleme ya da aktarım). Biraz sonra yeniden deneyin."));
        }
        QThread::msleep(20);
    }
}

DeskLock::~DeskLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // the hold goes with the descriptor
}

void DeskLock::makeExclusive(const QString &work)
{
    if (m_exclusive || m_fd < 0)
        return;
    if (!lockNow(m_fd, LOCK_EX)) {
        // The refused conversion has let our shared hold go: take it back.
        retakeShared();
        throw Error(QStringLiteral("%1 yapılamaz: veritabanı başka bir masada açık.\n"
                                   "Dosyanın yerine yenisi konursa o masada yazılanlar kaybolur. "
                                   "Önce diğer masalardaki programı kapatın.")
                        .arg(work));
    }
    m_exclusive = true;
}

void DeskLock::makeShared()
{
    if (!m_exclusive || m_fd < 0)
        return;
    m_exclusive = false;
    retakeShared();
}

void DeskLock::retakeShared()
{
    // Refused only when another desk took the books alone in the moment the
    // conversion left them free: it may be putting a new file in their place.
    if (!lockNow(m_fd, LOCK_SH))
        throw Error(QStringLiteral("Veritabanı kilidi kaybedildi: başka bir masa veritabanını şu anda yeniliyor "
                                   "(sıkıştırma, geri yükleme ya da aktarım).\n"
                                   "Bu masada bundan sonra yazılanlar kaybolabilir. Programı kapatıp yeniden açın."));
}

std::unique_ptr<DeskLock> DeskLock::exclusive(const QString &databasePath, const QString &work)
{
    auto lock = std::make_unique<DeskLock>(databasePath, 0);
    lock->makeExclusive(work);
    return lock;
}

} // namespace tk
