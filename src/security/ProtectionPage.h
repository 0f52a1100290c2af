#pragma once
// The password page of the settings dialog: the protection check box and the
// button that sets or changes the password. The check box shows the flag as
// it will next be written; it is written by the dialog's "TAMAM" and at the
// end of the run, never by the click itself.
#include "security/PasswordStore.h"

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace tk {

class TPassWdFrm;

class ProtectionPage : public QWidget {
    Q_OBJECT
public:
    // Reads the stored state into the check box at once (the dialog's creation).
    explicit ProtectionPage(const QString &winIniPath, QWidget *parent = nullptr);

    // The caption of the settings dialog's tab holding this page.
    static QString tabCaption() { return QStringLiteral(" Şifre Aktivasyonu"); }

    PasswordStore &store() { return m_store; }

    // Check box := stored flag; enabled only when a password is stored.
    void LoadProtectionState();
    // Stored flag := check box. Throws tk::Error "Unable to write to <path>".
    void SaveProtectionState();
    // The gate with this store (see tk::CheckPassword).
    bool CheckPassword(bool onlyWhenActive);

    // For the settings dialog's "TAMAM": writes the flag. False when the write
    // was refused (the error has been shown); the dialog then stays open.
    bool OkBtnClick();
    // For the settings dialog's "İptal": undoes this opening's toggles.
    void CancelBtnClick();
    // At the end of a normal run: writes the flag; a refusal is shown and the
    // run still ends. Not called when the gate refused at start.
    void FormDestroy();

    QCheckBox *SifreChk = nullptr;
    QPushButton *ChangePasswdBtn = nullptr;
    TPassWdFrm *PassWdFrm = nullptr; // made once, reused

public slots:
    // Runs on the user's clicks only: the program's own changes of the box
    // (setChecked) do not reach it.
    void SifreChkClick();
    void ChangePasswdBtnClick();

private:
    PasswordStore m_store;
};

} // namespace tk
