#pragma once
// The page tests of the service, damage, invoice, account and waybill pages:
// the real main window on a real Data.dat in a temporary folder, driven
// through its named controls, with message boxes answered by script.
#include "app/TAyarFrm.h"
#include "app/TForm1.h"
#include "data/RecordActions.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace tk::test {

struct PageForm {
    // `page`: 0 MÜŞTERİ TAKİP … 4 İRSALİYELER, in the order of the page buttons.
    explicit PageForm(int page, TempDatabase::Fill fill = TempDatabase::Empty) : db(fill), m_page(page) { open(); }

    // A main window on the fixture's folder (again: a restart), showing the page.
    void open()
    {
        form.reset();
        AppPaths paths;
        paths.programFolder = db.folder();
        paths.configFolder = db.folder() + QStringLiteral("/config");
        form = std::make_unique<TForm1>(paths);
        form->show();
        QApplication::setActiveWindow(form.get());
        form->showPage(m_page);
    }
    // Closes the window answering Yes to the exit question.
    void closeWithYes()
    {
        ui.answers.push_back(UiSeam::Answer::Yes);
        QVERIFY(form->close());
        form.reset();
    }

    template <typename T = QWidget>
    T *child(const char *name) const
    {
        // Looked up on the page's own sheet: dialogs have controls of the same names.
        QWidget *sheet = form->findChild<QWidget *>(QStringLiteral("TabSheet%1").arg(m_page + 1));
        auto *w = sheet->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit *box(const char *name) const { return child<QLineEdit>(name); }
    Dataset *dataset(const char *name) const { return form->data()->dataset(QLatin1String(name)); }

    // Replaces the box's text by typing, as the user would.
    void type(const char *name, const QString &text) const
    {
        QLineEdit *b = box(name);
        b->setFocus();
        if (!b->text().isEmpty()) {
            b->selectAll();
            QTest::keyClick(b, Qt::Key_Delete);
        }
        typeInto(b, text);
    }
    // Key events carrying each character, as a keyboard sends them (also the Turkish letters).
    static void typeInto(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            const int key = c.isLetterOrNumber() && c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &release);
        }
    }
    void click(const char *button) const { QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton); }
    // Runs a dataset action as its tool bar button would at this moment.
    void trigger(const char *action) const
    {
        form->findChild<RecordActions *>(QStringLiteral("ActionList1"))->updateEnabled();
        QAction *a = form->findChild<QAction *>(QLatin1String(action));
        QVERIFY2(a->isEnabled(), action);
        a->trigger();
    }
    void setVatRate(const QString &rate) const { form->settingsDialog()->box(QStringLiteral("Kdv"))->setText(rate); }

    QStringList errors() const { return ui.texts(QStringLiteral("error")); }

    // With TK_SCREENSHOT_DIR set, saves the window as <dir>/<name>.png.
    void screenshot(const QString &name) const
    {
        const QString dir = qEnvironmentVariable("TK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        form->resize(1280, 800);
        QApplication::processEvents();
        form->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    TempDatabase db;
    ScriptedUi ui;
    std::unique_ptr<TForm1> form;

private:
    int m_page;
};

} // namespace tk::test
