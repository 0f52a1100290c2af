// The numeric entry field as a widget: settings and their rules, the
// cash-register typing, focus moves and colours.
#include "controls/QiroEdit.h"
#include "controls/QiroNumber.h"

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <QtTest>

using tk::TQiroEdit;

namespace {

// A field as the pages set it up: currency, 20 characters, two decimals.
void makeAmountField(TQiroEdit &e)
{
    e.setQiroEditType(TQiroEdit::CurrencyType);
    e.setQiroMaxLength(20);
    e.setDecimals(2);
    e.setText(QStringLiteral("0,00"));
}

// Text with the caret shown as "|", or the selection as "[...]".
QString shown(const TQiroEdit &e)
{
    QString t = e.text();
    if (e.hasSelectedText()) {
        const int s = e.selectionStart();
        return t.insert(s + e.selectedText().size(), u']').insert(s, u'[');
    }
    return t.insert(e.cursorPosition(), u'|');
}

void type(TQiroEdit &e, const QString &keys)
{
    for (QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(&e, Qt::Key_Backspace);
        else
            QTest::keyClick(&e, c.toLatin1());
    }
}

} // namespace

class TestQiroEdit : public QObject {
    Q_OBJECT
private slots:
    void startsAsPlainTextBox();
    void settingsAppliedInStoredOrder();
    void valueIsFormattedAndRoundedBack();
    void textIsReadByItsLastDigits();
    void decimalsAndMaxLengthRules();
    void textTypeIgnoresDecimalsAndSymbol();
    void switchingBackToTextClears();
    void workedTypingExample();
    void integerDigitsStopAtMaxLength();
    void separatorsAreSkippedByBackspaceAndDelete();
    void deleteInTheFraction();
    void commaMinusAndPlus();
    void selectionRules();
    void wholeTextReset();
    void noDecimalsTyping();
    void readOnlyFieldIgnoresTyping();
    void anyKeysLeaveAFormattedAmount();
    void focusMovesArePosted();
    void focusColoursAndSuffix();
    void pointerColours();
};

void TestQiroEdit::startsAsPlainTextBox()
{
    TQiroEdit e;
    QVERIFY(e.about().startsWith(QStringLiteral("[ QiroEdit 3.0 ]")));
    QCOMPARE(e.qiroEditType(), TQiroEdit::TextType);
    QCOMPARE(e.currencySymbol(), TQiroEdit::TCurrSymbolSet::None);
    QCOMPARE(e.qiroMaxLength(), 20);
    QCOMPARE(e.decimals(), 0);
    QVERIFY(e.passingControl());
    QCOMPARE(e.activeFontColor(), QColor(Qt::red));
    QCOMPARE(e.activeSoilColor(), e.palette().color(QPalette::Base));
    QCOMPARE(e.displayFormat(), QString());
    QCOMPARE(e.size(), QSize(120, 24));
    QVERIFY(e.alignment() & Qt::AlignRight);
    // Reachable by the names a form description uses.
    QVERIFY(e.setProperty("Decimals", 2)); // ignored: still a text box
    QCOMPARE(e.property("Decimals").toInt(), 0);
}

void TestQiroEdit::settingsAppliedInStoredOrder()
{
    TQiroEdit e;
    e.setQiroEditType(TQiroEdit::CurrencyType);
    QCOMPARE(e.displayFormat(), QStringLiteral("#,##0"));
    QCOMPARE(e.text(), QStringLiteral("0"));
    QVERIFY(e.alignment() & Qt::AlignRight);
    e.setQiroMaxLength(20);
    e.setDecimals(2);
    QCOMPARE(e.displayFormat(), QStringLiteral("#,##0.00"));
    QCOMPARE(e.text(), QStringLiteral("0,00"));
    QCOMPARE(e.qiroMaxLength(), 20);
}

void TestQiroEdit::valueIsFormattedAndRoundedBack()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setTextAsFloat(2.5);
    QCOMPARE(e.text(), QStringLiteral("2,50"));
    e.setTextAsFloat(1234.567);
    QCOMPARE(e.text(), QStringLiteral("1.234,57"));
    QVERIFY(e.textAsFloat() == 1234.57);
    e.setTextAsFloat(-0.125);
    QCOMPARE(e.text(), QStringLiteral("-0,13"));
    e.setTextAsFloat(18 * 0.25 / 100);
    QCOMPARE(e.text(), QStringLiteral("0,05"));
    QVERIFY(e.textAsFloat() == 0.05);
    e.setTextAsFloat(1234); // a page total
    QCOMPARE(e.text(), QStringLiteral("1.234,00"));
}

void TestQiroEdit::textIsReadByItsLastDigits()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setText(QStringLiteral("12,5")); // stored as given
    QCOMPARE(e.text(), QStringLiteral("12,5"));
    QVERIFY(e.textAsFloat() == 1.25);
    e.setText(QString());
    QCOMPARE(e.textAsFloat(), 0.0);
    e.setDecimals(2);
    QCOMPARE(e.text(), QStringLiteral("0,00"));
}

void TestQiroEdit::decimalsAndMaxLengthRules()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setDecimals(19); // not below MaxLength − 1
    QCOMPARE(e.decimals(), 2);
    e.setQiroMaxLength(22);
    QCOMPARE(e.qiroMaxLength(), 20);
    e.setQiroMaxLength(3); // must exceed Decimals + 1
    QCOMPARE(e.qiroMaxLength(), 20);

    e.setDecimals(3); // 20 − 3 − 1 is a multiple of 4
    QCOMPARE(e.decimals(), 3);
    QCOMPARE(e.qiroMaxLength(), 19);
    QCOMPARE(e.text(), QStringLiteral("0,000"));
    e.setDecimals(2); // 19 − 2 − 1 is a multiple of 4 again
    QCOMPARE(e.qiroMaxLength(), 18);
    e.setDecimals(1); // 18 − 1 − 1: lowered once more, never raised
    QCOMPARE(e.qiroMaxLength(), 17);
    e.setDecimals(2);
    QCOMPARE(e.qiroMaxLength(), 17);

    TQiroEdit whole;
    whole.setQiroEditType(TQiroEdit::CurrencyType);
    whole.setQiroMaxLength(21); // 21 − 0 − 1 is a multiple of 4
    QCOMPARE(whole.qiroMaxLength(), 20);
    QCOMPARE(whole.decimals(), 0);
    whole.setDecimals(-1);
    QCOMPARE(whole.decimals(), 0);
    QCOMPARE(whole.displayFormat(), QStringLiteral("#,##0"));
}

void TestQiroEdit::textTypeIgnoresDecimalsAndSymbol()
{
    TQiroEdit e;
    e.setText(QStringLiteral("abc"));
    e.setDecimals(2);
    QCOMPARE(e.decimals(), 0);
    QCOMPARE(e.text(), QStringLiteral("abc"));
    e.setCurrencySymbol(TQiroEdit::TCurrSymbolSet::TL);
    QCOMPARE(e.text(), QStringLiteral("abc"));
    QTest::keyClicks(&e, QStringLiteral("x5,-"));
    QCOMPARE(e.text(), QStringLiteral("abcx5,-"));
    e.setTextAsFloat(2.5); // only a currency field takes a value
    QCOMPARE(e.text(), QStringLiteral("abcx5,-"));
    QVERIFY(e.alignment() & Qt::AlignLeft);
}

void TestQiroEdit::switchingBackToTextClears()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setCurrencySymbol(TQiroEdit::TCurrSymbolSet::TL);
    e.setTextAsFloat(5);
    QCOMPARE(e.text(), QStringLiteral("5,00 TL"));
    QVERIFY(e.textAsFloat() == 5.0);
    e.setQiroEditType(TQiroEdit::TextType);
    QCOMPARE(e.text(), QString());
    QCOMPARE(e.currencySymbol(), TQiroEdit::TCurrSymbolSet::None);
    QVERIFY(e.alignment() & Qt::AlignLeft);
}

void TestQiroEdit::workedTypingExample()
{
    TQiroEdit e;
    makeAmountField(e);
    e.selectAll(); // as on gaining focus
    type(e, QStringLiteral("5"));
    QCOMPARE(shown(e), QStringLiteral("5|,00"));
    type(e, QStringLiteral("3"));
    QCOMPARE(shown(e), QStringLiteral("53|,00"));
    type(e, QStringLiteral(","));
    QCOMPARE(shown(e), QStringLiteral("53,|00"));
    type(e, QStringLiteral("7"));
    QCOMPARE(shown(e), QStringLiteral("53,7|0"));
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("53,|00"));
    type(e, QStringLiteral("-"));
    QCOMPARE(shown(e), QStringLiteral("-53,|00"));
    QVERIFY(e.textAsFloat() == -53.0);
}

void TestQiroEdit::integerDigitsStopAtMaxLength()
{
    TQiroEdit e;
    makeAmountField(e);
    e.selectAll();
    type(e, QString(20, u'9'));
    // Thirteen digits fill the 20 characters; the rest are ignored silently.
    QCOMPARE(shown(e), QStringLiteral("9.999.999.999.999|,00"));
    QCOMPARE(e.text().size(), 20);
    type(e, QStringLiteral(",12"));
    QCOMPARE(shown(e), QStringLiteral("9.999.999.999.999,12|"));
    e.setCursorPosition(18);
    type(e, QStringLiteral("4"));
    QCOMPARE(e.text(), QStringLiteral("9.999.999.999.999,42"));
    // One character less, and one more digit fits.
    e.setText(QStringLiteral("999.999.999.999,00"));
    e.setCursorPosition(15);
    type(e, QStringLiteral("12"));
    QCOMPARE(shown(e), QStringLiteral("9.999.999.999.991|,00"));
}

void TestQiroEdit::separatorsAreSkippedByBackspaceAndDelete()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setText(QStringLiteral("1.234,00"));
    e.setCursorPosition(2); // just right of the thousands separator
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("|234,00"));

    e.setText(QStringLiteral("1.234,00"));
    e.setCursorPosition(1); // just left of it
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(shown(e), QStringLiteral("1|34,00"));

    e.setText(QStringLiteral("1.234,00"));
    e.setCursorPosition(5); // before the decimal separator
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("123|,00"));

    e.setText(QStringLiteral("53,70"));
    e.setCursorPosition(3); // just after the decimal separator
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("5|,70"));
}

void TestQiroEdit::deleteInTheFraction()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setText(QStringLiteral("53,78"));
    e.setCursorPosition(2); // before the separator: steps over it
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(shown(e), QStringLiteral("53,0|8"));
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(shown(e), QStringLiteral("53,00|"));
    QTest::keyClick(&e, Qt::Key_Delete); // at the right end nothing happens
    QCOMPARE(shown(e), QStringLiteral("53,00|"));
    type(e, QStringLiteral("9")); // nor does a digit
    QCOMPARE(shown(e), QStringLiteral("53,00|"));
}

void TestQiroEdit::commaMinusAndPlus()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setText(QStringLiteral("1.234,56"));
    e.setCursorPosition(1);
    type(e, QStringLiteral(",,"));
    QCOMPARE(shown(e), QStringLiteral("1.234,|56"));
    type(e, QStringLiteral("."));
    QCOMPARE(shown(e), QStringLiteral("1.234,|56"));
    type(e, QStringLiteral("+"));
    QCOMPARE(e.text(), QStringLiteral("1.234,56"));
    type(e, QStringLiteral("-"));
    QCOMPARE(shown(e), QStringLiteral("-1.234,|56"));
    type(e, QStringLiteral("-"));
    QCOMPARE(e.text(), QStringLiteral("-1.234,56"));
    type(e, QStringLiteral("+"));
    QCOMPARE(shown(e), QStringLiteral("1.234,|56"));
    type(e, QStringLiteral("x")); // other characters change nothing
    QCOMPARE(shown(e), QStringLiteral("1.234,|56"));
}

void TestQiroEdit::selectionRules()
{
    TQiroEdit e;
    makeAmountField(e);
    // From the integer part to the end of the fraction.
    e.setText(QStringLiteral("1.234,56"));
    e.setSelection(2, 6);
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("1|,00"));
    e.setText(QStringLiteral("1.234,56"));
    e.setSelection(2, 6);
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(shown(e), QStringLiteral("1|,00"));

    // Ending inside the fraction: the selected digits become zeros, and no
    // digit moves to another place.
    e.setText(QStringLiteral("53,78"));
    e.setSelection(3, 1);
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("53,0|8"));
    e.setText(QStringLiteral("53,78"));
    e.setSelection(1, 3);
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(e.text(), QStringLiteral("50,08"));

    // Inside the integer part: deleted.
    e.setText(QStringLiteral("1.234,56"));
    e.setSelection(2, 2);
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("1|4,56"));

    // A digit typed over a selection goes in at its end; the selection stays.
    e.setText(QStringLiteral("1.234,56"));
    e.setSelection(2, 2);
    type(e, QStringLiteral("9"));
    QCOMPARE(e.text(), QStringLiteral("12.394,56"));
}

void TestQiroEdit::wholeTextReset()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setText(QStringLiteral("1.234,56"));
    e.selectAll();
    QTest::keyClick(&e, Qt::Key_Home); // moving keys keep the amount
    QCOMPARE(e.text(), QStringLiteral("1.234,56"));
    e.selectAll();
    QTest::keyClick(&e, Qt::Key_C, Qt::ControlModifier); // so does copying
    QCOMPARE(e.text(), QStringLiteral("1.234,56"));
    QApplication::clipboard()->setText(QStringLiteral("98765"));
    e.selectAll();
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier); // pasted digits read like typed ones
    QCOMPARE(e.text(), QStringLiteral("987,65"));
    e.setText(QStringLiteral("1.234,56"));
    e.selectAll();
    QTest::keyClick(&e, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(e.text(), QStringLiteral("-1.234,56"));
    e.selectAll();
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(shown(e), QStringLiteral("0|,00"));
    e.setText(QStringLiteral("1.234,56"));
    e.selectAll();
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("0|,00"));
    e.setText(QString()); // an empty text counts as all selected
    type(e, QStringLiteral("7"));
    QCOMPARE(shown(e), QStringLiteral("7|,00"));
    e.selectAll(); // a minus first: the amount typed after it is negative
    type(e, QStringLiteral("-53"));
    QCOMPARE(shown(e), QStringLiteral("-53|,00"));
    QVERIFY(e.textAsFloat() == -53.0);
}

void TestQiroEdit::noDecimalsTyping()
{
    TQiroEdit e;
    e.setQiroEditType(TQiroEdit::CurrencyType);
    e.selectAll();
    type(e, QStringLiteral("1234"));
    QCOMPARE(shown(e), QStringLiteral("1.234|"));
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("123|"));
    e.setText(QStringLiteral("1.234"));
    e.setCursorPosition(2);
    type(e, QStringLiteral("\b"));
    QCOMPARE(shown(e), QStringLiteral("|234"));
    e.setText(QStringLiteral("1.234"));
    e.setCursorPosition(1);
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(shown(e), QStringLiteral("1|34"));
    e.setCursorPosition(0);
    type(e, QStringLiteral(","));
    QCOMPARE(shown(e), QStringLiteral("134|"));
    e.setSelection(1, 1);
    QTest::keyClick(&e, Qt::Key_Delete); // the selection becomes a zero
    QCOMPARE(e.text(), QStringLiteral("104"));
}

void TestQiroEdit::readOnlyFieldIgnoresTyping()
{
    TQiroEdit e;
    makeAmountField(e);
    e.setTextAsFloat(12.5);
    e.setReadOnly(true);
    e.selectAll();
    type(e, QStringLiteral("9\b-"));
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(e.text(), QStringLiteral("12,50"));
}

void TestQiroEdit::anyKeysLeaveAFormattedAmount()
{
    // Random keys, carets and selections: whatever happens, the field shows a
    // formatted amount that fits its length (a sign, and with no decimals the
    // separator the last digit brings, may add one character each).
    const QList<int> keys = {Qt::Key_0, Qt::Key_5, Qt::Key_9, Qt::Key_Comma, Qt::Key_Period,
                             Qt::Key_Minus, Qt::Key_Plus, Qt::Key_Backspace, Qt::Key_Delete,
                             Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_X};
    QRandomGenerator random(20240601);
    for (int decimals : {0, 1, 2, 3}) {
        TQiroEdit e;
        e.setQiroEditType(TQiroEdit::CurrencyType);
        e.setQiroMaxLength(20);
        e.setDecimals(decimals);
        for (int step = 0; step < 3000; ++step) {
            const int length = int(e.text().size());
            const int from = random.bounded(length + 1);
            if (random.bounded(4) == 0)
                e.setSelection(from, random.bounded(length - from + 1));
            else
                e.setCursorPosition(from);
            const auto key = Qt::Key(keys[random.bounded(int(keys.size()))]);
            QTest::keyClick(&e, key);
            const QString text = e.text();
            QVERIFY2(text == tk::QiroNumber::reformat(text, decimals), qPrintable(text));
            QVERIFY2(text.size() <= e.qiroMaxLength() + (decimals == 0 ? 2 : 1), qPrintable(text));
        }
    }
}

void TestQiroEdit::focusMovesArePosted()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *before = new QLineEdit(&window);
    auto *field = new TQiroEdit(&window);
    auto *after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(field);
    layout->addWidget(after);
    makeAmountField(*field);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    field->setFocus();
    QVERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(field->hasFocus()); // not yet: the move waits for the queue
    QTRY_VERIFY(after->hasFocus());
    QCOMPARE(field->text(), QStringLiteral("0,00"));

    field->setFocus();
    QTest::keyClick(field, Qt::Key_Up);
    QTRY_VERIFY(before->hasFocus());
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Down);
    QTRY_VERIFY(after->hasFocus());

    field->setPassingControl(false);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Down);
    QCoreApplication::processEvents();
    QVERIFY(field->hasFocus());
}

void TestQiroEdit::focusColoursAndSuffix()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new TQiroEdit(&window);
    auto *other = new QLineEdit(&window);
    layout->addWidget(field);
    layout->addWidget(other);
    makeAmountField(*field);
    field->setActiveSoilColor(Qt::yellow);
    field->setCurrencySymbol(TQiroEdit::TCurrSymbolSet::TL);
    field->setTextAsFloat(1234.5);
    QCOMPARE(field->text(), QStringLiteral("1.234,50 TL"));
    const QColor font = field->palette().color(QPalette::Text);
    const QColor soil = field->palette().color(QPalette::Base);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    other->setFocus();
    field->setFocus();
    QCOMPARE(shown(*field), QStringLiteral("[1.234,50]"));
    QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::yellow));
    QVERIFY(field->textAsFloat() == 1234.5);

    other->setFocus();
    QCOMPARE(field->text(), QStringLiteral("1.234,50 TL"));
    QCOMPARE(field->palette().color(QPalette::Text), font);
    QCOMPARE(field->palette().color(QPalette::Base), soil);
    QVERIFY(field->textAsFloat() == 1234.5);

    // A symbol change keeps the amount and swaps the suffix.
    field->setCurrencySymbol(TQiroEdit::TCurrSymbolSet::EURO);
    QCOMPARE(field->text(), QStringLiteral("1.234,50 €"));
}

void TestQiroEdit::pointerColours()
{
    TQiroEdit e;
    makeAmountField(e);
    const QColor font = e.palette().color(QPalette::Text);
    const QColor soil = e.palette().color(QPalette::Base);
    e.setActiveSoilColor(Qt::cyan);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&e, &enter);
    QCOMPARE(e.palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(e.palette().color(QPalette::Base), QColor(Qt::cyan));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&e, &leave);
    QCOMPARE(e.palette().color(QPalette::Text), font);
    QCOMPARE(e.palette().color(QPalette::Base), soil);
}

QTEST_MAIN(TestQiroEdit)
#include "tst_qiroedit.moc"
