// SENET TAKİP on a real Data.dat: the two registers are kept apart.
#include "support/PagesLedgerKit.h"

#include <QTabWidget>
#include <QToolBar>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kSenetPage = 7;

QVariantList numbers(const LedgerFixture &f, const char *table)
{
    return f.db.column(QStringLiteral("SELECT SenetNo FROM %1 ORDER BY SiraNo").arg(QLatin1String(table)));
}

} // namespace

class SenetTest : public QObject {
    Q_OBJECT
private slots:
    void deletingInOneRegisterLeavesTheOther();
    void newNotesGoToTheirOwnRegister();
    void emptyNumbersAreQuotedAndNoKeepsTheRow();
    void layout();
};

void SenetTest::deletingInOneRegisterLeavesTheOther()
{
    LedgerFixture f(kSenetPage, TempDatabase::Demo);
    const QVariantList issued = numbers(f, "SenetVer");
    const QVariantList received = numbers(f, "SenetAl");
    QVERIFY(issued.size() >= 2 && received.size() >= 2);

    f.dataset("SenetVer")->moveTo(1);
    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton83");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")),
             QStringList{QStringLiteral("'%1' numaralı VERİLEN SENET kayıtları silinecek. Onaylıyor musunuz?")
                             .arg(issued[1].toString())});
    QVariantList expected = issued;
    expected.removeAt(1);
    QCOMPARE(numbers(f, "SenetVer"), expected);
    QCOMPARE(numbers(f, "SenetAl"), received);

    f.dataset("SenetAl")->first();
    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton92");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'%1' numaralı ALINAN SENET kayıtları silinecek. Onaylıyor musunuz?")
                 .arg(received[0].toString()));
    QCOMPARE(numbers(f, "SenetAl"), received.mid(1));
    QCOMPARE(numbers(f, "SenetVer"), expected);
}

void SenetTest::newNotesGoToTheirOwnRegister()
{
    LedgerFixture f(kSenetPage);
    f.click("ToolButton82");
    QCOMPARE(QApplication::focusWidget(), f.box("DBEdit60"));
    f.type("DBEdit60", QStringLiteral("sv-1"));
    f.type("DBEdit70", QStringLiteral("30.06.2024"));
    f.type("DBEdit71", QStringLiteral("ziraat"));
    f.type("DBEdit72", QStringLiteral("çelik oto"));
    f.type("DBEdit73", QStringLiteral("1500,75"));
    f.trigger("SenetVerPost");

    f.click("ToolButton91");
    f.type("DBEdit74", QStringLiteral("sa-1"));
    f.type("DBEdit77", QStringLiteral("şahin ltd"));
    f.type("DBEdit78", QStringLiteral("250"));
    f.trigger("SenetAlPost");

    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(f.db.column(QStringLiteral("SELECT SenetNo || '|' || VadeTarihi || '|' || Banka || '|' || V_Firma || '|' || Tutar FROM SenetVer")),
             QVariantList{QStringLiteral("SV-1|2024-06-30|ZİRAAT|ÇELİK OTO|1500.75")});
    QCOMPARE(f.db.column(QStringLiteral("SELECT SenetNo || '|' || A_Firma || '|' || Tutar FROM SenetAl")),
             QVariantList{QStringLiteral("SA-1|ŞAHİN LTD|250.0")});
}

void SenetTest::emptyNumbersAreQuotedAndNoKeepsTheRow()
{
    LedgerFixture f(kSenetPage);
    f.click("ToolButton91");
    f.type("DBEdit76", QStringLiteral("HALK"));
    f.trigger("SenetAlPost");
    f.ui.answers = {UiSeam::Answer::No};
    f.click("ToolButton92");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")),
             QStringList{QStringLiteral("'' numaralı ALINAN SENET kayıtları silinecek. Onaylıyor musunuz?")});
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM SenetAl")).toInt(), 1);

    // an empty register: the question is asked, the refusal is shown
    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton83");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'' numaralı VERİLEN SENET kayıtları silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.ui.texts(QStringLiteral("error")).size(), 1);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM SenetAl")).toInt(), 1);
}

void SenetTest::layout()
{
    LedgerFixture f(kSenetPage, TempDatabase::Demo);
    QWidget *page = f.box("DBEdit60")->window()->findChild<QWidget *>(QStringLiteral("TabSheet8"));
    QVERIFY(page);
    QCOMPARE(page->findChildren<QTabWidget *>().size(), 2);
    QCOMPARE(f.box("DBEdit60")->width(), 97);
    QCOMPARE(f.box("DBEdit71")->width(), 153);
    for (const char *name : {"BitBtn9", "BitBtn10"}) {
        auto *print = f.form->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(print, name);
        QCOMPARE(print->text(), QStringLiteral("  Yazdır"));
    }
    QCOMPARE(f.form->findChild<QPushButton *>(QStringLiteral("BitBtn10"))->accessibleName(),
             QStringLiteral("Alınan senet listesini yazdır"));
    // the upper register sits above the lower one
    QVERIFY(f.box("DBEdit60")->mapTo(page, QPoint()).y() < f.box("DBEdit74")->mapTo(page, QPoint()).y());
    // every button of both tool bars fits in the panel (none hidden behind an overflow arrow)
    for (const char *bar : {"ToolBar11", "ToolBar12"}) {
        auto *toolBar = f.form->findChild<QToolBar *>(QLatin1String(bar));
        for (QAction *action : toolBar->actions())
            if (QWidget *w = toolBar->widgetForAction(action))
                QVERIFY2(w->isVisible(), qPrintable(action->toolTip()));
    }
    f.screenshot(QStringLiteral("senet"));
}

QTEST_MAIN(SenetTest)
#include "tst_senet.moc"
