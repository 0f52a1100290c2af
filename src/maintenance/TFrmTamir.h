#pragma once
// The maintenance dialog: compacts and repairs the database file while the
// program holds no connection to it, shows the size before and after, and
// ends the run by starting the program anew, whichever way it is left.
#include "DatabaseCompaction.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tk {

class TFrmTamir : public QDialog {
    Q_OBJECT
public:
    // `databasePath` is the file the program works on; `programFile` the
    // executable started anew at the end, with `programArguments`.
    TFrmTamir(const QString &databasePath, const QString &programFile,
              const QStringList &programArguments = {}, QWidget *parent = nullptr);

    DatabaseCompaction &compaction() { return m_compaction; }

    // Books on a server: the dialog shows the size `size` reads from the server
    // before and after `maintain` (the server's own upkeep) in place of the
    // file's compaction, and closes without starting the program anew.
    void setServerMaintenance(std::function<qint64()> size, std::function<void()> maintain)
    {
        m_serverSize = std::move(size);
        m_serverMaintain = std::move(maintain);
    }

signals:
    // The new instance has been started (or the user was told it could not
    // be): this run must end now, without its closing steps (no exit
    // question, no settings written).
    void programEnding();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private slots:
    void Button1Click();
    void Button6Click();

private:
    enum class Stage { Ready, Working, Finished };

    void buildLayout();
    void FormShow();
    void startWork();
    void showFailure(const QString &status, const QString &reason);
    void advance(int waitMs, int step);
    void restartProgram();
    void maintainServer();
    QString sizeText() const;

    DatabaseCompaction m_compaction;
    QString m_programFile;
    QStringList m_programArguments;
    Stage m_stage = Stage::Ready;
    bool m_restarted = false;
    std::function<qint64()> m_serverSize;
    std::function<void()> m_serverMaintain;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label7 = nullptr; // the reason of a failure
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button6 = nullptr;
};

} // namespace tk
