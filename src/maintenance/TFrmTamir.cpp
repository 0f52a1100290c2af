#include "TFrmTamir.h"

#include "ByteSize.h"
#include "PaintingWait.h"
#include "ProgramRestart.h"
#include "core/Error.h"
#include "core/UiSeam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tk {

namespace {

const QColor maroon(0x80, 0x00, 0x00);
const QColor blue(0x00, 0x00, 0xFF);
const QColor silver(0xC0, 0xC0, 0xC0);

QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// The colour of an enabled label; a disabled one stays greyed.
void paintText(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(palette);
}

void setBold(QLabel *label, bool bold)
{
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
}

} // namespace

TFrmTamir::TFrmTamir(const QString &databasePath, const QString &programFile,
                     const QStringList &programArguments, QWidget *parent)
    : QDialog(parent)
    , m_compaction(databasePath)
    , m_programFile(programFile)
    , m_programArguments(programArguments)
{
    setObjectName(QStringLiteral("FrmTamir"));
    setWindowTitle(QStringLiteral("Veritabanı Bakım ve Onarımı"));
    buildLayout();
    connect(Button1, &QPushButton::clicked, this, &TFrmTamir::Button1Click);
    connect(Button6, &QPushButton::clicked, this, &TFrmTamir::Button6Click);
}

void TFrmTamir::buildLayout()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::Box);
    panel->setAutoFillBackground(true);
    QPalette panelPalette = panel->palette();
    panelPalette.setColor(QPalette::Window, palette().color(QPalette::Button));
    panelPalette.setColor(QPalette::WindowText, Qt::gray); // the frame line
    panel->setPalette(panelPalette);
    const QColor normalText = palette().color(QPalette::WindowText);

    Label1 = namedLabel(QStringLiteral("Label1"), QStringLiteral("Veritabanı boyutu :"), panel);
    Label1->setEnabled(false);
    Label2 = namedLabel(QStringLiteral("Label2"), QStringLiteral("İşlem öncesi :"), panel);
    Label5 = namedLabel(QStringLiteral("Label5"), QStringLiteral("..."), panel);
    paintText(Label5, maroon);
    Label4 = namedLabel(QStringLiteral("Label4"), QStringLiteral("İşlem sonrası :"), panel);
    Label6 = namedLabel(QStringLiteral("Label6"), QStringLiteral("..."), panel);
    paintText(Label6, blue);
    paintText(Label2, normalText);
    paintText(Label4, normalText);
    Label2->setBuddy(Label5);
    Label4->setBuddy(Label6);

    // The two size texts side by side on a sunken silver strip.
    auto *strip = new QFrame(panel);
    strip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    strip->setAutoFillBackground(true);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, silver);
    strip->setPalette(stripPalette);
    auto *sizes = new QGridLayout(strip);
    sizes->addWidget(Label2, 0, 0);
    sizes->addWidget(Label5, 0, 1);
    sizes->addWidget(Label4, 0, 2);
    sizes->addWidget(Label6, 0, 3);

    Label3 = namedLabel(QStringLiteral("Label3"), QStringLiteral("Gösterge paneli"), panel);
    paintText(Label3, normalText);
    setBold(Label3, true);
    Label3->setEnabled(false);
    Label3->setWordWrap(true);

    // Why it failed, in the engine's and the system's words; shown with a failure.
    Label7 = namedLabel(QStringLiteral("Label7"), QString(), panel);
    paintText(Label7, maroon);
    Label7->setWordWrap(true);
    Label7->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label7->hide();

    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setAccessibleName(QStringLiteral("İlerleme"));

    Button1 = new QPushButton(QStringLiteral("Başla"), panel);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button6 = new QPushButton(QStringLiteral("İptal"), panel);
    Button6->setObjectName(QStringLiteral("Button6"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button6);

    auto *inner = new QVBoxLayout(panel);
    inner->addWidget(Label1);
    inner->addWidget(strip);
    inner->addWidget(Label3);
    inner->addWidget(Label7);
    inner->addWidget(ProgressBar1);
    inner->addLayout(buttons);
    Label3->setMinimumWidth(360);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(panel);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

void TFrmTamir::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmTamir::FormShow()
{
    guarded(this, [this] { Label5->setText(sizeText()); }); // a server may be gone
}

QString TFrmTamir::sizeText() const
{
    return m_serverSize ? formatByteSize(quint64(m_serverSize())) : fileSizeText(m_compaction.databasePath());
}

void TFrmTamir::Button1Click()
{
    if (m_stage == Stage::Finished) {
        restartProgram();
        return;
    }
    if (m_stage == Stage::Ready)
        guarded(this, [this] { startWork(); });
}

void TFrmTamir::Button6Click() { restartProgram(); }

void TFrmTamir::advance(int waitMs, int step)
{
    waitPainting(waitMs);
    ProgressBar1->setValue(ProgressBar1->value() + step);
}

void TFrmTamir::showFailure(const QString &status, const QString &reason)
{
    Label3->setEnabled(true);
    paintText(Label3, maroon);
    setBold(Label3, false);
    Label3->setText(status);
    Label3->setToolTip(reason);
    Label7->setText(reason);
    Label7->show();
    Button1->setText(QStringLiteral("İşlem Başarısız"));
}

void TFrmTamir::maintainServer()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_stage = Stage::Working;
    Button1->setEnabled(false);
    QString failure;
    try {
        m_serverMaintain();
        Label6->setText(sizeText());
    } catch (const Error &error) {
        failure = error.text();
    }
    ProgressBar1->setValue(100);
    m_stage = Stage::Finished;
    Button1->setEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        showFailure(QStringLiteral("Hata! Sunucudaki bakım yapılamadı."), failure);
        return;
    }
    Label3->setEnabled(true);
    Label3->setText(QStringLiteral("İşlem başarıyla tamamlandı"));
    Button1->setText(QStringLiteral("Programa Git"));
    ui().inform(this, QStringLiteral("Bilgi"),
                QStringLiteral("Sunucudaki bakım (VACUUM ANALYZE) tamamlandı.\nVeritabanının sunucudaki boyutu: önce %1, "
                               "şimdi %2.")
                    .arg(Label5->text(), Label6->text()));
}

void TFrmTamir::startWork()
{
    if (m_serverMaintain) {
        maintainServer();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_stage = Stage::Working;
    Button6->setEnabled(false);
    Button1->setEnabled(false);

    // Whatever the engine says, the user sees one failure line, and under it
    // the reason (a file in use, a damaged file, a folder that cannot be written).
    QString compactionFailure;
    try {
        m_compaction.compact();
    } catch (const Error &error) {
        compactionFailure = error.text();
    }

    if (!compactionFailure.isEmpty()) {
        ProgressBar1->setValue(ProgressBar1->value() + 20);
        waitPainting(2000);
        showFailure(QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !"), compactionFailure);
        m_stage = Stage::Finished;
        Button1->setEnabled(true);
        QApplication::restoreOverrideCursor();
        return;
    }

    Button1->setText(QStringLiteral("Bekleyiniz ..."));
    advance(1000, 20);
    advance(1000, 20);
    advance(1000, 30);

    QString replaceFailure;
    try {
        m_compaction.replace();
    } catch (const Error &error) {
        replaceFailure = error.text();
    }
    if (!replaceFailure.isEmpty()) {
        showFailure(QStringLiteral("Hata! Veritabanı yenisiyle değiştirilemedi. Eski dosya olduğu gibi duruyor."),
                    replaceFailure);
        m_stage = Stage::Finished;
        Button1->setEnabled(true);
        QApplication::restoreOverrideCursor();
        ui().error(this, QStringLiteral("Hata"),
                   QStringLiteral("Sıkıştırılmış veritabanı eskisinin yerine konamadı; eski dosya olduğu gibi duruyor.\n")
                       + replaceFailure);
        return;
    }

    advance(1500, 10);
    advance(1500, 10);
    advance(1500, 10);
    Label3->setEnabled(true);
    Label3->setText(QStringLiteral("İşlem başarıyla tamamlandı"));
    Button1->setText(QStringLiteral("Programa Git"));
    m_stage = Stage::Finished;
    Button1->setEnabled(true);
    QApplication::restoreOverrideCursor();

    Label6->setText(fileSizeText(m_compaction.databasePath()));
    if (Label5->text() == Label6->text())
        ui().inform(this, QStringLiteral("Bilgi"),
                    QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı."));
}

void TFrmTamir::restartProgram()
{
    if (m_serverMaintain) { // the books on the server stayed where they were
        QDialog::done(QDialog::Accepted);
        return;
    }
    if (m_restarted)
        return;
    m_restarted = true;
    startProgramAnew(this, m_programFile, m_programArguments);
    emit programEnding();
    QDialog::done(QDialog::Accepted);
}

void TFrmTamir::closeEvent(QCloseEvent *event)
{
    if (m_stage == Stage::Working) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFrmTamir::reject()
{
    if (m_stage != Stage::Working)
        restartProgram();
}

} // namespace tk
