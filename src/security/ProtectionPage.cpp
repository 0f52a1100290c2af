#include "ProtectionPage.h"

#include "PasswordGate.h"
#include "TPassWdFrm.h"
#include "core/UiSeam.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tk {

ProtectionPage::ProtectionPage(const QString &winIniPath, QWidget *parent)
    : QWidget(parent), m_store(winIniPath)
{
    setObjectName(QStringLiteral("ProtectionPage"));

    auto *upper = new QFrame(this);
    upper->setFrameShape(QFrame::StyledPanel);
    auto *text = new QLabel(
        QStringLiteral("Programa şifre koyarak başkalarının bilgilere ulaşmasını önleyebilirsiniz. "), upper);
    text->setWordWrap(true);
    auto *upperLayout = new QVBoxLayout(upper);
    upperLayout->addWidget(text);

    auto *lower = new QFrame(this);
    lower->setFrameShape(QFrame::StyledPanel);
    SifreChk = new QCheckBox(QStringLiteral("Şifre Korumasını Aktifleştir"), lower);
    SifreChk->setObjectName(QStringLiteral("SifreChk"));
    SifreChk->setAttribute(Qt::WA_Hover);
    ChangePasswdBtn = new QPushButton(QStringLiteral("Şifre Ata / Değiştir"), lower);
    ChangePasswdBtn->setObjectName(QStringLiteral("ChangePasswdBtn"));
    ChangePasswdBtn->setAutoDefault(false);
    auto *lowerLayout = new QHBoxLayout(lower);
    lowerLayout->addWidget(SifreChk);
    lowerLayout->addStretch();
    lowerLayout->addWidget(ChangePasswdBtn);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(upper);
    layout->addWidget(lower);
    layout->addStretch();

    PassWdFrm = new TPassWdFrm(this);

    // `clicked` comes from the user only, so setChecked below never runs the guard.
    connect(SifreChk, &QCheckBox::clicked, this, &ProtectionPage::SifreChkClick);
    connect(ChangePasswdBtn, &QPushButton::clicked, this, &ProtectionPage::ChangePasswdBtnClick);

    LoadProtectionState();
}

void ProtectionPage::LoadProtectionState()
{
    SifreChk->setChecked(m_store.IsProtectionActive());
    SifreChk->setEnabled(!m_store.ReadStoredPassword().isEmpty());
}

void ProtectionPage::SaveProtectionState()
{
    m_store.SaveProtectionState(SifreChk->isChecked());
}

bool ProtectionPage::CheckPassword(bool onlyWhenActive)
{
    return tk::CheckPassword(this, m_store, onlyWhenActive);
}

void ProtectionPage::SifreChkClick()
{
    // The box has already taken the new state; without the password it goes back.
    const bool wanted = SifreChk->isChecked();
    if (!CheckPassword(false))
        SifreChk->setChecked(!wanted);
}

void ProtectionPage::ChangePasswdBtnClick()
{
    guarded(this, [this] {
        if (!PassWdFrm->Execute(m_store.ReadStoredPassword()))
            return;
        const QString chosen = PassWdFrm->NewPassword();
        PassWdFrm->clearEntries();
        if (ui().ask(this, QStringLiteral("Onay"), QStringLiteral("Şu anki şifreyi değiştirmek istiyor musunuz?"), false)
            != UiSeam::Answer::Yes)
            return;
        m_store.WriteStoredPassword(chosen);
        SifreChk->setEnabled(true);
        SifreChk->setChecked(true);
    });
}

bool ProtectionPage::OkBtnClick()
{
    bool written = false;
    guarded(this, [&] {
        SaveProtectionState();
        written = true;
    });
    return written;
}

void ProtectionPage::CancelBtnClick()
{
    LoadProtectionState();
}

void ProtectionPage::FormDestroy()
{
    guarded(this, [this] { SaveProtectionState(); });
}

} // namespace tk
