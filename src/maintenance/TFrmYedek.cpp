#include "TFrmYedek.h"

#include "DatabaseBackup.h"
#include "FileOps.h"
#include "PaintingWait.h"
#include "ProgramRestart.h"
#include "core/ProfileFile.h"
#include "core/UiSeam.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace tk {

namespace {

const QString databaseFile = QStringLiteral("Data.dat");
const QString settingsFile = QStringLiteral("S-Veri.ini");
// Where S-Veri.ini keeps the backup history's choices.
const QString historySection = QStringLiteral("Yedekleme");
const QString datedKey = QStringLiteral("TarihliKlasor");
const QString keptKey = QStringLiteral("SaklananYedek");
constexpr int defaultKept = 10;

// Mounts of the kernel's own that hold no user folders.
bool isUserVolume(const QStorageInfo &volume)
{
    static const QSet<QByteArray> pseudo = {
        "proc", "sysfs", "devpts", "devtmpfs", "cgroup", "cgroup2", "securityfs", "pstore",
        "debugfs", "tracefs", "mqueue", "hugetlbfs", "configfs", "fusectl", "bpf", "autofs",
        "binfmt_misc", "efivarfs", "nsfs", "rpc_pipefs", "ramfs",
    };
    return volume.isValid() && volume.isReady() && !pseudo.contains(volume.fileSystemType());
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

TFrmYedek::TFrmYedek(const QString &programFolder, const QString &initialLocation, QWidget *parent)
    : QDialog(parent)
    , m_programFolder(withSeparator(QFileInfo(programFolder).absoluteFilePath()))
    , m_databasePath(m_programFolder + databaseFile)
{
    FormCreate();
    setBackupLocation(initialLocation);
}

void TFrmYedek::FormCreate()
{
    setObjectName(QStringLiteral("FrmYedek"));
    setWindowTitle(QStringLiteral(" Yedekleme İşlemi"));
    buildLayout();
    fillDrives();
    connect(Button1, &QPushButton::clicked, this, &TFrmYedek::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFrmYedek::Button2Click);
    connect(DriveComboBox1, &QComboBox::activated, this, &TFrmYedek::DriveComboBox1Change);
    CheckBox3->setChecked(ProfileFile(m_programFolder + settingsFile).readBool(historySection, datedKey, false));
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool dated) {
        guarded(this, [&] { rememberDatedChoice(dated); });
    });
}

void TFrmYedek::rememberDatedChoice(bool dated)
{
    ProfileFile(m_programFolder + settingsFile).writeBool(historySection, datedKey, dated);
}

void TFrmYedek::buildLayout()
{
    Edit1 = new QLineEdit(QStringLiteral("YedekVT"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFocusPolicy(Qt::ClickFocus);
    auto *nameLabel = new QLabel(QStringLiteral("Yedekleme Klasörü Adı"), this);
    nameLabel->setBuddy(Edit1);

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setFocusPolicy(Qt::ClickFocus);
    auto *driveLabel = new QLabel(QStringLiteral("Yedekleme Konumu"), this);
    driveLabel->setBuddy(DriveComboBox1);

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders->setReadOnly(true);
    DirectoryOutline1 = new QTreeView(this);
    DirectoryOutline1->setObjectName(QStringLiteral("DirectoryOutline1"));
    DirectoryOutline1->setAccessibleName(QStringLiteral("Yedekleme klasörü"));
    DirectoryOutline1->setModel(m_folders);
    DirectoryOutline1->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        DirectoryOutline1->hideColumn(column);
    DirectoryOutline1->setMinimumSize(300, 220);
    connect(m_folders, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        if (parent == DirectoryOutline1->rootIndex())
            hideOtherDrives();
    });

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto *progressLabel = new QLabel(QStringLiteral("Durum"), this);
    progressLabel->setBuddy(ProgressBar1);

    CheckBox1 = new QCheckBox(QStringLiteral("Veritabanı"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    CheckBox2 = new QCheckBox(QStringLiteral("Ayar Dosyası"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    auto *group = new QGroupBox(QStringLiteral(" Yedeklenecek Veriler "), this);
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(CheckBox1);
    groupLayout->addWidget(CheckBox2);
    CheckBox3 = new QCheckBox(QStringLiteral("Tarihli klasörlerde sakla"), this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));

    Button1 = new QPushButton(QStringLiteral("YEDEKLE"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Yedekten geri yükle..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(Edit1);
    layout->addWidget(driveLabel);
    layout->addWidget(DriveComboBox1);
    layout->addWidget(DirectoryOutline1);
    layout->addWidget(progressLabel);
    layout->addWidget(ProgressBar1);
    layout->addWidget(group);
    layout->addWidget(CheckBox3);
    layout->addWidget(Button1);
    layout->addWidget(Button2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFrmYedek::fillDrives()
{
    DriveComboBox1->clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (isUserVolume(volume))
            DriveComboBox1->addItem(QDir::toNativeSeparators(volume.rootPath()), volume.rootPath());
    }
}

void TFrmYedek::DriveComboBox1Change(int index)
{
    const QString root = DriveComboBox1->itemData(index).toString();
    showDrive(root);
    DirectoryOutline1->setCurrentIndex(m_folders->index(root));
}

// The tree shows the drive's root as its one top item, so the root itself can
// be chosen as well as any folder below it.
void TFrmYedek::showDrive(const QString &root)
{
    m_driveRoot = root;
    m_folders->setRootPath(root);
    const QModelIndex rootIndex = m_folders->index(root);
    DirectoryOutline1->setRootIndex(rootIndex.parent());
    hideOtherDrives();
    DirectoryOutline1->expand(rootIndex);
}

void TFrmYedek::hideOtherDrives()
{
    const QModelIndex top = DirectoryOutline1->rootIndex();
    const QModelIndex shown = m_folders->index(m_driveRoot);
    for (int row = 0; row < m_folders->rowCount(top); ++row)
        DirectoryOutline1->setRowHidden(row, top, m_folders->index(row, 0, top) != shown);
}

QString TFrmYedek::backupLocation() const
{
    const QModelIndex current = DirectoryOutline1->currentIndex();
    return current.isValid() ? m_folders->filePath(current) : m_driveRoot;
}

void TFrmYedek::setBackupLocation(const QString &folder)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    const QString root = QStorageInfo(path).rootPath().isEmpty() ? QDir::rootPath() : QStorageInfo(path).rootPath();
    int index = DriveComboBox1->findData(root);
    if (index < 0) {
        DriveComboBox1->addItem(QDir::toNativeSeparators(root), root);
        index = DriveComboBox1->count() - 1;
    }
    DriveComboBox1->setCurrentIndex(index);
    showDrive(root);
    const QModelIndex chosen = m_folders->index(path);
    DirectoryOutline1->setCurrentIndex(chosen.isValid() ? chosen : m_folders->index(root));
    DirectoryOutline1->scrollTo(DirectoryOutline1->currentIndex());
}

void TFrmYedek::Button1Click()
{
    if (!CheckBox1->isChecked() && !CheckBox2->isChecked()) {
        ui().warn(this, QStringLiteral("Uyarı"), QStringLiteral("Yedekleme için seçim yapılmadı !"));
        return;
    }
    guarded(this, [this] { runBackup(); });
}

void TFrmYedek::raiseProgress(int waitMs)
{
    for (int step = 0; step < 4; ++step) {
        ProgressBar1->setValue(ProgressBar1->value() + 25);
        waitPainting(waitMs);
    }
}

void TFrmYedek::runBackup()
{
    // The error box of a failed copy is shown by guarded(), which also restores the cursor.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_busy = true;
    Button1->setEnabled(false);
    const auto settle = qScopeGuard([this] {
        m_busy = false;
        Button1->setEnabled(true);
        ProgressBar1->setValue(0);
    });

    const QString backupFolder = backupFolderPath(backupLocation(), Edit1->text());
    createFolder(backupFolder);
    // Copies over the originals would put a new file under the open connection.
    if (QFileInfo(backupFolder).canonicalFilePath() == QFileInfo(m_programFolder).canonicalFilePath())
        throw Error(QStringLiteral("Yedekleme klasörü programın kendi klasörü olamaz: %1")
                        .arg(QDir::toNativeSeparators(backupFolder)));
    const bool dated = CheckBox3->isChecked();
    const QString folder = dated ? datedBackupFolder(backupFolder, m_clock()) : backupFolder;
    createFolder(folder);
    // The empty folder of a dated backup that failed would count as one of
    // the backups kept and push a good one out.
    auto dropEmptyFolder = qScopeGuard([&] {
        if (dated)
            QDir().rmdir(folder);
    });
    // A backup cut short leaves its hidden temporaries: this one clears them,
    // whichever files it copies itself.
    for (const QString &file : {databaseFile, settingsFile})
        removeTemporariesOf(folder + file);
    ProgressBar1->setValue(0);
    if (CheckBox1->isChecked()) {
        raiseProgress(100);
        if (m_serverSnapshot) {
            // Written beside, then put in the place of an older backup in one step.
            const QString fresh = temporaryFor(folder + databaseFile);
            m_serverSnapshot(fresh);
            replaceFile(fresh, folder + databaseFile);
        } else {
            backupDatabase(m_liveDatabase, m_programFolder + databaseFile, folder + databaseFile);
        }
        ProgressBar1->setValue(0);
        waitPainting(100);
    }
    if (CheckBox2->isChecked()) {
        raiseProgress(50);
        copyFileReplacing(m_programFolder + settingsFile, folder + settingsFile);
        ProgressBar1->setValue(0);
        waitPainting(50);
    }
    dropEmptyFolder.dismiss();
    if (dated)
        pruneDatedBackups(backupFolder, ProfileFile(m_programFolder + settingsFile).readInteger(historySection, keptKey, defaultKept),
                          folder);
    QApplication::restoreOverrideCursor();
    ui().inform(this, QStringLiteral("Bilgi"),
                QStringLiteral("Yedekleme işlemi başarıyla tamamlandı. Veritanı dosyası belirlediğiniz klasöre kopyalandı."));
    accept();
}

void TFrmYedek::Button2Click() { guarded(this, [this] { runRestore(); }); }

void TFrmYedek::runRestore()
{
    if (m_booksOnServer)
        throw Error(QStringLiteral("Veriler bir veritabanı sunucusunda: bir yedek dosyası buradan geri yüklenemez.\n"
                                   "Sunucudaki verileri bir yedekle değiştirmek için: tekvanis-transfer --replace"));
    const QString folder = ui().chooseFolder(this, QStringLiteral("Geri yüklenecek yedeğin klasörü"), backupLocation());
    if (folder.isEmpty())
        return;
    const BackupSummary backup = inspectBackup(folder);
    const QString question =
        QStringLiteral("Yedeğin tarihi: %1\n\n%2\n\nŞimdiki veriler bu yedekteki verilerle değiştirilecek; şimdiki "
                       "veritabanı Data-önceki.dat adıyla saklanacak. Program ardından yeniden başlayacak.\n\n"
                       "Onaylıyor musunuz?")
            .arg(backup.written.toString(QStringLiteral("dd.MM.yyyy HH:mm")), rowCountsText(backup, m_pages));
    if (ui().ask(this, QStringLiteral("Yedekten geri yükle"), question, true) != UiSeam::Answer::Yes)
        return;

    // Another desk with the books open refuses it here, with the connection still open.
    DatabaseRestore restore(m_databasePath);
    std::unique_ptr<DeskLock> own;
    DeskLock *lock = m_deskLock;
    if (!lock) {
        own = DeskLock::exclusive(m_databasePath, QStringLiteral("Geri yükleme"));
        lock = own.get();
    }
    lock->makeExclusive(QStringLiteral("Geri yükleme"));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_busy = true;
    emit releaseDatabase();
    m_liveDatabase = nullptr;
    // From here on the program holds no connection: it starts anew however
    // the restore ends, after the user has seen how.
    guarded(this, [&] {
        restore.restore(backup, lock);
        QApplication::restoreOverrideCursor();
        ui().inform(this, QStringLiteral("Bilgi"),
                    QStringLiteral("Yedek geri yüklendi. Önceki veriler Data-önceki.dat dosyasında saklandı. "
                                   "Program yeniden başlatılıyor."));
    });
    m_busy = false;
    restartProgram();
}

void TFrmYedek::restartProgram()
{
    if (!m_programFile.isEmpty())
        startProgramAnew(this, m_programFile, m_programArguments);
    emit programEnding();
    QDialog::done(QDialog::Accepted);
}

void TFrmYedek::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFrmYedek::reject()
{
    if (!m_busy)
        QDialog::reject();
}

} // namespace tk
