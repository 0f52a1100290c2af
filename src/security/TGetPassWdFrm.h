#pragma once
// "Şifre Gir": asks for the password until it is right or the user gives up.
// Made for each use and discarded afterwards.
#include "security/PasswordStore.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tk {

class TGetPassWdFrm : public QDialog {
    Q_OBJECT
public:
    explicit TGetPassWdFrm(QWidget *parent = nullptr);

    // Shows the dialog modally; true when it closed with the right password.
    bool Execute(const StoredPassword &expected);

    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn1 = nullptr; // "TAMAM"
    QPushButton *BitBtn2 = nullptr; // "İptal"

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void BitBtn1Click();

private:
    StoredPassword m_expected;
};

} // namespace tk
