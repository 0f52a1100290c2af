#include "DatabasePage.h"

#include "core/UiSeam.h"
#include "server/ServerCheck.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QIntValidator>
#include <QVBoxLayout>

namespace tk {

namespace {

QLabel *buddy(const QString &text, QWidget *box, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(box);
    box->setAccessibleName(QString(text).remove(QLatin1Char(':')).remove(QLatin1Char('&')).trimmed());
    return label;
}

} // namespace

DatabasePage::DatabasePage(const QString &configFolder, QWidget *parent) : QWidget(parent), m_configFolder(configFolder)
{
    setObjectName(QStringLiteral("TabVeritabani"));
    m_file = new QRadioButton(QStringLiteral("Yerel dosya (Data.dat)"), this);
    m_file->setObjectName(QStringLiteral("RbDosya"));
    m_server = new QRadioButton(QStringLiteral("PostgreSQL sunucusu"), this);
    m_server->setObjectName(QStringLiteral("RbSunucu"));
    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("EdSunucu"));
    m_port = new QLineEdit(this);
    m_port->setObjectName(QStringLiteral("EdKapi"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_port->setMaximumWidth(60);
    m_database = new QLineEdit(this);
    m_database->setObjectName(QStringLiteral("EdVeritabani"));
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("EdKullanici"));
    m_test = new QPushButton(QStringLiteral("Bağlantıyı sına"), this);
    m_test->setObjectName(QStringLiteral("BtnSina"));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("LblSonuc"));
    m_result->setWordWrap(true);
    m_result->setAccessibleName(QStringLiteral("Bağlantının sonucu"));

    auto *choices = new QHBoxLayout;
    choices->addWidget(m_file);
    choices->addWidget(m_server);
    choices->addStretch();
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(buddy(QStringLiteral("Sunucu :"), m_host, this), 0, 0, Qt::AlignRight);
    grid->addWidget(m_host, 0, 1);
    grid->addWidget(buddy(QStringLiteral("Kapı :"), m_port, this), 0, 2, Qt::AlignRight);
    grid->addWidget(m_port, 0, 3);
    grid->addWidget(buddy(QStringLiteral("Veritabanı :"), m_database, this), 1, 0, Qt::AlignRight);
    grid->addWidget(m_database, 1, 1);
    grid->addWidget(buddy(QStringLiteral("Kullanıcı :"), m_user, this), 1, 2, Qt::AlignRight);
    grid->addWidget(m_user, 1, 3);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_test);
    bottom->addWidget(m_result, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    layout->addLayout(choices);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    layout->addStretch();

    connect(m_server, &QRadioButton::toggled, this, [this] { enableServerBoxes(); });
    connect(m_test, &QPushButton::clicked, this, [this] { guarded(this, [this] { testConnection(); }); });
    revert();
}

DatabaseChoice DatabasePage::choice() const
{
    DatabaseChoice c;
    c.onServer = m_server->isChecked();
    c.host = m_host->text().trimmed();
    c.port = m_port->text().toInt();
    c.database = m_database->text().trimmed();
    c.user = m_user->text().trimmed();
    return c;
}

void DatabasePage::showChoice(const DatabaseChoice &c)
{
    (c.onServer ? m_server : m_file)->setChecked(true);
    m_host->setText(c.host);
    m_port->setText(QString::number(c.port));
    m_database->setText(c.database);
    m_user->setText(c.user);
    m_result->clear();
    enableServerBoxes();
}

void DatabasePage::save() const
{
    // A desk that never chose keeps no file.
    if (choice() != DatabaseChoice::read(m_configFolder))
        choice().write(m_configFolder);
}

void DatabasePage::revert() { showChoice(DatabaseChoice::read(m_configFolder)); }

void DatabasePage::enableServerBoxes()
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_host, m_port, m_database, m_user, m_test})
        w->setEnabled(m_server->isChecked());
}

void DatabasePage::testConnection()
{
    m_result->setText(QStringLiteral("Sınanıyor..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ServerCheck check = checkServer(choice().address());
    QApplication::restoreOverrideCursor();
    m_result->setText(check.ok() ? QStringLiteral("Bağlantı kuruldu.") : QStringLiteral("Bağlantı kurulamadı."));
    if (check.ok())
        ui().inform(this, QStringLiteral("Bağlantıyı sına"), check.message);
    else
        ui().error(this, QStringLiteral("Bağlantıyı sına"), check.message);
}

} // namespace tk
