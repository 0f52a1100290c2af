// The record list control over a real database file in a temporary folder:
// colours by record number, the wheel, deleting from the list, the lists of
// the main window, and a large table.
#include "controls/TSrDBGrid.h"
#include "core/UiSeam.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "data/Dataset.h"
#include "data/DatasetCursor.h"
#include "data/DatasetModel.h"
#include "app/PageTable.h"
#include "data/Schema.h"
#include "initdb/DemoData.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <memory>
#include <sqlite3.h>

using tk::Dataset;
using tk::TSrDBGrid;
using tk::UiSeam;

namespace {

const QColor kOdd(244, 242, 242);
const QColor kEven(255, 255, 255);
const QColor kSelected(214, 223, 247);

class AnsweringSeam : public UiSeam {
public:
    Answer confirmAnswer = Answer::Cancel;
    QStringList confirmed; // texts of the confirmations asked
    QStringList errors;

    Answer ask(QWidget *, const QString &, const QString &, bool) override { return Answer::No; }
    Answer confirm(QWidget *, const QString &, const QString &text) override
    {
        confirmed << text;
        return confirmAnswer;
    }
    void inform(QWidget *, const QString &, const QString &) override {}
    void warn(QWidget *, const QString &, const QString &) override {}
    void error(QWidget *, const QString &, const QString &text) override { errors << text; }
    bool restartProgram(const QString &, const QStringList &) override { return false; }
    bool openUrl(const QString &) override { return false; }
    QString chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *, const QString &, const QString &) override { return {}; }
};

// The names stored in the file, read with a connection of its own.
QStringList namesInFile(const QString &path)
{
    sqlite3 *db = nullptr;
    QStringList names;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT Ad FROM Liste ORDER BY SiraNo", -1, &stmt, nullptr);
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return names;
}

// Sends one wheel event over the rows; returns whether the grid took it.
bool sendWheel(TSrDBGrid *grid, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF pos(20, 10);
    QWheelEvent e(pos, grid->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid->viewport(), &e);
    return e.isAccepted();
}

// A Data.dat with one table "Liste" of `rows` records named A, B, C, … (or
// "Ad n" beyond 26), shown in a grid with the main window's appearance.
struct GridOnFile {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<tk::Connection> connection;
    std::unique_ptr<Dataset> dataset;
    std::unique_ptr<tk::DatasetModel> model;
    std::unique_ptr<tk::DatasetCursor> cursor;
    std::unique_ptr<TSrDBGrid> grid;

    explicit GridOnFile(int rows, const QString &sql = QStringLiteral("Select * From Liste"))
    {
        path = dir.filePath(QStringLiteral("Data.dat"));
        sqlite3 *db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_close(db);
        connection = std::make_unique<tk::Connection>(path);
        connection->exec(QStringLiteral("CREATE TABLE Liste (SiraNo INTEGER PRIMARY KEY AUTOINCREMENT, Ad TEXT, Tutar REAL)"));
        if (rows > 0)
            connection->exec(QStringLiteral(
                             "INSERT INTO Liste (Ad, Tutar) "
                             "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < ?) "
                             "SELECT CASE WHEN x <= 26 THEN char(64 + x) ELSE 'Ad ' || x END, x * 1.5 FROM n"),
                         {rows});
        dataset = std::make_unique<Dataset>(connection.get(), QStringLiteral("Liste"), QStringLiteral("Liste"), sql);
        dataset->open();
        model = std::make_unique<tk::DatasetModel>(
            dataset.get(), QVector<tk::GridColumn>{{"Ad", "AD", 150}, {"Tutar", "TUTAR", 80}});
        cursor = std::make_unique<tk::DatasetCursor>(dataset.get());
        grid = std::make_unique<TSrDBGrid>(model.get(), cursor.get());
        tk::applyMainWindowAppearance(grid.get());
        grid->setColumnWidth(0, 150);
        grid->resize(300, 200);
    }
    ~GridOnFile() { grid.reset(); }

    // Background of record row `row` as drawn, away from its text.
    QColor rowColour(int row) const
    {
        const QImage image = grid->grab().toImage();
        const QPoint origin = grid->viewport()->geometry().topLeft();
        const int x = grid->columnViewportPosition(0) + grid->columnWidth(0) - 5;
        const int y = grid->rowViewportPosition(row) + grid->rowHeight(row) / 2;
        return image.pixelColor(origin + QPoint(x, y));
    }

    bool wheel(int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        return sendWheel(grid.get(), angle, modifiers);
    }
};

int notchesDown(GridOnFile &f, int n)
{
    int handled = 0;
    for (int i = 0; i < n; ++i)
        handled += f.wheel(-120) ? 1 : 0;
    return handled;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Counts what a view asks of the model: the whole point of a large table is asking little.
class CountingModel : public QIdentityProxyModel {
public:
    mutable qint64 reads = 0;
    QVariant data(const QModelIndex &index, int role) const override
    {
        ++reads;
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

class TestGrid : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        seam = AnsweringSeam();
        UiSeam::install(&seam);
    }
    void cleanup() { UiSeam::install(nullptr); }

    void publishedPropertiesStartWithTheirConstructionValues()
    {
        TSrDBGrid grid;
        QCOMPARE(grid.property("ColorAlternative").value<QColor>(), QColor(227, 234, 249));
        QCOMPARE(grid.property("ColorSelect").value<QColor>(), QColor(255, 255, 255));
        QCOMPARE(grid.property("ColorSelectText").value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(grid.property("MoveByRows").toInt(), 1);
        QCOMPARE(grid.property("Color").value<QColor>(), QColor(214, 223, 247));
        QVERIFY(grid.setProperty("MoveByRows", 3));
        QCOMPARE(grid.moveByRows(), 3);
    }

    void aBrowseListOfWholeRows()
    {
        GridOnFile f(1);
        QCOMPARE(f.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(f.grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(f.grid->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(f.grid->verticalHeader()->isHidden());
        QCOMPARE(f.grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(f.grid->horizontalHeader()->sectionsMovable());
        QCOMPARE(f.grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
        QVERIFY((f.grid->focusPolicy() & Qt::WheelFocus) != Qt::WheelFocus);
    }

    void rowColoursFollowTheCurrentRecord()
    {
        GridOnFile f(3);
        f.grid->show();
        QVERIFY(!f.grid->hasFocus()); // the selected colours do not wait for the focus
        QCOMPARE(f.rowColour(0), kSelected);
        QCOMPARE(f.rowColour(1), kEven);
        QCOMPARE(f.rowColour(2), kOdd);
        QCOMPARE(f.grid->cellColors(0).text, QColor(Qt::black));
        // The title row is silver.
        const QImage image = f.grid->grab().toImage();
        const QRect title = f.grid->horizontalHeader()->geometry();
        QCOMPARE(image.pixelColor(title.left() + f.grid->columnWidth(0) - 8, title.center().y()), QColor(192, 192, 192));

        f.dataset->moveTo(1);
        QCOMPARE(f.rowColour(0), kOdd);
        QCOMPARE(f.rowColour(1), kSelected);
        QCOMPARE(f.rowColour(2), kOdd);
        QCOMPARE(f.grid->currentIndex().row(), 1);

        // A click and a navigation key choose the dataset's record.
        const QRect third = f.grid->visualRect(f.model->index(2, 0));
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(f.dataset->currentRow(), 2);
        QTest::keyClick(f.grid.get(), Qt::Key_Up);
        QCOMPARE(f.dataset->currentRow(), 1);
        QCOMPARE(f.rowColour(1), kSelected);
    }

    void colourChangeRepaintsOnlyWhenTheColourChanges()
    {
        GridOnFile f(3);
        f.grid->show();
        QTest::qWait(20);
        PaintCounter counter;
        f.grid->viewport()->installEventFilter(&counter);

        f.grid->setColorSelect(kSelected);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);

        f.grid->setProperty("ColorSelect", QColor(10, 200, 30));
        QCoreApplication::processEvents();
        QVERIFY(counter.paints > 0);
        QCOMPARE(f.rowColour(0), QColor(10, 200, 30));

        f.grid->setColorAlternative(QColor(90, 90, 90));
        QCOMPARE(f.rowColour(1), QColor(90, 90, 90));
    }

    void wheelStopsAtTheEnds()
    {
        GridOnFile f(5);
        QVERIFY(!f.wheel(+120)); // away from the user on the first record
        QCOMPARE(f.dataset->currentRow(), 0);
        QVERIFY(f.wheel(-120));
        QCOMPARE(f.dataset->currentRow(), 1);
        QCOMPARE(f.grid->currentIndex().row(), 1);

        f.dataset->last();
        QVERIFY(!f.wheel(-120)); // towards the user on the last record
        QCOMPARE(f.dataset->currentRow(), 4);
        QVERIFY(f.wheel(+120));
        QCOMPARE(f.dataset->currentRow(), 3);
        QVERIFY(!f.grid->hasFocus());

        f.dataset->close();
        QVERIFY(!f.wheel(-120));
    }

    void wheelMovesByMoveByRows()
    {
        GridOnFile f(5);
        f.grid->setMoveByRows(3);
        QVERIFY(f.wheel(-120));
        QCOMPARE(f.dataset->currentRow(), 3);
        QVERIFY(f.wheel(-120)); // one record left: still handled
        QCOMPARE(f.dataset->currentRow(), 4);
        QVERIFY(!f.wheel(-120));
        QVERIFY(f.wheel(+120));
        QCOMPARE(f.dataset->currentRow(), 1);

        f.grid->setMoveByRows(0);
        QCOMPARE(notchesDown(f, 3), 0);
        QVERIFY(!f.wheel(+120));
        QCOMPARE(f.dataset->currentRow(), 1);
    }

    void wheelNotchesAddUp()
    {
        GridOnFile f(10);
        QVERIFY(f.wheel(-240)); // two notches in one event
        QCOMPARE(f.dataset->currentRow(), 2);
        QVERIFY(!f.wheel(-60)); // half a notch moves nothing yet
        QCOMPARE(f.dataset->currentRow(), 2);
        QVERIFY(f.wheel(-60));
        QCOMPARE(f.dataset->currentRow(), 3);
    }

    void wheelHandlersComeFirst()
    {
        GridOnFile f(5);
        int downCalls = 0, upCalls = 0;
        TSrDBGrid *sender = nullptr;
        Qt::KeyboardModifiers shift;
        bool suppress = true;
        f.grid->OnMouseWheelDown = [&](TSrDBGrid *s, Qt::KeyboardModifiers m, const QPoint &, bool &handled) {
            ++downCalls;
            sender = s;
            shift = m;
            handled = suppress;
        };
        f.grid->OnMouseWheelUp = [&](TSrDBGrid *, Qt::KeyboardModifiers, const QPoint &, bool &) { ++upCalls; };

        QVERIFY(f.wheel(-120, Qt::ShiftModifier));
        QCOMPARE(f.dataset->currentRow(), 0); // the handler took the notch
        QCOMPARE(downCalls, 1);
        QCOMPARE(upCalls, 0);
        QCOMPARE(sender, f.grid.get());
        QCOMPARE(shift, Qt::KeyboardModifiers(Qt::ShiftModifier));

        suppress = false;
        QVERIFY(f.wheel(-120));
        QCOMPARE(f.dataset->currentRow(), 1);
        QVERIFY(f.wheel(+120)); // the up handler leaves the notch to the grid
        QCOMPARE(f.dataset->currentRow(), 0);
        QCOMPARE(upCalls, 1);
    }

    void ctrlDeleteOnAnEmptyDatasetAsksNothing()
    {
        GridOnFile f(0);
        QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(seam.confirmed.isEmpty());
        QVERIFY(seam.errors.isEmpty());
    }

    void ctrlDeleteAsksAndDeletesFromTheFile()
    {
        GridOnFile f(3);
        f.dataset->moveTo(1);

        seam.confirmAnswer = UiSeam::Answer::Cancel;
        QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(seam.confirmed, QStringList{QStringLiteral("Delete record?")});
        QCOMPARE(namesInFile(f.path), (QStringList{"A", "B", "C"}));

        QTest::keyClick(f.grid.get(), Qt::Key_Delete); // without Ctrl: nothing
        QCOMPARE(seam.confirmed.size(), 1);

        seam.confirmAnswer = UiSeam::Answer::Ok;
        QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(seam.confirmed.size(), 2);
        QCOMPARE(namesInFile(f.path), (QStringList{"A", "C"}));
        QCOMPARE(f.model->rowCount(), 2);
        QCOMPARE(f.grid->currentIndex().row(), f.dataset->currentRow());
        QCOMPARE(f.dataset->text("Ad"), QStringLiteral("C"));
        QVERIFY(seam.errors.isEmpty());

        QTest::keyClick(f.grid.get(), Qt::Key_Insert); // adds nothing in the list
        QCOMPARE(f.dataset->rowCount(), 2);
        QCOMPARE(f.dataset->state(), Dataset::State::Browse);
    }

    void aFailedDeleteIsShownAndKeepsTheRecord()
    {
        // Rows read without their row id cannot be written back.
        GridOnFile f(2, QStringLiteral("Select Ad, Tutar From Liste"));
        seam.confirmAnswer = UiSeam::Answer::Ok;
        QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(seam.errors.size(), 1);
        QCOMPARE(namesInFile(f.path), (QStringList{"A", "B"}));
        QCOMPARE(f.model->rowCount(), 2);
    }

    void theNineteenListsOfTheMainWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Data.dat"));
        tk::createDatabaseFile(path);
        tk::fillDemoData(path);
        tk::DataModule data(path, tk::datasetDefs());
        QWidget window;

        QSet<QString> names;
        for (const tk::GridDef &def : tk::gridDefs()) {
            const QString name = QString::fromLatin1(def.grid);
            names.insert(name);
            TSrDBGrid *grid = tk::createGrid(name, data, &window);
            QCOMPARE(grid->objectName(), name);
            QCOMPARE(window.findChild<TSrDBGrid *>(name), grid);
            QVERIFY(!grid->accessibleName().isEmpty());
            QCOMPARE(grid->color(), QColor(244, 242, 242));
            QCOMPARE(grid->colorAlternative(), QColor(Qt::white));
            QCOMPARE(grid->colorSelect(), QColor(214, 223, 247));
            QCOMPARE(grid->colorSelectText(), QColor(Qt::black));
            QCOMPARE(grid->titleColor(), QColor(192, 192, 192));
            QCOMPARE(grid->moveByRows(), 1);

            Dataset *ds = data.dataset(QString::fromLatin1(def.dataset));
            QCOMPARE(grid->model()->columnCount(), def.columns.size());
            QCOMPARE(grid->model()->rowCount(), ds->rowCount());
            for (int i = 0; i < def.columns.size(); ++i) {
                const tk::GridColumnDef &c = def.columns[i];
                const QString field = QString::fromLatin1(c.field);
                QVERIFY2(ds->fieldIndex(field) >= 0, qPrintable(name + ": " + field));
                const QString title = grid->model()->headerData(i, Qt::Horizontal).toString();
                QCOMPARE(title, c.title ? QString::fromUtf8(c.title) : field);
                QCOMPARE(grid->isColumnHidden(i), name == "SrDBGrid11" && field == "Kalan");
                if (c.width)
                    QCOMPARE(grid->columnWidth(i), c.width);
                else if (!grid->isColumnHidden(i))
                    QVERIFY(grid->columnWidth(i) >= 64);
            }
        }
        QCOMPARE(names.size(), 19);
        for (int i = 1; i <= 19; ++i)
            QVERIFY(names.contains(QStringLiteral("SrDBGrid%1").arg(i)));

        auto *plates = window.findChild<TSrDBGrid *>("SrDBGrid1");
        QCOMPARE(plates->columnFont(0).family(), QStringLiteral("Microsoft Sans Serif"));
        QVERIFY(plates->model()->rowCount() > 0);
        QCOMPARE(plates->model()->data(plates->model()->index(0, 0), Qt::DisplayRole).toString(),
                 data.dataset("MusTakip")->textAt(0, data.dataset("MusTakip")->fieldIndex("AracPlaka")));

        // Wheeling over a master list brings the next record's details into its detail list.
        auto *jobs = window.findChild<TSrDBGrid *>("SrDBGrid2");
        Dataset *master = data.dataset("MusTakip");
        QVERIFY(master->rowCount() > 1);
        QVERIFY(sendWheel(plates, -120));
        QCOMPARE(master->currentRow(), 1);
        tk::Connection reader(path);
        QSqlQuery count(reader.database());
        QVERIFY(count.exec(QStringLiteral("SELECT COUNT(*) FROM MusTakip1 WHERE SiraNo = %1")
                               .arg(master->value("SiraNo").toLongLong())));
        QVERIFY(count.next());
        QCOMPARE(jobs->model()->rowCount(), count.value(0).toInt());

        QVERIFY_THROWS_EXCEPTION(tk::Error, tk::createGrid(QStringLiteral("SrDBGrid20"), data, &window));
    }

    void anEmptyNewRecordGoesWhenTheListIsLeft()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Data.dat"));
        tk::createDatabaseFile(path);
        tk::DataModule data(path, tk::datasetDefs());
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        TSrDBGrid *grid = tk::createGrid(QStringLiteral("SrDBGrid6"), data, &window);
        auto *box = new QLineEdit(&window);
        layout->addWidget(grid);
        layout->addWidget(box);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Dataset *stock = data.dataset("Stok");

        grid->setFocus();
        stock->append();
        QCOMPARE(stock->rowCount(), 1);
        box->setFocus();
        QCOMPARE(stock->state(), Dataset::State::Browse);
        QCOMPARE(stock->rowCount(), 0);

        // A new record with an entry stays for its page to save.
        grid->setFocus();
        stock->append();
        stock->setText("StokKodu", "K-1");
        box->setFocus();
        QCOMPARE(stock->state(), Dataset::State::Insert);
        stock->post();
        QCOMPARE(stock->rowCount(), 1);
    }

    void aLargeTableScrollsWithoutReadingEveryRow()
    {
        const int rows = 100000;
        QElapsedTimer clock;
        clock.start();
        GridOnFile f(rows);
        const qint64 openMs = clock.elapsed();
        CountingModel counting;
        counting.setSourceModel(f.model.get());
        f.grid->setModel(nullptr);
        f.grid->setSource(&counting, f.cursor.get());
        f.grid->resize(400, 500);
        f.grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.grid.get()));
        f.grid->viewport()->repaint();
        QVERIFY(counting.reads > 0);
        counting.reads = 0;

        clock.restart();
        f.dataset->last();
        f.grid->viewport()->repaint();
        const qint64 toEndMs = clock.elapsed();
        QCOMPARE(f.grid->currentIndex().row(), rows - 1);
        QCOMPARE(f.rowColour(rows - 1), kSelected);

        clock.restart();
        for (int i = 0; i < 50; ++i) {
            f.wheel(+120);
            f.grid->viewport()->repaint();
        }
        const qint64 wheelMs = clock.elapsed();
        QCOMPARE(f.dataset->currentRow(), rows - 51);

        clock.restart();
        f.dataset->first();
        f.grid->viewport()->repaint();
        const qint64 toStartMs = clock.elapsed();

        clock.restart();
        f.dataset->refresh();
        f.grid->viewport()->repaint();
        const qint64 reloadMs = clock.elapsed();
        QCOMPARE(f.grid->currentIndex().row(), 0);

        qInfo("%d rows: make and open %lld ms; to the end and repaint %lld ms; 50 wheel notches with repaint "
              "%lld ms; back to the start and repaint %lld ms; re-read from the file and repaint %lld ms; %lld cell reads",
              rows, openMs, toEndMs, wheelMs, toStartMs, reloadMs, counting.reads);
        // Only what is on screen is read: a few dozen rows per repaint, never the table.
        QVERIFY2(counting.reads < 60 * 2 * 4 * 53, qPrintable(QString::number(counting.reads)));
    }

private:
    AnsweringSeam seam;
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
