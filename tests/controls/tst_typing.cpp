// Typing rules of the edit boxes: Turkish upper case and word capitals,
// as functions and attached to real boxes.
#include "controls/TurkishTyping.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest>

namespace {

// Types each character as a key press carrying that text, the way a
// keyboard with Turkish letters delivers it.
void typeKeys(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

} // namespace

class TestTyping : public QObject {
    Q_OBJECT
private slots:
    void upperCaseRuleChangesOnlyItsLetters();
    void turkishUpCase();
    void wordCapitalRule();
    void upperCaseBox();
    void upperCaseLeavesPastedAndSetText();
    void upperCaseComposedCharacters();
    void upperCaseDropDownList();
    void wordCapitalBox();
};

void TestTyping::upperCaseRuleChangesOnlyItsLetters()
{
    const QString from = QStringLiteral("abcdefghijklmnoprstuvxyzıçğöüş");
    const QString to = QStringLiteral("ABCDEFGHİJKLMNOPRSTUVXYZIÇĞÖÜŞ");
    for (int i = 0; i < from.size(); ++i)
        QCOMPARE(tk::Edit1KeyPress(from[i]), to[i]);
    // Everything else of the Turkish code page and beyond is left as typed.
    for (char16_t u = 0; u < 0x250; ++u) {
        if (from.contains(QChar(u)))
            continue;
        QCOMPARE(tk::Edit1KeyPress(QChar(u)), QChar(u));
    }
}

void TestTyping::turkishUpCase()
{
    const QString from = QStringLiteral("abcdefghijklmnopqrstuvwxyzıçğöüş");
    const QString to = QStringLiteral("ABCDEFGHİJKLMNOPQRSTUVWXYZIÇĞÖÜŞ");
    for (int i = 0; i < from.size(); ++i)
        QCOMPARE(tk::TurkishUpCase(from[i]), to[i]);
    for (QChar c : QStringLiteral("AİIŞ19 .,-éâäß\b"))
        QCOMPARE(tk::TurkishUpCase(c), c);
}

void TestTyping::wordCapitalRule()
{
    using tk::DBEdit10KeyPress;
    QCOMPARE(DBEdit10KeyPress(QString(), 0, u'y'), QChar(u'Y'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("Yağ"), 3, u'd'), QChar(u'd'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("Yağ "), 4, u'i'), QChar(u'İ'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("Bitti."), 6, u'ş'), QChar(u'Ş'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("a "), 2, u'q'), QChar(u'Q'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("a,"), 2, u'q'), QChar(u'q'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("a "), 1, u'b'), QChar(u'b')); // caret before the blank
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("abc"), 0, u'x'), QChar(u'X'));
    QCOMPARE(DBEdit10KeyPress(QStringLiteral("a "), 2, u'5'), QChar(u'5'));
}

void TestTyping::upperCaseBox()
{
    QLineEdit box;
    QLineEdit plain;
    tk::attachUpperCaseTyping(&box);
    typeKeys(&box, QStringLiteral("şişli"));
    QCOMPARE(box.text(), QStringLiteral("ŞİŞLİ"));
    box.clear();
    typeKeys(&box, QStringLiteral("quiz"));
    QCOMPARE(box.text(), QStringLiteral("qUİZ"));
    box.clear();
    typeKeys(&box, QStringLiteral("34 ab-12ı"));
    QCOMPARE(box.text(), QStringLiteral("34 AB-12I"));

    int edits = 0;
    connect(&box, &QLineEdit::textEdited, [&edits] { ++edits; });
    typeKeys(&box, QStringLiteral("x"));
    QCOMPARE(edits, 1); // still an ordinary edit for whoever listens

    typeKeys(&plain, QStringLiteral("şişli")); // a box without the rule
    QCOMPARE(plain.text(), QStringLiteral("şişli"));
}

void TestTyping::upperCaseLeavesPastedAndSetText()
{
    QLineEdit box;
    tk::attachUpperCaseTyping(&box);
    box.setText(QStringLiteral("şişli"));
    QCOMPARE(box.text(), QStringLiteral("şişli"));
    box.insert(QStringLiteral(" quiz")); // what a paste does
    QCOMPARE(box.text(), QStringLiteral("şişli quiz"));
}

void TestTyping::upperCaseComposedCharacters()
{
    QLineEdit box;
    tk::attachUpperCaseTyping(&box);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("şi"));
    QApplication::sendEvent(&box, &commit);
    QCOMPARE(box.text(), QStringLiteral("Şİ"));
}

void TestTyping::upperCaseDropDownList()
{
    QComboBox list;
    list.setEditable(true);
    tk::attachUpperCaseTyping(&list);
    typeKeys(&list, QStringLiteral("şişli"));
    QCOMPARE(list.currentText(), QStringLiteral("ŞİŞLİ"));
}

void TestTyping::wordCapitalBox()
{
    QLineEdit box;
    tk::attachWordCapitalTyping(&box);
    typeKeys(&box, QStringLiteral("yağ değişimi. filtre"));
    QCOMPARE(box.text(), QStringLiteral("Yağ Değişimi. Filtre"));
    typeKeys(&box, QStringLiteral(" qw"));
    QCOMPARE(box.text(), QStringLiteral("Yağ Değişimi. Filtre Qw"));

    box.setText(QStringLiteral("balata"));
    box.setCursorPosition(0);
    typeKeys(&box, QStringLiteral("ön "));
    QCOMPARE(box.text(), QStringLiteral("Ön balata"));

    box.setText(QStringLiteral("a bc"));
    box.setSelection(2, 2); // typed over a selection right after a blank
    typeKeys(&box, QStringLiteral("i"));
    QCOMPARE(box.text(), QStringLiteral("a İ"));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(" ıi"));
    QApplication::sendEvent(&box, &commit);
    QCOMPARE(box.text(), QStringLiteral("a İ Ii"));
}

QTEST_MAIN(TestTyping)
#include "tst_typing.moc"
