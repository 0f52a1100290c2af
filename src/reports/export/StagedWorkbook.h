#pragma once
// A spreadsheet written beside its target and renamed into place when whole:
// a stopped or failed export neither leaves a half-written file under the
// user's name nor loses the file it was to replace.
#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <xlsxwriter.h>

namespace tk::reports {

inline Error writeFailure(const QString &path, const QString &reason)
{
    return Error(QStringLiteral("Dosya yazılamadı: %1\n%2").arg(QDir::toNativeSeparators(path), reason));
}

class StagedWorkbook {
public:
    explicit StagedWorkbook(const QString &path)
        : m_path(path)
        , m_temporary(QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName()
                      + QStringLiteral(".tmp"))
    {
        const QByteArray fileName = QFile::encodeName(m_temporary);
        m_book = workbook_new(fileName.constData());
        if (!m_book)
            throw writeFailure(path, QStringLiteral("Çalışma kitabı oluşturulamadı."));
    }
    StagedWorkbook(const StagedWorkbook &) = delete;
    StagedWorkbook &operator=(const StagedWorkbook &) = delete;
    ~StagedWorkbook()
    {
        if (m_book)
            workbook_close(m_book);
        if (!m_committed)
            QFile::remove(m_temporary);
    }
    lxw_workbook *book() const { return m_book; }

    void commit()
    {
        const lxw_error rc = workbook_close(m_book);
        m_book = nullptr;
        if (rc != LXW_NO_ERROR)
            throw writeFailure(m_path, QString::fromUtf8(lxw_strerror(rc)));
        // One step over the old file (QFile::rename refuses an existing
        // target, and removing it first would leave neither on a failure).
        if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_path).constData()) != 0)
            throw writeFailure(m_path, QStringLiteral("Dosya yerine konamadı."));
        m_committed = true;
    }

private:
    QString m_path;
    QString m_temporary;
    lxw_workbook *m_book = nullptr;
    bool m_committed = false;
};

} // namespace tk::reports
