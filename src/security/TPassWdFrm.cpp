#include "TPassWdFrm.h"

#include "PasswordDialogParts.h"
#include "core/UiSeam.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tk {

namespace {

QLineEdit *passwordBox(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(169);
    edit->setMaxLength(TPassWdFrm::MaxPasswordLength);
    maskWithStars(edit);
    return edit;
}

// The outermost window above `w`: the main window when the dialog sits in it.
QWidget *mainWindowOf(QWidget *w)
{
    QWidget *top = w ? w->window() : nullptr;
    while (top && top->parentWidget())
        top = top->parentWidget()->window();
    return top;
}

} // namespace

TPassWdFrm::TPassWdFrm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PassWdFrm"));
    setWindowTitle(QStringLiteral("Şifre Değiştir"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *box = new QFrame(this);
    box->setFrameShape(QFrame::StyledPanel);
    EdtEskiSifre = passwordBox("EdtEskiSifre", box);
    EdtYeniSifre = passwordBox("EdtYeniSifre", box);
    auto *oldLabel = new QLabel(QStringLiteral("Eski Şifre:"), box);
    auto *newLabel = new QLabel(QStringLiteral("Yeni Şifre:"), box);
    oldLabel->setBuddy(EdtEskiSifre);
    newLabel->setBuddy(EdtYeniSifre);
    auto *grid = new QGridLayout(box);
    grid->addWidget(oldLabel, 0, 0);
    grid->addWidget(EdtEskiSifre, 0, 1);
    grid->addWidget(newLabel, 1, 0);
    grid->addWidget(EdtYeniSifre, 1, 1);

    BitBtn1 = new QPushButton(QStringLiteral("Tamam"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("İptal"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(BitBtn1, &QPushButton::clicked, this, &TPassWdFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);

    setFixedSize(QSize(268, 119).expandedTo(sizeHint()));
}

bool TPassWdFrm::Execute(const StoredPassword &current)
{
    m_current = current;
    clearEntries();
    EdtEskiSifre->setEnabled(!current.isEmpty());
    return exec() == QDialog::Accepted;
}

QString TPassWdFrm::NewPassword() const
{
    return EdtYeniSifre->text();
}

void TPassWdFrm::clearEntries()
{
    EdtEskiSifre->clear();
    EdtYeniSifre->clear();
}

void TPassWdFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QWidget *main = mainWindowOf(parentWidget()); main && main != this) {
        QRect frame = frameGeometry();
        frame.moveCenter(main->frameGeometry().center());
        move(frame.topLeft());
    }
    (m_current.isEmpty() ? EdtYeniSifre : EdtEskiSifre)->setFocus();
}

void TPassWdFrm::BitBtn1Click()
{
    // Without a current password anything goes, an empty one included.
    if (!m_current.isEmpty()) {
        if (!m_current.matches(EdtEskiSifre->text())) {
            ui().error(this, errorCaption(), QStringLiteral("Geçersiz şifre."));
            EdtEskiSifre->setFocus();
            return;
        }
        if (EdtYeniSifre->text().isEmpty()) {
            ui().error(this, errorCaption(), QStringLiteral("Şifre olarak boşluk giremezsiniz"));
            EdtYeniSifre->setFocus();
            return;
        }
    }
    accept();
}

} // namespace tk
