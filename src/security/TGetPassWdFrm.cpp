#include "TGetPassWdFrm.h"

#include "PasswordDialogParts.h"
#include "core/UiSeam.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tk {

TGetPassWdFrm::TGetPassWdFrm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("GetPassWdFrm"));
    setWindowTitle(QStringLiteral("Şifre Gir"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *title = new ShadowTitle(QStringLiteral("VARDEL KAYIT PROGRAMI"), this);

    auto *box = new QFrame(this);
    box->setFrameShape(QFrame::StyledPanel);
    auto *label = new QLabel(QStringLiteral("Şifrenizi girin"), box);
    Edit1 = new QLineEdit(box);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(185);
    // Masked, unlike older versions that showed the password to onlookers.
    maskWithStars(Edit1);
    label->setBuddy(Edit1);
    auto *entry = new QVBoxLayout;
    entry->addWidget(label);
    entry->addWidget(Edit1);
    auto *boxLayout = new QHBoxLayout(box);
    boxLayout->addWidget(new KeyPicture(box), 0, Qt::AlignVCenter);
    boxLayout->addSpacing(8);
    boxLayout->addLayout(entry);
    boxLayout->addStretch();

    BitBtn1 = new QPushButton(QStringLiteral("TAMAM"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("İptal"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    // No default button: Enter in the entry box must not confirm.
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TGetPassWdFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(box);
    layout->addLayout(buttons);

    setFixedSize(QSize(330, 147).expandedTo(sizeHint()));
}

bool TGetPassWdFrm::Execute(const StoredPassword &expected)
{
    m_expected = expected;
    return exec() == QDialog::Accepted;
}

void TGetPassWdFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    Edit1->setFocus();
}

void TGetPassWdFrm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses a focused button and nothing else.
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TGetPassWdFrm::BitBtn1Click()
{
    if (!m_expected.matches(Edit1->text())) {
        ui().error(this, errorCaption(), QStringLiteral("Geçersiz şifre."));
        Edit1->setFocus();
        return;
    }
    accept();
}

} // namespace tk
