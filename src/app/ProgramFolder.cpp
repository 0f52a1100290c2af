#include "ProgramFolder.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace tk {

namespace {

const QString settingsName = QStringLiteral("S-Veri.ini");

QString cleanAbsolute(const QString &folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

} // namespace

bool folderWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tekvanis-XXXXXX")));
    return probe.open();
}

ProgramFolder::Inputs ProgramFolder::processInputs(const QString &executableFolder, const QString &chosenByOption)
{
    Inputs in;
    in.executableFolder = executableFolder;
    in.chosen = chosenByOption.isEmpty() ? qEnvironmentVariable("TEKVANIS_HOME") : chosenByOption;
    in.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // XDG base directories: a relative XDG_DATA_HOME is to be ignored.
    if (in.dataHome.isEmpty() || QDir::isRelativePath(in.dataHome))
        in.dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    in.configFolder = QDir::homePath() + QStringLiteral("/.config/tekvanis");
#ifdef TK_INSTALLED_BINDIR
    in.installedBinFolder = QStringLiteral(TK_INSTALLED_BINDIR);
#endif
    return in;
}

ProgramFolder ProgramFolder::choose(const Inputs &in)
{
    ProgramFolder f;
    f.m_configFolder = in.configFolder;
    const QString exe = cleanAbsolute(in.executableFolder);
    // An installed executable keeps no records beside itself, even for a user
    // (root) who could write there.
    const bool installed = !in.installedBinFolder.isEmpty() && exe == cleanAbsolute(in.installedBinFolder);
    if (!in.chosen.isEmpty()) {
        f.m_path = cleanAbsolute(in.chosen);
        f.m_source = Source::Chosen;
    } else if (!installed && folderWritable(exe)) {
        f.m_path = exe;
        f.m_source = Source::Executable;
    } else {
        f.m_path = cleanAbsolute(QDir(in.dataHome).filePath(QStringLiteral("tekvanis")));
        f.m_source = Source::UserData;
    }
    return f;
}

QString ProgramFolder::filePath(const QString &name) const { return QDir(m_path).filePath(name); }

void ProgramFolder::prepare() const
{
    if (!QDir().mkpath(m_path))
        throw Error(QStringLiteral("Program klasörü oluşturulamadı: %1").arg(QDir::toNativeSeparators(m_path)));
    if (besideExecutable() || m_configFolder.isEmpty())
        return;
    // Older versions kept S-Veri.ini in the configuration folder when the
    // executable's folder was read-only; it now belongs in the program folder.
    const QString old = QDir(m_configFolder).filePath(settingsName);
    const QString target = filePath(settingsName);
    if (!QFileInfo::exists(old) || QFileInfo::exists(target))
        return;
    if (QFile::rename(old, target))
        return;
    if (!QFile::copy(old, target))
        throw Error(QStringLiteral("Ayar dosyası taşınamadı: %1 → %2")
                        .arg(QDir::toNativeSeparators(old), QDir::toNativeSeparators(target)));
    QFile::remove(old); // the copy is in place; a leftover original is never read again
}

} // namespace tk
