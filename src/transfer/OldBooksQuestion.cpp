#include "OldBooksQuestion.h"

#include "JetImport.h"
#include "JetSignature.h"
#include "core/Error.h"
#include "core/UiSeam.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace tk {

namespace {

// The wait cursor for as long as the conversion runs, however it ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

QString oldBooksQuestion(const QString &path)
{
    return QStringLiteral("Bu %1 eski biçimde (%2). Yeni biçime aktarılsın mı? Eski dosya %3 olarak saklanır.")
        .arg(QFileInfo(path).fileName(), jetVersionName(jetVersionOf(path)),
             QFileInfo(keptOldBooksPath(path)).fileName());
}

void convertOldBooksIfAsked(QWidget *parent, const QString &path)
{
    const JetVersion version = jetVersionOf(path);
    if (version == JetVersion::None)
        return;
    const QString shownPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (ui().ask(parent, QStringLiteral("Onay"), oldBooksQuestion(path), false) != UiSeam::Answer::Yes)
        throw Error(QStringLiteral("Veritabanı eski biçimde (%1) ve aktarılmadığı için açılamadı.\n%2")
                        .arg(jetVersionName(version), shownPath));

    QProgressDialog progress(QStringLiteral("Eski kayıtlar aktarılıyor..."), QString(), 0, 1000, parent);
    progress.setObjectName(QStringLiteral("AktarmaIlerleme"));
    progress.setWindowTitle(QStringLiteral("Aktarma"));
    progress.setAccessibleName(QStringLiteral("Eski kayıtların aktarılması"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    TransferReport report;
    {
        WaitCursor wait;
        report = importJetBooks(path, path, [&](const QString &table, qint64 done, qint64 total) {
            if (!table.isEmpty())
                progress.setLabelText(QStringLiteral("Aktarılıyor: %1").arg(table));
            progress.setValue(total > 0 ? int(done * 1000 / total) : 0);
            QCoreApplication::processEvents();
        });
    }
    progress.close();
    ui().inform(parent, QStringLiteral("Bilgi"), report.summary());
}

} // namespace tk
