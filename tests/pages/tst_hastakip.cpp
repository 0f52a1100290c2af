// HASAR TAKİP on a real Data.dat: every box reaching its column, the tab
// order of the two groups after the note, searches by plate, make and file
// number, and the delete question.
#include "support/PagesFormKit.h"

#include <QPlainTextEdit>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kPage = 1;

// Box, column and typed text of every box, in tab order after the note.
struct Entry {
    const char *box;
    const char *column;
    const char *typed;
    const char *stored;
};
const Entry entries[] = {
    {"DBEdit26", "DosyaNo", "d-2024/7", "D-2024/7"},
    {"DBEdit27", "Plaka", "34 kz 99", "34 KZ 99"},
    {"DBEdit28", "AracTipi", "renault", "RENAULT"},
    {"DBEdit29", "AracModeli", "clio", "CLİO"},
    {"DBEdit30", "AracSahibi", "ayşe demir", "AYŞE DEMİR"},
    {"DBEdit31", "AracSahibiTC", "12345678901", "12345678901"},
    {"DBEdit32", "KazaTarihi", "15 mart 2024", "15 MART 2024"},
    {"DBEdit33", "SigortaFirma", "güven sigorta", "GÜVEN SİGORTA"},
    {"DBEdit24", "PoliceNo", "p-1", "P-1"},
    {"DBEdit25", "KazaNedeni", "arkadan çarpma", "ARKADAN ÇARPMA"},
    {"DBEdit34", "KarsiAracPlaka", "06 ab 1", "06 AB 1"},
    {"DBEdit35", "KarsiAracTipi", "fiat", "FİAT"},
    {"DBEdit36", "Kusur", "%100", "%100"},
    {"DBEdit37", "Exper", "mehmet", "MEHMET"},
    {"DBEdit38", "ExperTel", "02121112233", "02121112233"},
    {"DBEdit39", "Vekalet", "var", "VAR"},
    {"DBEdit43", "OdemeTarihi", "5.3.24", "5.3.24"},
    {"DBEdit40", "Odeme", "15.000 tl", "15.000 TL"},
    {"DBEdit41", "FatNo", "h-77", "H-77"},
    {"DBEdit42", "TahminiHasar", "20.000", "20.000"},
};

void newFile(PageForm &f, const QString &number, const QString &plate, const QString &make)
{
    f.click("ToolButton37");
    f.type("DBEdit26", number);
    f.type("DBEdit27", plate);
    f.type("DBEdit28", make);
    f.trigger("HasPost");
}

} // namespace

class HasTakipTest : public QObject {
    Q_OBJECT
private slots:
    void everyBoxReachesItsColumn();
    void typingOnASavedFilesNoteKeepsTheKeysInOrder();
    void tabOrderRunsFromTheNoteThroughBothGroups();
    void searchesByEachSelectorEntry();
    void deleteQuestion();
    void screenshot();
};

void HasTakipTest::everyBoxReachesItsColumn()
{
    PageForm f(kPage);
    f.click("ToolButton37");
    QCOMPARE(QApplication::focusWidget(), f.child<QWidget>("DBEdit26"));
    for (const Entry &e : entries)
        f.type(e.box, QString::fromUtf8(e.typed));
    auto *note = f.child<QPlainTextEdit>("DBMemo3");
    note->setFocus();
    PageForm::typeInto(note, QStringLiteral("sol ön çamurluk"));
    f.trigger("HasPost");
    QVERIFY(f.errors().isEmpty());

    for (const Entry &e : entries)
        QCOMPARE(f.db.scalar(QStringLiteral("SELECT %1 FROM HasTakip").arg(QLatin1String(e.column))).toString(),
                 QString::fromUtf8(e.stored));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Aciklama FROM HasTakip")).toString(), QStringLiteral("sol ön çamurluk"));

    f.closeWithYes();
    f.open();
    // Every box, the two dates included, shows what was typed.
    for (const Entry &e : entries)
        QCOMPARE(f.box(e.box)->text(), QString::fromUtf8(e.stored));
    QCOMPARE(f.child<QPlainTextEdit>("DBMemo3")->toPlainText(), QStringLiteral("sol ön çamurluk"));
}

void HasTakipTest::typingOnASavedFilesNoteKeepsTheKeysInOrder()
{
    PageForm f(kPage);
    f.click("ToolButton37");
    f.type("DBEdit27", QStringLiteral("34 AB 12"));
    auto *note = f.child<QPlainTextEdit>("DBMemo3");
    note->setFocus();
    PageForm::typeInto(note, QStringLiteral("sol ön"));
    f.trigger("HasPost");
    QVERIFY(f.dataset("HasTakip")->state() == Dataset::State::Browse);

    // The first key on the saved file starts its edit; the caret stays where the user put it.
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    PageForm::typeInto(note, QStringLiteral(" çamurluk"));
    QTest::keyClick(note, Qt::Key_Return);
    PageForm::typeInto(note, QStringLiteral("boya"));
    QCOMPARE(note->toPlainText(), QStringLiteral("sol ön çamurluk\nboya"));
    f.trigger("HasPost");
    QVERIFY(f.errors().isEmpty());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Aciklama FROM HasTakip")).toString(), QStringLiteral("sol ön çamurluk\nboya"));
}

void HasTakipTest::tabOrderRunsFromTheNoteThroughBothGroups()
{
    PageForm f(kPage);
    QWidget *w = f.child<QWidget>("DBMemo3");
    QStringList order;
    for (size_t i = 0; i < std::size(entries); ++i) {
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    QStringList expected;
    for (const Entry &e : entries)
        expected << QLatin1String(e.box);
    QCOMPARE(order, expected);
}

void HasTakipTest::searchesByEachSelectorEntry()
{
    PageForm f(kPage);
    newFile(f, QStringLiteral("100"), QStringLiteral("34 A 1"), QStringLiteral("OPEL"));
    newFile(f, QStringLiteral("200"), QStringLiteral("06 B 2"), QStringLiteral("OPEL"));
    newFile(f, QStringLiteral("101"), QStringLiteral("35 C 3"), QStringLiteral("TOYOTA"));
    Dataset *files = f.dataset("HasTakip");
    const auto plates = [files] {
        QStringList out;
        for (int i = 0; i < files->rowCount(); ++i)
            out << files->textAt(i, files->fieldIndex(QStringLiteral("Plaka")));
        out.sort();
        return out;
    };
    auto *selector = f.child<QComboBox>("ComboBox3");
    QCOMPARE(selector->currentText(), QStringLiteral("Araç Plakasına Göre"));
    f.type("Edit5", QStringLiteral("3"));
    QCOMPARE(plates(), (QStringList{"34 A 1", "35 C 3"}));
    selector->setCurrentIndex(1);
    f.type("Edit5", QStringLiteral("op"));
    QCOMPARE(plates(), (QStringList{"06 B 2", "34 A 1"}));
    selector->setCurrentIndex(2);
    QCOMPARE(selector->currentText(), QStringLiteral("Dosya No'ya Göre"));
    f.type("Edit5", QStringLiteral("10"));
    QCOMPARE(plates(), (QStringList{"34 A 1", "35 C 3"}));
    QVERIFY(f.ui.texts(QStringLiteral("inform")).isEmpty());
    f.type("Edit5", QStringLiteral("9"));
    QCOMPARE(f.ui.texts(QStringLiteral("inform")), QStringList{QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı.")});
    QCOMPARE(files->rowCount(), 3);
}

void HasTakipTest::deleteQuestion()
{
    PageForm f(kPage);
    newFile(f, QStringLiteral("1"), QStringLiteral("34 D'E 5"), QStringLiteral("BMW"));
    f.ui.answers.push_back(UiSeam::Answer::No);
    f.click("ToolButton38");
    const QString question = QStringLiteral("'34 D''E 5' plakalı araca ait HASAR TESPİT bilgiler silinecek. Onaylıyor musunuz?");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), question);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM HasTakip")).toInt(), 1);
    f.ui.answers.push_back(UiSeam::Answer::Yes);
    f.click("ToolButton38");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), question);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM HasTakip")).toInt(), 0);
}

void HasTakipTest::screenshot()
{
    PageForm f(kPage, TempDatabase::Demo);
    f.screenshot(QStringLiteral("hastakip"));
}

QTEST_MAIN(HasTakipTest)
#include "tst_hastakip.moc"
