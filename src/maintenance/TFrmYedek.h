#pragma once
// The backup dialog: copies the database and, on request, the settings file
// from the program's folder into a backup folder the user names and places.
// Created once and reused, so its choices stay between openings.
#include "DatabaseRestore.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;
struct sqlite3;

namespace tk {

class TFrmYedek : public QDialog {
    Q_OBJECT
public:
    // `programFolder` holds Data.dat and S-Veri.ini; `initialLocation` is the
    // folder selected in the tree at first.
    TFrmYedek(const QString &programFolder, const QString &initialLocation, QWidget *parent = nullptr);

    // The program's open connection (nullptr once it is released). When it is
    // open on the program folder's Data.dat, the snapshot is read through it.
    void setLiveDatabase(sqlite3 *db) { m_liveDatabase = db; }

    QString programFolder() const { return m_programFolder; }

    // Restore from a backup ("Yedekten geri yükle..."): the database the program
    // works on, its hold on the books, the pages whose row counts are shown,
    // and the program started anew afterwards.
    void setDatabasePath(const QString &path) { m_databasePath = path; }
    void setDeskLock(DeskLock *lock) { m_deskLock = lock; }
    void setPages(const QVector<PageTables> &pages) { m_pages = pages; }
    void setRestart(const QString &programFile, const QStringList &arguments)
    {
        m_programFile = programFile;
        m_programArguments = arguments;
    }
    // The books are on a database server, not in a file: restoring a file
    // backup is refused (the server's books are replaced with the transfer tool).
    void setBooksOnServer(bool onServer) { m_booksOnServer = onServer; }
    // Books on a server are backed up by this: a snapshot of them written as a
    // Data.dat to the path it is given.
    void setServerSnapshot(std::function<void(const QString &target)> snapshot) { m_serverSnapshot = std::move(snapshot); }

    // The time a dated backup folder is named after (the system clock unless set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The folder selected in the tree: the backup goes below it.
    QString backupLocation() const;
    void setBackupLocation(const QString &folder);

signals:
    // The program must close its connection now: the file is about to be replaced.
    void releaseDatabase();
    // A restore replaced the books (or failed after the connection was
    // closed) and the program was started anew: this run ends now, without
    // its closing steps.
    void programEnding();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private slots:
    void Button1Click();
    void Button2Click();
    void DriveComboBox1Change(int index);

private:
    void FormCreate();
    void buildLayout();
    void fillDrives();
    void showDrive(const QString &root);
    void hideOtherDrives();
    void runBackup();
    void raiseProgress(int waitMs);
    void rememberDatedChoice(bool dated);
    void runRestore();
    void restartProgram();

    QString m_programFolder;
    sqlite3 *m_liveDatabase = nullptr;
    QString m_databasePath;
    DeskLock *m_deskLock = nullptr;
    QVector<PageTables> m_pages;
    QString m_programFile;
    QStringList m_programArguments;
    bool m_booksOnServer = false;
    std::function<void(const QString &)> m_serverSnapshot;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    bool m_busy = false;
    QString m_driveRoot;

    QLineEdit *Edit1 = nullptr;
    QComboBox *DriveComboBox1 = nullptr;
    QTreeView *DirectoryOutline1 = nullptr;
    QFileSystemModel *m_folders = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr; // backups in dated folders
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr; // restore from a backup
};

} // namespace tk
