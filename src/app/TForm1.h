#pragma once
// The main window: the top buttons, the page buttons of the left column, the
// ten record pages and the status bar.
#include "PageTable.h"
#include "data/DataModule.h"
#include "data/DeskLock.h"

#include <QMainWindow>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace tk {

class OtherDesks;
class TAyarFrm;
class TFrmTamir;
class TFrmYedek;

struct AppPaths {
    QString programFolder;  // Data.dat, S-Veri.ini, backups (see ProgramFolder)
    QString configFolder;   // ~/.config/tekvanis (win.ini)
    QString programFile;    // started anew after database maintenance
    QStringList programArguments; // ... with these arguments, so it finds the same folder
    QString databasePath = QStringLiteral("Data.dat"); // relative paths resolve against the current folder
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Opens the database and every dataset; throws DatabaseError when it cannot.
    explicit TForm1(const AppPaths &paths, QWidget *parent = nullptr);
    ~TForm1() override;

    DataModule *data() const { return m_data.get(); }
    TAyarFrm *settingsDialog() const { return m_settings; }
    TFrmYedek *backupDialog() const { return m_backup; }
    TFrmTamir *repairDialog() const { return m_repair; }
    const AppPaths &paths() const { return m_paths; }
    QString settingsFile() const;

    void showPage(int index); // RzButtonNClick
    void statusRefresh();     // idle-time status bar and page buttons
    // Ends the run without the close handler (restart after maintenance,
    // refused password): no question, no settings written.
    void endWithoutClosing();
    // Saves every changed row being edited; an unchanged new row is dropped.
    void postPendingEdits();

    QString recordCountText(int page) const;
    QString currentRecordText(int page) const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readKeysOfPage(int page);
    void connectServerMaintenance();
    QFrame *buildTopPanel(QWidget *parent);     // Panel1
    QWidget *buildPageColumn(QWidget *parent);  // Panel2
    void buildPages(QWidget *parent);
    void setLabelText(QLabel *label, const QString &text);
    void backupDatabase(); // SpeedButton11Click: pending edits saved, then backup/restore
    void repairDatabase(); // SpeedButton12Click: pending edits saved, the connection released, then maintenance
    void focusFirstControlOfPage(); // after a page key, typing starts on the page
    void showSummary();    // SpeedButton14Click: the summary window "Özet"

    AppPaths m_paths;
    std::unique_ptr<DeskLock> m_deskLock; // this desk's hold on the books, before they open
    std::unique_ptr<DataModule> m_data;
    OtherDesks *m_otherDesks = nullptr;
    TAyarFrm *m_settings = nullptr;
    TFrmYedek *m_backup = nullptr;
    TFrmTamir *m_repair = nullptr;
    QWidget *m_pageArea = nullptr; // Panel6
    QTabWidget *m_pageControl = nullptr;
    QVector<QPushButton *> m_pageButtons;
    QVector<RecordPage *> m_pages;
    QLabel *m_countPanel = nullptr;
    QLabel *m_currentPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
    QLabel *m_link = nullptr;
    bool m_shown = false;
    bool m_ending = false;
};

} // namespace tk
