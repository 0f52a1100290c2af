// The shared record machinery on the real main window: tool bar actions,
// the add and delete patterns, and the search boxes.
#include "app/TForm1.h"
#include "data/RecordActions.h"
#include "app/PageTable.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace tk;
using tk::test::ScriptedUi;
using tk::test::TempDatabase;
using tk::test::typeText;

namespace {

struct Fixture {
    explicit Fixture(TempDatabase::Fill fill = TempDatabase::Empty) : db(fill)
    {
        AppPaths paths;
        paths.programFolder = db.folder();
        paths.configFolder = db.folder() + QStringLiteral("/config");
        form = std::make_unique<TForm1>(paths);
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    QAction *action(const char *name) const
    {
        form->findChild<RecordActions *>(QStringLiteral("ActionList1"))->updateEnabled();
        return form->findChild<QAction *>(QLatin1String(name));
    }
    void click(const char *button) const
    {
        QTest::mouseClick(form->findChild<QToolButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    QLineEdit *box(const char *name) const { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    Dataset *dataset(const char *name) const { return form->data()->dataset(QLatin1String(name)); }

    TempDatabase db;
    ScriptedUi ui;
    std::unique_ptr<TForm1> form;
};

QVector<bool> moves(const Fixture &f, const char *prefix)
{
    QVector<bool> out;
    for (const char *op : {"First", "Prior", "Next", "Last"})
        out << f.action((QByteArray(prefix) + op).constData())->isEnabled();
    return out;
}

} // namespace

class RecordFrameworkTest : public QObject {
    Q_OBJECT
private slots:
    void actionsFollowTheDataset();
    void everyToolBarHasItsButtonsAndActions();
    void addPatternFocusesAndAppendsOnce();
    void addDetailNeedsASavedMaster();
    void deletePatternQuotesAndAsks();
    void searchNarrowsAndReportsNoMatch();
    void searchTextIsNeverPartOfTheStatement();
    void selectorChoosesTheColumnOnTheNextKeystroke();
    void clearSearchEmptiesEveryPage();
    void searchSavesAChangedRowFirst();
    void searchSavesAChangedDetailRowFirst();
    void searchSetsTheButtonsOnceAtOnce();
};

void RecordFrameworkTest::actionsFollowTheDataset()
{
    Fixture f;
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{false, false, false, false})); // empty
    QVERIFY(!f.action("StokPost")->isEnabled() && !f.action("StokCancel")->isEnabled());

    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A1')"));
    f.dataset("Stok")->refresh();
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{false, false, true, true})); // one row: next until pressed once
    f.action("StokNext")->trigger();
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{true, true, false, false}));

    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A2'), ('A3')"));
    f.dataset("Stok")->refresh();
    f.action("StokFirst")->trigger();
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{false, false, true, true}));
    f.action("StokLast")->trigger();
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{true, true, false, false}));

    f.form->showPage(8);
    QLineEdit *code = f.box("DBEdit47");
    code->setFocus();
    typeText(code, QStringLiteral("x"));
    QVERIFY(f.action("StokPost")->isEnabled() && f.action("StokCancel")->isEnabled());
    f.action("StokCancel")->trigger();
    QVERIFY(!f.action("StokPost")->isEnabled());
}

void RecordFrameworkTest::everyToolBarHasItsButtonsAndActions()
{
    Fixture f;
    for (const ToolBarDef &def : toolBarDefs()) {
        auto *bar = f.form->findChild<QToolBar *>(QLatin1String(def.toolBar));
        QVERIFY2(bar, def.toolBar);
        QVERIFY(bar->findChild<QToolButton *>(QLatin1String(def.addButton)));
        QVERIFY(bar->findChild<QToolButton *>(QLatin1String(def.deleteButton)));
        for (const char *op : {"First", "Prior", "Next", "Last", "Post", "Cancel"}) {
            const QString name = QLatin1String(def.actionPrefix) + QLatin1String(op) + QLatin1String(def.actionSuffix);
            QAction *a = f.form->findChild<QAction *>(name);
            QVERIFY2(a, qPrintable(name));
            QVERIFY(bar->actions().contains(a));
        }
        QCOMPARE(bar->findChild<QToolButton *>(QLatin1String(def.addButton))->width(), def.buttonWidth);
    }
    QVERIFY(f.form->findChild<QAction *>(QStringLiteral("IrsaliyeUstCancel")));
    QVERIFY(f.form->findChild<QAction *>(QStringLiteral("MaasPrior1")));
    QCOMPARE(f.form->findChildren<QToolBar *>().size(), 18);
}

void RecordFrameworkTest::addPatternFocusesAndAppendsOnce()
{
    Fixture f;
    f.form->showPage(8);
    f.click("ToolButton46");
    f.click("ToolButton46");
    QCOMPARE(f.dataset("Stok")->rowCount(), 1); // the first, unchanged new row was dropped
    QCOMPARE(f.dataset("Stok")->state(), Dataset::State::Insert);
    QVERIFY(f.box("DBEdit47")->hasFocus());
    typeText(f.box("DBEdit47"), QStringLiteral("şişli"));
    QCOMPARE(f.box("DBEdit47")->text(), QStringLiteral("ŞİŞLİ"));
    f.click("ToolButton46"); // another add saves the changed row
    f.action("StokCancel")->trigger();
    QCOMPARE(f.db.column(QStringLiteral("SELECT StokKodu FROM Stok")), QVariantList{QStringLiteral("ŞİŞLİ")});
}

void RecordFrameworkTest::addDetailNeedsASavedMaster()
{
    Fixture f;
    f.form->showPage(5); // KASA TAKİP
    f.click("ToolButton127");
    QCOMPARE(f.ui.texts(QStringLiteral("inform")), QStringList{QStringLiteral("Önce ana kaydı kaydedin.")});
    QCOMPARE(f.dataset("Kasa1")->rowCount(), 0);

    // a new, changed period is saved first, then the entry belongs to it
    f.click("ToolButton118");
    typeText(f.box("DBEdit82"), QStringLiteral("mart"));
    f.click("ToolButton127");
    QCOMPARE(f.dataset("Kasa1")->state(), Dataset::State::Insert);
    f.dataset("Kasa1")->setText(QStringLiteral("Aciklama"), QStringLiteral("YAKIT"));
    f.dataset("Kasa1")->post();
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT k.Aylar FROM Kasa1 e JOIN Kasa k ON k.SiraNo = e.SiraNo")).toString(),
             QStringLiteral("MART"));
}

void RecordFrameworkTest::deletePatternQuotesAndAsks()
{
    Fixture f;
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('O''NEIL'), ('B2')"));
    f.dataset("Stok")->refresh();
    f.form->showPage(8);
    f.ui.answers = {UiSeam::Answer::No};
    f.click("ToolButton47");
    QCOMPARE(f.ui.shown.last().text, QStringLiteral("'O''NEIL' kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 2);
    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton47");
    QCOMPARE(f.db.column(QStringLiteral("SELECT StokKodu FROM Stok")), QVariantList{QStringLiteral("B2")});
    QCOMPARE(f.dataset("Stok")->text(QStringLiteral("StokKodu")), QStringLiteral("B2"));

    // a new row: the question shows what was typed; Yes only drops it
    f.click("ToolButton46");
    typeText(f.box("DBEdit47"), QStringLiteral("YENİ"));
    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton47");
    QCOMPARE(f.ui.shown.last().text, QStringLiteral("'YENİ' kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.column(QStringLiteral("SELECT StokKodu FROM Stok")), QVariantList{QStringLiteral("B2")});

    // empty dataset: asked anyway, then refused with an error
    f.ui.answers = {UiSeam::Answer::Yes, UiSeam::Answer::Yes};
    f.click("ToolButton47");
    f.click("ToolButton47");
    QCOMPARE(f.ui.shown.last().kind, QStringLiteral("error"));
    QCOMPARE(f.ui.shown[f.ui.shown.size() - 2].text, QStringLiteral("'' kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?"));
}

void RecordFrameworkTest::searchNarrowsAndReportsNoMatch()
{
    Fixture f;
    f.form->showPage(5);
    QLineEdit *search = f.box("Edit11");
    search->setText(QStringLiteral("X"));
    // an empty table: once for the text, once for the emptied box
    QCOMPARE(f.ui.texts(QStringLiteral("inform")),
             QStringList(2, QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı.")));
    QCOMPARE(search->text(), QString());

    f.db.exec(QStringLiteral("INSERT INTO Kasa (Aylar) VALUES ('OCAK'), ('ŞUBAT'), ('ŞUBAT 2'), (NULL)"));
    f.ui.shown.clear();
    search->setText(QStringLiteral("ş"));
    QCOMPARE(f.dataset("Kasa")->rowCount(), 2);
    QVERIFY(f.ui.shown.isEmpty());
    search->setText(QStringLiteral("Z"));
    QCOMPARE(f.ui.texts(QStringLiteral("inform")).size(), 1);
    QCOMPARE(f.dataset("Kasa")->rowCount(), 3); // every row with a value in the column
}

void RecordFrameworkTest::searchTextIsNeverPartOfTheStatement()
{
    Fixture f;
    f.db.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES ('\"ÖZ\" OTO'), ('ÖZTÜRK'), ('X'' OR 1=1')"));
    f.form->showPage(3);
    f.box("Edit8")->setText(QStringLiteral("\"ö"));
    QCOMPARE(f.dataset("Cari")->rowCount(), 1);
    QCOMPARE(f.dataset("Cari")->text(QStringLiteral("Firma")), QStringLiteral("\"ÖZ\" OTO"));
    f.box("Edit8")->setText(QStringLiteral("X' OR 1=1"));
    QCOMPARE(f.dataset("Cari")->rowCount(), 1);
    f.box("Edit8")->setText(QStringLiteral("%t"));
    QCOMPARE(f.dataset("Cari")->rowCount(), 2); // the wildcard keeps its meaning
    QVERIFY(f.ui.texts(QStringLiteral("error")).isEmpty());
}

void RecordFrameworkTest::selectorChoosesTheColumnOnTheNextKeystroke()
{
    Fixture f;
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi) VALUES ('F1', 'BALATA'), ('B1', 'FİLTRE')"));
    f.dataset("Stok")->refresh();
    f.form->showPage(8);
    f.box("Edit6")->setText(QStringLiteral("F"));
    QCOMPARE(f.dataset("Stok")->text(QStringLiteral("StokKodu")), QStringLiteral("F1"));
    auto *selector = f.form->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    selector->setCurrentIndex(1);
    QCOMPARE(f.dataset("Stok")->text(QStringLiteral("StokKodu")), QStringLiteral("F1")); // not by itself
    f.box("Edit6")->setText(QStringLiteral("Fİ"));
    QCOMPARE(f.dataset("Stok")->rowCount(), 1);
    QCOMPARE(f.dataset("Stok")->text(QStringLiteral("StokKodu")), QStringLiteral("B1"));
    // a selector typed over chooses nothing: the list stays as it is
    selector->setEditText(QStringLiteral("başka"));
    f.box("Edit6")->setText(QStringLiteral("B"));
    QCOMPARE(f.dataset("Stok")->text(QStringLiteral("StokKodu")), QStringLiteral("B1"));
}

void RecordFrameworkTest::clearSearchEmptiesEveryPage()
{
    Fixture f(TempDatabase::Demo);
    f.box("Edit6")->setText(QStringLiteral("A"));
    f.box("Edit12")->setText(QStringLiteral("O"));
    f.form->showPage(0);
    QTest::mouseClick(f.form->findChild<QToolButton *>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
    for (const SearchDef &def : searchDefs())
        QCOMPARE(f.box(def.box)->text(), QString());
    QCOMPARE(f.dataset("Stok")->rowCount(),
             f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokKodu IS NOT NULL")).toInt());
}

void RecordFrameworkTest::searchSavesAChangedRowFirst()
{
    Fixture f;
    f.form->showPage(6);
    f.click("ToolButton100");
    typeText(f.box("DBEdit79"), QStringLiteral("nisan"));
    f.box("Edit10")->setText(QStringLiteral("N"));
    QCOMPARE(f.db.column(QStringLiteral("SELECT Aylar FROM Odeme")), QVariantList{QStringLiteral("NİSAN")});
    QCOMPARE(f.dataset("Odeme")->rowCount(), 1);
    // an unchanged new row is dropped
    f.click("ToolButton100");
    f.box("Edit10")->setText(QString());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Odeme")).toInt(), 1);
}

// A payment typed under a month is saved before a search replaces the months.
void RecordFrameworkTest::searchSavesAChangedDetailRowFirst()
{
    Fixture f;
    f.db.exec(QStringLiteral("INSERT INTO Odeme (Aylar) VALUES ('NİSAN'), ('MAYIS')"));
    f.form->showPage(6);
    f.click("ToolButton109");
    typeText(f.box("DBEdit84"), QStringLiteral("kira"));
    typeText(f.box("DBEdit81"), QStringLiteral("150"));
    f.box("Edit10")->setText(QStringLiteral("M"));
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(f.db.column(QStringLiteral("SELECT Aciklama || '/' || Tutar FROM Odeme1")), QVariantList{QStringLiteral("KİRA/150.0")});
    QCOMPARE(f.dataset("Odeme")->text(QStringLiteral("Aylar")), QStringLiteral("MAYIS"));
    QCOMPARE(f.dataset("Odeme1")->rowCount(), 0);
}

// A search replaces the list's rows: the buttons show the new rows at once,
// without passing through the closed list on the way (each button switched
// off and on again would be drawn anew on every keystroke).
void RecordFrameworkTest::searchSetsTheButtonsOnceAtOnce()
{
    Fixture f;
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A1'), ('A2'), ('B1')"));
    f.form->showPage(8);
    f.dataset("Stok")->refresh();
    f.action("StokLast")->trigger();
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{true, true, false, false}));

    const auto named = [&](const char *name) { return f.form->findChild<QAction *>(QLatin1String(name)); };
    QSignalSpy first(named("StokFirst"), &QAction::enabledChanged);
    QSignalSpy next(named("StokNext"), &QAction::enabledChanged);
    QLineEdit *search = f.box("Edit6");
    search->setText(QStringLiteral("A"));
    QCOMPARE(f.dataset("Stok")->rowCount(), 2);
    // On the first row of the new list, before any idle moment.
    QVERIFY(!named("StokFirst")->isEnabled() && !named("StokPrior")->isEnabled());
    QVERIFY(named("StokNext")->isEnabled() && named("StokLast")->isEnabled());
    QCOMPARE(first.count(), 1);
    QCOMPARE(next.count(), 1);

    search->setText(QStringLiteral("A2"));
    search->setText(QString());
    QCOMPARE(f.dataset("Stok")->rowCount(), 3);
    QCOMPARE(first.count(), 1);
    QCOMPARE(next.count(), 1);
    QCOMPARE(moves(f, "Stok"), (QVector<bool>{false, false, true, true}));
}

QTEST_MAIN(RecordFrameworkTest)
#include "tst_recordframework.moc"
