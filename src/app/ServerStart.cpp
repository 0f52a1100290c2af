#include "ServerStart.h"

#include "DatabaseChoice.h"
#include "DatabasePage.h"
#include "core/UiSeam.h"
#include "server/ServerCheck.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tk {

namespace {

// The page "Veritabanı" alone, before the main window exists.
bool editChoice(const QString &configFolder)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Veritabanı"));
    auto *page = new DatabasePage(configFolder, &dialog);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(page);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        guarded(&dialog, [&] {
            page->save();
            dialog.accept();
        });
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

QString booksForThisRun(const QString &configFolder, const QString &dataFile)
{
    for (;;) {
        const DatabaseChoice choice = DatabaseChoice::read(configFolder);
        if (!choice.onServer)
            return dataFile;
        QString address = choice.address();
        ServerCheck check = checkServer(address);
        if (check.problem == ServerProblem::NeedsPassword) {
            bool given = false;
            const QString password = QInputDialog::getText(
                nullptr, QStringLiteral("Sunucu şifresi"),
                QStringLiteral("%1 kullanıcısının sunucudaki şifresi:").arg(choice.user), QLineEdit::Password, QString(), &given);
            if (!given)
                return {};
            address = withPassword(address, password);
            check = checkServer(address);
        }
        if (check.ok())
            return address;
        const UiSeam::Answer answer = ui().ask(
            nullptr, QStringLiteral("Sunucu"),
            check.message + QStringLiteral("\n\nBağlantı ayarlarını açmak ister misiniz? (Hayır: program kapanır)"), true);
        if (answer != UiSeam::Answer::Yes || !editChoice(configFolder))
            return {};
    }
}

} // namespace tk
