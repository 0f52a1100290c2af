#include "bench_server.h"

#include "bench_figures.h"
#include "bench_window.h"
#include "app/TForm1.h"
#include "data/DataModule.h"
#include "server/PgConnection.h"
#include "server/ServerCopy.h"
#include "server/ServerSchema.h"
#include "server/ServerStores.h"
#include "support/PgCluster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

void line(const char *what, const Figure &file, const Figure &server)
{
    std::printf("| %-44s | %8.1f (%.1f–%.1f) ms | %8.1f (%.1f–%.1f) ms | %5.2fx |\n", what, file.median, file.min,
                file.max, server.median, server.min, server.max, file.median > 0 ? server.median / file.median : 0.0);
    std::fflush(stdout);
}

std::unique_ptr<tk::TForm1> openForm(const QString &books, const QString &folder, const QString &config)
{
    tk::AppPaths paths;
    paths.programFolder = folder;
    paths.databasePath = books;
    paths.configFolder = config;
    auto form = std::make_unique<tk::TForm1>(paths);
    form->show();
    form->showPage(0);
    QApplication::processEvents();
    return form;
}

struct Figures {
    Figure shown, keystroke, emptied, edit, append;
};

Figures measure(const QString &books, const QString &folder, int runs)
{
    QTemporaryDir config;
    Figures f;
    f.shown = sample(runs, [&] {
        QElapsedTimer t;
        t.start();
        auto form = openForm(books, folder, config.path());
        return ms(t);
    });
    auto form = openForm(books, folder, config.path());
    settle();
    auto *box = form->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    std::vector<double> keystroke, emptied;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        box->setText(QStringLiteral("Ç"));
        processUntilIdle();
        keystroke.push_back(ms(t));
        t.restart();
        box->setText(QString());
        processUntilIdle();
        emptied.push_back(ms(t));
    }
    f.keystroke = figureOf(keystroke);
    f.emptied = figureOf(emptied);

    // A save of a changed row, and of a new row with its database-assigned SiraNo.
    tk::Dataset *stok = form->data()->dataset(QStringLiteral("Stok"));
    stok->moveTo(stok->rowCount() / 2);
    int n = 0;
    f.edit = sample(runs, [&] {
        stok->edit();
        stok->setText(QStringLiteral("Raf"), QStringLiteral("R-%1").arg(++n));
        QElapsedTimer t;
        t.start();
        stok->post();
        return ms(t);
    });
    f.append = sample(runs, [&] {
        stok->append();
        stok->setText(QStringLiteral("StokKodu"), QStringLiteral("B-%1").arg(++n));
        stok->setText(QStringLiteral("Adet"), QStringLiteral("3"));
        QElapsedTimer t;
        t.start();
        stok->post();
        return ms(t);
    });
    return f;
}

} // namespace

void runServerBenchmarks(const QString &path, int runs)
{
    tk::registerServerStores();
    tk::test::PgCluster server(true);
    const QString address = server.createDatabase(QStringLiteral("defter"));
    {
        tk::PgConnection db(address);
        QElapsedTimer t;
        t.start();
        db.inTransaction([&] {
            tk::createServerSchema(db);
            tk::copyDataFileToServer(path, db);
        });
        db.run(QStringLiteral("VACUUM ANALYZE"));
        std::printf("books copied onto the server in %.0f ms\n\n", ms(t));
    }
    const QString folder = QFileInfo(path).absolutePath();
    const Figures file = measure(path, folder, runs);
    const Figures onServer = measure(address, folder, runs);
    std::printf("| %-44s | %25s | %25s | %6s |\n", "measure: median (min–max)", "Data.dat", "PostgreSQL (socket)",
                "ratio");
    std::printf("|%s|%s|%s|%s|\n", QByteArray(46, '-').constData(), QByteArray(27, '-').constData(),
                QByteArray(27, '-').constData(), QByteArray(8, '-').constData());
    line("main window built until shown", file.shown, onServer.shown);
    line("search keystroke \"Ç\" on MusTakip", file.keystroke, onServer.keystroke);
    line("search emptied: every row back", file.emptied, onServer.emptied);
    line("save a changed Stok row", file.edit, onServer.edit);
    line("save a new Stok row (SiraNo assigned)", file.append, onServer.append);
}
