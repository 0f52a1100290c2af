#pragma once
// The backup dialog: copies the database and, on request, the settings file
// from the program's folder into a backup folder the user names and places.
// Created once and reused, so its choices stay between openings.
#include <QDialog>
#include <QString>

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

    // The folder selected in the tree: the backup goes below it.
    QString backupLocation() const;
    void setBackupLocation(const QString &folder);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private slots:
    void Button1Click();
    void DriveComboBox1Change(int index);

private:
    void FormCreate();
    void buildLayout();
    void fillDrives();
    void showDrive(const QString &root);
    void hideOtherDrives();
    void runBackup();
    void raiseProgress(int waitMs);

    QString m_programFolder;
    sqlite3 *m_liveDatabase = nullptr;
    bool m_busy = false;
    QString m_driveRoot;

    QLineEdit *Edit1 = nullptr;
    QComboBox *DriveComboBox1 = nullptr;
    QTreeView *DirectoryOutline1 = nullptr;
    QFileSystemModel *m_folders = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QPushButton *Button1 = nullptr;
};

} // namespace tk
