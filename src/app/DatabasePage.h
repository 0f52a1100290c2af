#pragma once
// The settings page "Veritabanı": this desk's books in the Data.dat or on a
// PostgreSQL server, the server's host, port, database and user, and
// "Bağlantıyı sına", which tries them and says what failed.
#include "DatabaseChoice.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tk {

class DatabasePage : public QWidget {
    Q_OBJECT
public:
    // Shows the choice kept in `configFolder`.
    explicit DatabasePage(const QString &configFolder, QWidget *parent = nullptr);

    static QString tabCaption() { return QStringLiteral("Veritabanı"); }

    DatabaseChoice choice() const;
    void showChoice(const DatabaseChoice &choice);
    // Keeps the boxes' choice in sunucu.ini (it takes effect at the next start).
    void save() const;
    // The boxes as last saved.
    void revert();

private:
    void testConnection();
    void enableServerBoxes();

    QString m_configFolder;
    QRadioButton *m_file = nullptr;
    QRadioButton *m_server = nullptr;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QPushButton *m_test = nullptr;
    QLabel *m_result = nullptr;
};

} // namespace tk
