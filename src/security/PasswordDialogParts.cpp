#include "PasswordDialogParts.h"

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace tk {

namespace {

QFont titleFont(const QFont &base)
{
    QFont font = base;
    font.setBold(true);
    font.setPixelSize(19);
    return font;
}

constexpr int kShadowDx = 3;
constexpr int kShadowDy = 4;

} // namespace

ShadowTitle::ShadowTitle(const QString &text, QWidget *parent)
    : QWidget(parent), m_text(text)
{
    setFont(titleFont(font()));
    setAccessibleName(text);
}

QSize ShadowTitle::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(m_text) + kShadowDx + 4, fm.height() + kShadowDy + 2};
}

void ShadowTitle::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setFont(font());
    const QRect area = rect().adjusted(0, 0, -kShadowDx, -kShadowDy);
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawText(area.translated(kShadowDx, kShadowDy), Qt::AlignCenter, m_text);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawText(area, Qt::AlignCenter, m_text);
}

KeyPicture::KeyPicture(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(32, 32);
}

void KeyPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor gold(0xC8, 0x9B, 0x1E);
    p.setPen(QPen(gold.darker(150), 1.5));
    p.setBrush(gold);
    // Bow, shaft and two teeth.
    QPainterPath key;
    key.addEllipse(QRectF(3, 9, 13, 13));
    key.addRect(QRectF(14, 13.5, 15, 4));
    key.addRect(QRectF(22, 17, 3, 5));
    key.addRect(QRectF(26, 17, 3, 4));
    p.drawPath(key.simplified());
    p.setBrush(palette().window());
    p.drawEllipse(QRectF(6.5, 12.5, 5, 5));
}

void maskWithStars(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

} // namespace tk
