#pragma once
// "Genel Ayarlar": the live store of the settings. Every user of a setting
// reads these controls at the moment it needs the value.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace tk {

class TAyarFrm : public QDialog {
    Q_OBJECT
public:
    // `protectionPage` fills the first tab (password protection); may be null.
    explicit TAyarFrm(QWidget *protectionPage, QWidget *parent = nullptr);

    // "Kdv", "Rp1" … "Rp11", "Mhs1", "Mhs2", "--P" ("1"/"0").
    QString setting(const QString &key) const;
    QLineEdit *box(const QString &key) const;
    QCheckBox *previewBox() const { return m_preview; }
    QTabWidget *pages() const { return m_tabs; }

signals:
    void okPressed();     // before the dialog closes
    void cancelPressed(); // before the dialog closes

private:
    QLineEdit *addBox(const QString &name, const QString &value, int width);

    QTabWidget *m_tabs;
    QCheckBox *m_preview;
};

} // namespace tk
