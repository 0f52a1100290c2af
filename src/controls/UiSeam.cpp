#include "core/UiSeam.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>
#include <exception>

namespace tk {

namespace {

class WidgetSeam final : public UiSeam {
public:
    Answer ask(QWidget *parent, const QString &caption, const QString &text, bool warning) override
    {
        const auto icon = warning ? QMessageBox::Warning : QMessageBox::Question;
        QMessageBox box(icon, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    Answer confirm(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }
    void inform(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox::information(parent, caption, text);
    }
    void warn(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox::warning(parent, caption, text);
    }
    void error(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox::critical(parent, caption, text);
    }
    bool restartProgram(const QString &program, const QStringList &args) override
    {
        return QProcess::startDetached(program, args);
    }
    bool openUrl(const QString &url) override { return QDesktopServices::openUrl(QUrl(url)); }
    QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }
    QString chooseOpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString chooseFolder(QWidget *parent, const QString &caption, const QString &dir) override
    {
        return QFileDialog::getExistingDirectory(parent, caption, dir);
    }
};

WidgetSeam productionSeam;
UiSeam *installed = nullptr;

} // namespace

UiSeam &UiSeam::current() { return installed ? *installed : productionSeam; }
void UiSeam::install(UiSeam *seam) { installed = seam; }

QString chooseSaveFileWithExtension(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter, const QString &extension)
{
    QString path = ui().chooseSaveFile(parent, caption, dir, filter);
    if (path.isEmpty() || path.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        return path;
    path += QLatin1Char('.') + extension;
    return mayReplaceFiles(parent, caption, {path}) ? path : QString();
}

bool mayReplaceFiles(QWidget *parent, const QString &caption, const QStringList &paths)
{
    QStringList existing;
    for (const QString &path : paths)
        if (QFileInfo::exists(path))
            existing << QDir::toNativeSeparators(path);
    if (existing.isEmpty())
        return true;
    const int shown = 5;
    QString names = QStringList(existing.mid(0, shown)).join(QLatin1Char('\n'));
    if (existing.size() > shown)
        names += QStringLiteral("\nve %1 dosya daha").arg(existing.size() - shown);
    return ui().ask(parent, caption, QStringLiteral("%1 zaten var.\nÜzerine yazılsın mı?").arg(names), true)
        == UiSeam::Answer::Yes;
}

void guarded(QWidget *parent, const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        ui().error(parent, QStringLiteral("Hata"), QString::fromUtf8(e.what()));
    }
}

} // namespace tk
