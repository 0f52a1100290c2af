#pragma once
// "Genel Ayarlar": the live store of the settings. Every user of a setting
// reads these controls at the moment it needs the value.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace tk {

class DatabasePage;
class ProtectionPage;

class TAyarFrm : public QDialog {
    Q_OBJECT
public:
    // The first tab, password protection, keeps its state in `winIniPath`;
    // the page "Veritabanı" keeps this desk's choice beside it (sunucu.ini).
    explicit TAyarFrm(const QString &winIniPath, QWidget *parent = nullptr);

    // "Kdv", "Rp1" … "Rp11", "Mhs1", "Mhs2", "--P" ("1"/"0").
    QString setting(const QString &key) const;
    QLineEdit *box(const QString &key) const;
    QCheckBox *previewBox() const { return m_preview; }
    QTabWidget *pages() const { return m_tabs; }
    ProtectionPage *protection() const { return m_protection; }
    DatabasePage *databasePage() const { return m_database; }

private:
    QLineEdit *addBox(const QString &name, const QString &value, int width);

    QTabWidget *m_tabs;
    QCheckBox *m_preview;
    ProtectionPage *m_protection;
    DatabasePage *m_database;
};

} // namespace tk
