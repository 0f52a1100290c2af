// The keyboard on the real main window: Ctrl+1 … Ctrl+0 open the pages, and
// the record tool bar keys reach the tool bar of the part that has the focus,
// while an edit box and a list keep the keys they use themselves.
#include "support/PagesFormKit.h"
#include "controls/Hints.h"

#include <QTableView>

using namespace tk;
using tk::test::PageForm;
using tk::test::TempDatabase;
using tk::test::typeText;

namespace {

// Presses a key on the control that has the focus, through the window's shortcuts as a keyboard would.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(key), modifiers);
}

QString toolTip(PageForm &f, const char *button) { return f.child<QAbstractButton>(button)->toolTip(); }

// The tool bar button of a dataset action, as it is on the tool bar.
QAbstractButton *actionButton(PageForm &f, const char *toolBar, const char *action)
{
    auto *bar = f.child<QToolBar>(toolBar);
    return qobject_cast<QAbstractButton *>(bar->widgetForAction(f.form->findChild<QAction *>(QLatin1String(action))));
}

void focusOn(QWidget *w)
{
    w->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), w);
}

} // namespace

class KeysTest : public QObject {
    Q_OBJECT
private slots:
    void pageKeysOpenTheTenPagesAndShowInTheHints();
    void toolTipsShowTheKeys();
    void keysInAnEditBox();
    void keysInAList();
    void keysReachThePartWithTheFocus();
    void ctrlDelReachesTheToolBarWhereNoControlUsesIt();
};

void KeysTest::pageKeysOpenTheTenPagesAndShowInTheHints()
{
    PageForm f(0);
    const char *const buttons[] = {"RzButton1", "RzButton2", "RzButton3", "RzButton4", "RzButton5",
                                   "RzButton10", "RzButton9", "RzButton8", "RzButton7", "RzButton6"};
    auto *pages = f.form->findChild<QTabWidget *>(QStringLiteral("RzPageControl1"));
    focusOn(f.box("DBEdit2"));
    for (int i : {5, 9, 1, 0, 2, 3, 4, 6, 7, 8}) {
        press(Qt::Key_0 + (i + 1) % 10);
        QCOMPARE(pages->currentIndex(), i);
        for (int t = 0; t < pages->count(); ++t)
            QCOMPARE(pages->tabBar()->isTabVisible(t), t == i);
        f.form->statusRefresh();
        auto *button = f.form->findChild<QPushButton *>(QLatin1String(buttons[i]));
        QVERIFY(!button->isEnabled());
        const QString hint = effectiveLongHint(button);
        QVERIFY2(hint.endsWith(QStringLiteral("(Ctrl+%1)").arg((i + 1) % 10)), qPrintable(hint));
        // Typing goes on the shown page at once.
        QVERIFY(pages->currentWidget()->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(button->focusPolicy() == Qt::ClickFocus); // still off the Tab chain
    }
}

void KeysTest::toolTipsShowTheKeys()
{
    PageForm f(0, TempDatabase::Demo);
    QCOMPARE(toolTip(f, "ToolButton1"), QStringLiteral("Yeni Kayıt Ekle (Ctrl+N)"));
    QCOMPARE(toolTip(f, "ToolButton2"), QStringLiteral("Kayıt Sil (Ctrl+Del)"));
    QCOMPARE(actionButton(f, "ToolBar2", "MusPost")->toolTip(), QStringLiteral("Kaydet (Ctrl+S)"));
    QCOMPARE(actionButton(f, "ToolBar2", "MusCancel")->toolTip(), QStringLiteral("İptal (Esc)"));
    QCOMPARE(actionButton(f, "ToolBar3", "MusFirst1")->toolTip(), QStringLiteral("İlk Kayıt (Ctrl+Home)"));
    QCOMPARE(actionButton(f, "ToolBar3", "MusPrior1")->toolTip(), QStringLiteral("Önceki Kayıt (Ctrl+PgUp)"));
    QCOMPARE(actionButton(f, "ToolBar3", "MusNext1")->toolTip(), QStringLiteral("Sonraki Kayıt (Ctrl+PgDn)"));
    // An enabled-state change of the action keeps the key in the tip.
    f.trigger("MusLast");
    QCOMPARE(actionButton(f, "ToolBar2", "MusLast")->toolTip(), QStringLiteral("Son Kayıt (Ctrl+End)"));
    // Every one of the eighteen tool bars has its keys.
    for (QToolBar *bar : f.form->findChildren<QToolBar *>()) {
        if (!bar->objectName().startsWith(QLatin1String("ToolBar")))
            continue;
        for (QAction *a : bar->actions()) {
            auto *b = qobject_cast<QAbstractButton *>(bar->widgetForAction(a));
            if (b)
                QVERIFY2(b->toolTip().contains(QLatin1String("(Ctrl+")) || b->toolTip().endsWith(QLatin1String("(Esc)")),
                         qPrintable(bar->objectName() + QLatin1Char(' ') + b->toolTip()));
        }
    }
}

void KeysTest::keysInAnEditBox()
{
    PageForm f(0, TempDatabase::Demo);
    Dataset *jobs = f.dataset("MusTakip");
    QLineEdit *plate = f.box("DBEdit2");
    focusOn(plate);
    const QString first = plate->text();

    press(Qt::Key_PageDown);
    QCOMPARE(jobs->currentRow(), 1);
    press(Qt::Key_PageUp);
    QCOMPARE(jobs->currentRow(), 0);
    QCOMPARE(plate->text(), first);

    // Ctrl+End and Ctrl+Home move the caret, not the record.
    plate->setCursorPosition(2);
    press(Qt::Key_End);
    QCOMPARE(plate->cursorPosition(), plate->text().size());
    QCOMPARE(jobs->currentRow(), 0);
    press(Qt::Key_Home);
    QCOMPARE(plate->cursorPosition(), 0);
    QCOMPARE(jobs->currentRow(), 0);
    QCOMPARE(plate->text(), first);

    // Ctrl+Del, which the box leaves alone, asks the tool bar's delete question; No keeps the record.
    const int rows = jobs->rowCount();
    press(Qt::Key_Delete);
    QCOMPARE(f.ui.texts(QStringLiteral("ask")),
             QStringList(QLatin1Char('\'') + first + QStringLiteral("' plaka/isim içeren tüm bilgiler silinecek. Onaylıyor musunuz?")));
    QCOMPARE(jobs->rowCount(), rows);
    QCOMPARE(plate->text(), first);

    // Shift with Ctrl+End selects to the end, as in any box.
    plate->setCursorPosition(3);
    press(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(plate->selectedText(), first.mid(3));
    QCOMPARE(jobs->currentRow(), 0);
    typeText(plate, QStringLiteral("X"));
    QVERIFY(jobs->isEditing());

    // Esc cancels the edit.
    QCOMPARE(plate->text(), first.left(3) + QStringLiteral("X"));
    press(Qt::Key_Escape, Qt::NoModifier);
    QVERIFY(!jobs->isEditing());
    QCOMPARE(plate->text(), first);

    // Ctrl+S saves what was typed.
    f.type("DBEdit2", QStringLiteral("34 KEY 01"));
    press(Qt::Key_S);
    QVERIFY(!jobs->isEditing());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT COUNT(*) FROM MusTakip WHERE AracPlaka = '34 KEY 01'")).toInt(), 1);

    // Ctrl+N adds a record and puts the focus in its first box.
    press(Qt::Key_N);
    QCOMPARE(jobs->state(), Dataset::State::Insert);
    QCOMPARE(jobs->rowCount(), rows + 1);
    QCOMPARE(QApplication::focusWidget(), f.box("DBEdit1"));
    press(Qt::Key_Escape, Qt::NoModifier);
    QCOMPARE(jobs->rowCount(), rows);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT COUNT(*) FROM MusTakip")).toInt(), rows);
}

void KeysTest::keysInAList()
{
    PageForm f(0, TempDatabase::Demo);
    Dataset *jobs = f.dataset("MusTakip");
    auto *list = f.child<QTableView>("SrDBGrid1");
    focusOn(list);
    const int rows = jobs->rowCount();
    QVERIFY(rows >= 3);

    press(Qt::Key_End);
    QCOMPARE(jobs->currentRow(), rows - 1);
    press(Qt::Key_PageUp);
    QCOMPARE(jobs->currentRow(), rows - 2);
    press(Qt::Key_Home);
    QCOMPARE(jobs->currentRow(), 0);
    press(Qt::Key_PageDown);
    QCOMPARE(jobs->currentRow(), 1);
    QCOMPARE(list->currentIndex().row(), 1);

    // Ctrl+Del stays the list's own delete, with the list's question; Cancel keeps the record.
    press(Qt::Key_Delete);
    QCOMPARE(f.ui.texts(QStringLiteral("confirm")), QStringList(QStringLiteral("Delete record?")));
    QVERIFY(f.ui.texts(QStringLiteral("ask")).isEmpty());
    QCOMPARE(jobs->rowCount(), rows);

    // A change typed in a box, then Esc and Ctrl+S from the list.
    f.type("DBEdit2", QStringLiteral("06 LST 06"));
    focusOn(list);
    press(Qt::Key_Escape, Qt::NoModifier);
    QVERIFY(!jobs->isEditing());
    QVERIFY(f.box("DBEdit2")->text() != QStringLiteral("06 LST 06"));
    f.type("DBEdit2", QStringLiteral("06 LST 07"));
    focusOn(list);
    press(Qt::Key_S);
    QVERIFY(!jobs->isEditing());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT COUNT(*) FROM MusTakip WHERE AracPlaka = '06 LST 07'")).toInt(), 1);

    press(Qt::Key_N);
    QCOMPARE(jobs->state(), Dataset::State::Insert);
    QCOMPARE(jobs->rowCount(), rows + 1);
}

void KeysTest::keysReachThePartWithTheFocus()
{
    PageForm f(0, TempDatabase::Demo);
    Dataset *jobs = f.dataset("MusTakip");
    Dataset *operations = f.dataset("MusTakip1");
    QVERIFY(operations->rowCount() >= 2);
    const int jobRows = jobs->rowCount();

    focusOn(f.child<QTableView>("SrDBGrid2"));
    press(Qt::Key_End);
    QCOMPARE(operations->currentRow(), operations->rowCount() - 1);
    QCOMPARE(jobs->currentRow(), 0);

    focusOn(f.box("DBEdit10"));
    const int operationRows = operations->rowCount();
    press(Qt::Key_N);
    QCOMPARE(operations->state(), Dataset::State::Insert);
    QCOMPARE(operations->rowCount(), operationRows + 1);
    QCOMPARE(jobs->rowCount(), jobRows);
    QCOMPARE(jobs->state(), Dataset::State::Browse);
    press(Qt::Key_Escape, Qt::NoModifier);
    QCOMPARE(operations->rowCount(), operationRows);

    // The search box belongs to the list it searches.
    focusOn(f.box("Edit1"));
    press(Qt::Key_PageDown);
    QCOMPARE(jobs->currentRow(), 1);
}

void KeysTest::ctrlDelReachesTheToolBarWhereNoControlUsesIt()
{
    PageForm f(0, TempDatabase::Demo);
    Dataset *operations = f.dataset("MusTakip1");
    const int rows = operations->rowCount();
    const QString operation = operations->text(QStringLiteral("Islem"));
    // The operations' tool bar button, focused from the keyboard's point of view.
    QAbstractButton *next = actionButton(f, "ToolBar3", "MusNext1");
    next->setFocusPolicy(Qt::StrongFocus);
    focusOn(next);
    f.ui.answers.push_back(UiSeam::Answer::Yes);
    press(Qt::Key_Delete);
    QCOMPARE(f.ui.texts(QStringLiteral("ask")),
             QStringList(QLatin1Char('\'') + operation + QStringLiteral("' işlemi silinecek. Onaylıyor musunuz?")));
    QCOMPARE(operations->rowCount(), rows - 1);
}

QTEST_MAIN(KeysTest)
#include "tst_keys.moc"
