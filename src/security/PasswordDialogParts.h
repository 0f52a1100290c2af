#pragma once
// Small pieces the two password dialogs share.
#include <QWidget>

class QLineEdit;

namespace tk {

// A title drawn twice: a silver copy 3 pixels right and 4 down behind a grey one.
class ShadowTitle : public QWidget {
public:
    ShadowTitle(const QString &text, QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

// The 32 x 32 key picture beside the entry box.
class KeyPicture : public QWidget {
public:
    explicit KeyPicture(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Masks a password box with '*' whatever the style's own mask character.
void maskWithStars(QLineEdit *edit);

// Caption of the program's error boxes.
inline QString errorCaption() { return QStringLiteral("Hata"); }

} // namespace tk
