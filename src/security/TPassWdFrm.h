#pragma once
// "Şifre Değiştir": sets the first password or changes the current one.
// Made once and reused; it remembers the password it was opened with.
#include "security/PasswordStore.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tk {

class TPassWdFrm : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxPasswordLength = 15;

    explicit TPassWdFrm(QWidget *parent = nullptr);

    // Empties both boxes, lets the old one be typed into only when there is a
    // current password, shows modally; true when closed with "Tamam".
    bool Execute(const StoredPassword &current);
    QString NewPassword() const;
    // Forgets what was typed once it is no longer needed.
    void clearEntries();

    QLineEdit *EdtEskiSifre = nullptr;
    QLineEdit *EdtYeniSifre = nullptr;
    QPushButton *BitBtn1 = nullptr; // "Tamam", the default button
    QPushButton *BitBtn2 = nullptr; // "İptal"

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void BitBtn1Click();

private:
    StoredPassword m_current;
};

} // namespace tk
