#pragma once
// The page tests of the cash book, payment plan, notes, stock and salary
// pages: the real main window on a real Data.dat in a temporary folder,
// driven through its named controls, with message boxes answered by script.
#include "app/TForm1.h"
#include "data/RecordActions.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace tk::test {

inline AppPaths ledgerPaths(const TempDatabase &db)
{
    AppPaths paths;
    paths.programFolder = db.folder();
    paths.configFolder = db.folder() + QStringLiteral("/config");
    return paths;
}

struct LedgerFixture {
    explicit LedgerFixture(int page, TempDatabase::Fill fill = TempDatabase::Empty) : db(fill) { open(page); }

    // A main window on the fixture's folder, showing `page`.
    void open(int page)
    {
        form = std::make_unique<TForm1>(ledgerPaths(db));
        form->show();
        QApplication::setActiveWindow(form.get());
        form->showPage(page);
    }

    QLineEdit *box(const char *name) const
    {
        auto *b = form->findChild<QLineEdit *>(QLatin1String(name));
        if (!b)
            qFatal("no box %s", name);
        return b;
    }
    Dataset *dataset(const char *name) const { return form->data()->dataset(QLatin1String(name)); }

    // Replaces the box's text by typing, as the user would.
    void type(const char *name, const QString &text) const
    {
        QLineEdit *b = box(name);
        b->setFocus();
        b->selectAll();
        if (b->hasSelectedText())
            QTest::keyClick(b, Qt::Key_Delete);
        typeText(b, text);
    }
    void click(const char *button) const
    {
        auto *b = form->findChild<QToolButton *>(QLatin1String(button));
        if (!b)
            qFatal("no button %s", button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Runs a dataset action as its tool bar button would at this moment.
    void trigger(const char *action) const
    {
        form->findChild<RecordActions *>(QStringLiteral("ActionList1"))->updateEnabled();
        form->findChild<QAction *>(QLatin1String(action))->trigger();
    }

    // With TK_SCREENSHOT_DIR set, saves the window as <dir>/<name>.png.
    void screenshot(const QString &name) const
    {
        const QString dir = qEnvironmentVariable("TK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        // Near the window's smallest size, where the pages are tightest.
        form->setWindowState(Qt::WindowNoState);
        form->resize(1024, 700);
        QApplication::processEvents();
        form->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    TempDatabase db;
    ScriptedUi ui;
    std::unique_ptr<TForm1> form;
};

} // namespace tk::test
