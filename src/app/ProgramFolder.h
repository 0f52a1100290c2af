#pragma once
// The program folder: where Data.dat, S-Veri.ini and the compaction's
// Yedek.dat live. Beside the executable when that folder can be written,
// otherwise in the user's data folder; --folder or TEKVANIS_HOME choose
// another one.
#include <QString>

namespace tk {

class ProgramFolder {
public:
    enum class Source { Executable, UserData, Chosen };

    struct Inputs {
        QString executableFolder;
        QString chosen;          // --folder DIR, else TEKVANIS_HOME, else empty
        QString dataHome;        // $XDG_DATA_HOME, or ~/.local/share
        QString configFolder;    // ~/.config/tekvanis, where older versions kept S-Veri.ini
        QString installedBinFolder; // where `cmake --install` puts the executable
    };

    // Decides the folder; touches nothing but a probe file in the executable's folder.
    static ProgramFolder choose(const Inputs &inputs);
    // The inputs of this process: its executable, TEKVANIS_HOME, XDG_DATA_HOME and home.
    static Inputs processInputs(const QString &executableFolder, const QString &chosenByOption);

    QString path() const { return m_path; }
    Source source() const { return m_source; }
    bool besideExecutable() const { return m_source == Source::Executable; }
    QString filePath(const QString &name) const;

    // Makes the folder, and moves an S-Veri.ini left in the configuration
    // folder by older versions into it, once. Throws tk::Error when it cannot.
    void prepare() const;

private:
    QString m_path;
    QString m_configFolder;
    Source m_source = Source::Executable;
};

// Whether files can be made in `folder` (tried, not guessed from permission bits).
bool folderWritable(const QString &folder);

} // namespace tk
