#include "Settings.h"

#include "PageTable.h"
#include "TAyarFrm.h"
#include "controls/RecordArea.h"
#include "core/ProfileFile.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryFile>

namespace tk {

namespace {

enum class Holder { MainWindow, Dialog, PreviewSwitch };

struct SettingDef {
    const char *section;
    const char *key;
    Holder holder;
    const char *control; // main window box name, or the dialog's setting key
};

// After the pages' saved totals, in this order.
const SettingDef programSettings[] = {
    {"Settings", "--P", Holder::PreviewSwitch, nullptr},
    {"Settings", "Kdv", Holder::Dialog, "Kdv"},
    {"Settings", "Rp1", Holder::Dialog, "Rp1"},
    {"Settings", "Rp2", Holder::Dialog, "Rp2"},
    {"Settings", "Rp3", Holder::Dialog, "Rp3"},
    {"Settings", "Rp4", Holder::Dialog, "Rp4"},
    {"Settings", "Rp5", Holder::Dialog, "Rp5"},
    {"Settings", "Rp6", Holder::Dialog, "Rp6"},
    {"Settings", "Rp7", Holder::Dialog, "Rp7"},
    {"Settings", "Rp8", Holder::Dialog, "Rp8"},
    {"Settings", "Rp9", Holder::Dialog, "Rp9"},
    {"Settings", "Rp10", Holder::Dialog, "Rp10"},
    {"Settings", "Rp11", Holder::Dialog, "Rp11"},
    {"Settings", "Mhs1", Holder::Dialog, "Mhs1"},
    {"Settings", "Mhs2", Holder::Dialog, "Mhs2"},
};

// The order of the file: the totals the pages keep, then the program's settings.
QVector<SettingDef> settingDefs()
{
    QVector<SettingDef> defs;
    for (const SavedTotal &total : savedTotalDefs())
        defs.append({total.section, total.key, Holder::MainWindow, total.box});
    for (const SettingDef &def : programSettings)
        defs.append(def);
    return defs;
}

QLineEdit *textControl(const SettingDef &def, QWidget *mainWindow, TAyarFrm *dialog)
{
    if (def.holder == Holder::MainWindow)
        return recordArea(mainWindow)->findChild<QLineEdit *>(QString::fromLatin1(def.control));
    return dialog->box(QString::fromLatin1(def.control));
}

bool folderWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tekvanis-XXXXXX")));
    return probe.open();
}

} // namespace

QString settingsFileName(const QString &programFolder, const QString &configFolder)
{
    const QString inProgramFolder = QDir(programFolder).filePath(QStringLiteral("S-Veri.ini"));
    const QFileInfo existing(inProgramFolder);
    if ((existing.exists() && existing.isWritable()) || (!existing.exists() && folderWritable(programFolder)))
        return inProgramFolder;
    return QDir(configFolder).filePath(QStringLiteral("S-Veri.ini"));
}

void loadSettings(const QString &path, QWidget *mainWindow, TAyarFrm *dialog)
{
    const ProfileFile file(path);
    for (const SettingDef &def : settingDefs()) {
        const QString section = QString::fromLatin1(def.section);
        const QString key = QString::fromLatin1(def.key);
        if (def.holder == Holder::PreviewSwitch) {
            QCheckBox *box = dialog->previewBox();
            bool ok = false;
            const int v = file.readString(section, key, QString()).trimmed().toInt(&ok);
            if (ok)
                box->setChecked(v != 0);
            continue;
        }
        if (QLineEdit *box = textControl(def, mainWindow, dialog))
            box->setText(file.readString(section, key, box->text()));
    }
}

void saveSettings(const QString &path, QWidget *mainWindow, TAyarFrm *dialog)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    ProfileFile file(path);
    for (const SettingDef &def : settingDefs()) {
        const QString section = QString::fromLatin1(def.section);
        const QString key = QString::fromLatin1(def.key);
        if (def.holder == Holder::PreviewSwitch) {
            file.writeString(section, key, dialog->previewBox()->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
            continue;
        }
        const QLineEdit *box = textControl(def, mainWindow, dialog);
        file.writeString(section, key, box ? box->text() : QString());
    }
}

} // namespace tk
