#include "TForm1.h"

#include "Settings.h"
#include "TAyarFrm.h"
#include "controls/Hints.h"
#include "controls/Idle.h"
#include "core/UiSeam.h"
#include "data/OtherDesks.h"
#include "data/RecordKeys.h"
#include "data/StoreOpener.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "server/PgStore.h"
#include "server/ServerMaintenance.h"
#include "server/ServerSnapshot.h"
#include "pages/PrintButtons.h"
#include "summary/SummaryIcon.h"
#include "summary/SummaryWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tk {

namespace {

const char *const linkAddress = "https://www.tekvanis.com.tr";

struct TopButton {
    const char *name;
    const char *caption;
    const char *hint;
    QStyle::StandardPixmap picture;
};

const TopButton topButtons[] = {
    {"SpeedButton10", "AYARLAR", "|Ayarlar penceresi...", QStyle::SP_FileDialogDetailedView},
    {"SpeedButton11", "VT. Yedekle", "|Veritabanını yedekle...", QStyle::SP_DialogSaveButton},
    {"SpeedButton12", "VT. Onar", "|Veritabanını onar...", QStyle::SP_BrowserReload},
    {"SpeedButton14", "ÖZET", "|Özet grafikler...", QStyle::SP_CustomBase}, // its picture is drawn
    {"SpeedButton13", "KAPAT", "Çıkış...", QStyle::SP_DialogCloseButton},
};

// Widths of the record-count and current-record panels as the window was
// drawn; a text our font makes wider widens its panel rather than being cut.
constexpr int countPanelWidth = 150;
constexpr int currentPanelWidth = 240;
constexpr int pageButtonStep = 32; // the 33-pixel buttons overlap by one

void fitPanel(QLabel *panel, int designWidth)
{
    const int width = std::max(designWidth, panel->sizeHint().width());
    if (panel->width() != width || panel->minimumWidth() != width)
        panel->setFixedWidth(width);
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

TForm1::TForm1(const AppPaths &paths, QWidget *parent)
    : QMainWindow(parent)
    , m_paths(paths)
    // Books on a server have no file beside them to lock.
    , m_deskLock(opensAsFile(paths.databasePath)
                     ? std::make_unique<DeskLock>(QFileInfo(paths.databasePath).absoluteFilePath())
                     : nullptr)
    , m_data(std::make_unique<DataModule>(paths.databasePath, datasetDefs()))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("XXX Tekvanis"));
    setMinimumSize(1000, 654);
    resize(1000, 654);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(10, 10, 10, 0);
    layout->setSpacing(5);
    layout->addWidget(buildTopPanel(central));

    auto *body = new QHBoxLayout;
    body->setSpacing(5);
    body->addWidget(buildPageColumn(central));
    buildPages(central);
    body->addWidget(m_pageArea, 0);
    auto *filler = new QWidget(central);
    filler->setObjectName(QStringLiteral("Filler"));
    filler->setAutoFillBackground(true);
    filler->setStyleSheet(QStringLiteral("background: silver;"));
    body->addWidget(filler, 1);
    layout->addLayout(body, 1);
    setCentralWidget(central);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_countPanel = new QLabel(status);
    m_countPanel->setObjectName(QStringLiteral("StatusPanelCount"));
    m_countPanel->setFixedWidth(countPanelWidth);
    m_countPanel->setAccessibleName(QStringLiteral("Kayıt sayısı"));
    m_currentPanel = new QLabel(status);
    m_currentPanel->setObjectName(QStringLiteral("StatusPanelCurrent"));
    m_currentPanel->setFixedWidth(currentPanelWidth);
    m_currentPanel->setAccessibleName(QStringLiteral("Aktif kayıt"));
    m_hintPanel = new QLabel(status);
    m_hintPanel->setObjectName(QStringLiteral("StatusPanelHint"));
    m_hintPanel->setAccessibleName(QStringLiteral("Açıklama"));
    for (QLabel *panel : {m_countPanel, m_currentPanel, m_hintPanel})
        panel->setFrameShape(QFrame::StyledPanel);
    status->addWidget(m_countPanel);
    status->addWidget(m_currentPanel);
    status->addWidget(m_hintPanel, 1);
    setStatusBar(status);

    // The dialogs live from start to exit, created hidden.
    m_settings = new TAyarFrm(QDir(paths.configFolder).filePath(QStringLiteral("win.ini")), this);
    m_backup = new TFrmYedek(paths.programFolder, QDir::homePath(), this);
    if (Connection *file = m_data->connection()) // books on a server have no file to copy page by page
        m_backup->setLiveDatabase(file->handle());
    m_backup->setDatabasePath(QFileInfo(paths.databasePath).absoluteFilePath());
    m_backup->setDeskLock(m_deskLock.get());
    m_backup->setRestart(paths.programFile, paths.programArguments);
    m_backup->setBooksOnServer(!m_data->connection());
    QVector<PageTables> pages;
    for (const PageDef *page : pageDefs()) {
        PageTables tables{QString::fromUtf8(page->caption), {}};
        for (const DatasetDef &d : page->datasets)
            tables.tables << QString::fromLatin1(d.name);
        pages << tables;
    }
    m_backup->setPages(pages);
    connect(m_backup, &TFrmYedek::releaseDatabase, this, [this] { m_data->releaseConnection(); });
    m_repair = new TFrmTamir(QFileInfo(paths.databasePath).absoluteFilePath(), paths.programFile, paths.programArguments, this);
    m_repair->compaction().setDeskLock(m_deskLock.get());
    if (dynamic_cast<PgStore *>(m_data->store()))
        connectServerMaintenance();
    // Maintenance ends the run by starting the program anew: no question, no settings written.
    const auto endRun = [this] {
        m_ending = true;
        QCoreApplication::exit(0);
    };
    connect(m_repair, &TFrmTamir::programEnding, this, endRun);
    connect(m_backup, &TFrmYedek::programEnding, this, endRun);

    // FormCreate: maximised, no page shown, idle refresh installed. The
    // geometry is set too, for desktops without a window manager to maximise.
    if (const QScreen *s = screen())
        setGeometry(s->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    m_pageArea->hide();
    onIdle(this, [this] { statusRefresh(); });
    qApp->installEventFilter(this);

    // Other desks' saves show here; the status bar says so until the next hint.
    m_otherDesks = new OtherDesks(m_data.get(), this);
    connect(m_otherDesks, &OtherDesks::reloaded, this, [this] {
        setLabelText(m_hintPanel, QStringLiteral(" Başka bir masadaki değişiklikler yüklendi."));
    });
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

QString TForm1::settingsFile() const { return settingsFileName(m_paths.programFolder); }

QFrame *TForm1::buildTopPanel(QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedHeight(41);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    bool first = true;
    for (const TopButton &b : topButtons) {
        if (!first)
            row->addWidget(separator(panel));
        first = false;
        auto *button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setText(QString::fromUtf8(b.caption));
        button->setIcon(style()->standardIcon(b.picture));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setFixedSize(97, 33);
        setHint(button, QString::fromUtf8(b.hint));
        row->addWidget(button);
    }
    row->addStretch();

    const auto button = [panel](const char *name) { return panel->findChild<QToolButton *>(QString::fromLatin1(name)); };
    connect(button("SpeedButton10"), &QToolButton::clicked, this, [this] { m_settings->exec(); });
    connect(button("SpeedButton11"), &QToolButton::clicked, this, [this] { backupDatabase(); });
    connect(button("SpeedButton12"), &QToolButton::clicked, this, [this] { repairDatabase(); });
    connect(button("SpeedButton13"), &QToolButton::clicked, this, &QWidget::close);
    button("SpeedButton14")->setIcon(summaryIcon());
    connect(button("SpeedButton14"), &QToolButton::clicked, this, [this] { showSummary(); });
    return panel;
}

QWidget *TForm1::buildPageColumn(QWidget *parent)
{
    auto *column = new QWidget(parent);
    column->setObjectName(QStringLiteral("Panel2"));
    column->setFixedWidth(209);
    auto *outer = new QVBoxLayout(column);
    outer->setContentsMargins(5, 5, 5, 5);
    auto *inner = new QFrame(column);
    inner->setObjectName(QStringLiteral("Panel3"));
    inner->setFrameShape(QFrame::StyledPanel);
    inner->setFrameShadow(QFrame::Sunken);
    inner->setAutoFillBackground(true);
    inner->setStyleSheet(QStringLiteral("QFrame#Panel3 { background: rgb(128, 128, 128); }"));
    outer->addWidget(inner);
    auto *buttons = new QVBoxLayout(inner);
    buttons->setSpacing(0);
    buttons->setContentsMargins(12, 12, 12, 12);

    const QVector<const PageDef *> &defs = pageDefs();
    // Placed by hand: a layout cannot make its items overlap.
    auto *stack = new QWidget(inner);
    stack->setFixedSize(161, pageButtonStep * int(defs.size() - 1) + 33);
    for (int i = 0; i < defs.size(); ++i) {
        auto *button = new QPushButton(QString::fromUtf8(defs[i]->caption), stack);
        button->setObjectName(QString::fromLatin1(defs[i]->button));
        button->setFixedSize(161, 33);
        button->move(0, pageButtonStep * i);
        button->setFocusPolicy(Qt::ClickFocus); // not on the Tab chain
        connect(button, &QPushButton::clicked, this, [this, i] { showPage(i); });
        // Ctrl+1 … Ctrl+9, Ctrl+0: the pages from the keyboard, the buttons being off the Tab chain.
        // The key is shown in the button's hint; the main window itself shows no tool tips.
        const QKeySequence key(Qt::CTRL | Qt::Key(Qt::Key_0 + (i + 1) % 10));
        setHint(button, QString::fromUtf8(defs[i]->hint) + QStringLiteral(" (")
                            + key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        auto *shortcut = new QShortcut(key, this);
        shortcut->setObjectName(QStringLiteral("PageKey%1").arg(i + 1));
        connect(shortcut, &QShortcut::activated, this, [this, i] {
            showPage(i);
            focusFirstControlOfPage();
        });
        m_pageButtons.append(button);
    }
    buttons->addWidget(stack, 0, Qt::AlignHCenter);
    buttons->addSpacing(16);

    m_link = new QLabel(inner);
    m_link->setObjectName(QStringLiteral("Label24"));
    m_link->setText(QStringLiteral("Paylaşım Platformu\n%1").arg(QString::fromLatin1(linkAddress).mid(8)));
    m_link->setAlignment(Qt::AlignCenter);
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setStyleSheet(QStringLiteral("color: rgb(192, 192, 192);"));
    m_link->setAttribute(Qt::WA_Hover);
    setHint(m_link, QStringLiteral("|Bilgi ve program paylaşım platformu.. . :)"));
    buttons->addWidget(m_link);
    buttons->addStretch();
    return column;
}

void TForm1::buildPages(QWidget *parent)
{
    m_pageArea = new QWidget(parent);
    m_pageArea->setObjectName(QStringLiteral("Panel6"));
    m_pageArea->setFixedWidth(755);
    auto *layout = new QVBoxLayout(m_pageArea);
    layout->setContentsMargins(5, 5, 5, 5);
    m_pageControl = new QTabWidget(m_pageArea);
    m_pageControl->setObjectName(QStringLiteral("RzPageControl1"));
    setHint(m_pageControl, QStringLiteral("|İrsaliye formu..."));
    layout->addWidget(m_pageControl);

    PageContext context;
    context.data = m_data.get();
    context.actions = new RecordActions(m_data.get(), toolBarDefs(), this);
    context.setting = [this](const QString &key) { return m_settings ? m_settings->setting(key) : QString(); };
    for (const PageDef *def : pageDefs()) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(def->tabSheet));
        auto *sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->setContentsMargins(0, 0, 0, 0);
        RecordPage *page = def->create(context, sheet);
        sheetLayout->addWidget(page);
        m_pages.append(page);
        m_pageControl->addTab(sheet, QString::fromUtf8(def->caption) + QString(10, QLatin1Char(' ')));
    }
    connectPrintButtons(this, context);
    new RecordKeys(this, m_pageArea, context.actions, toolBarDefs());
}

void TForm1::focusFirstControlOfPage()
{
    QWidget *sheet = m_pageControl->currentWidget();
    for (QWidget *w = sheet->nextInFocusChain(); w && w != sheet; w = w->nextInFocusChain()) {
        if (sheet->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // FormShow: settings into the controls, the caption, no page tab shown.
    loadSettings(settingsFile(), this, m_settings);
    setWindowTitle(m_settings->setting(QStringLiteral("Mhs2")) + QStringLiteral(" 1.0"));
    for (int i = 0; i < m_pageControl->count(); ++i)
        m_pageControl->tabBar()->setTabVisible(i, false);
}

void TForm1::showPage(int index)
{
    // The page first, then the area: the page shown is the only one whose rows are read.
    m_pageControl->setCurrentIndex(index);
    m_pageArea->show();
    m_pageControl->tabBar()->setTabVisible(index, true);
    for (int i = 0; i < m_pageControl->count(); ++i)
        if (i != index)
            m_pageControl->tabBar()->setTabVisible(i, false);
    statusRefresh();
}

QString TForm1::recordCountText(int page) const
{
    QString text;
    for (const CountPart &part : pageDefs()[page]->count) {
        const Dataset *ds = m_data ? m_data->dataset(QString::fromLatin1(part.dataset)) : nullptr;
        text += QString::fromUtf8(part.label) + QString::number(ds && ds->isOpen() ? ds->rowCount() : 0);
    }
    return text;
}

QString TForm1::currentRecordText(int page) const
{
    const PageDef &def = *pageDefs()[page];
    QStringList parts;
    for (const QString &name : def.currentBoxes) {
        const auto *box = m_pages[page]->findChild<QLineEdit *>(name);
        parts << (box ? box->text() : QString());
    }
    return QString::fromUtf8(def.currentLabel) + parts.join(QString::fromUtf8(def.boxSeparator));
}

void TForm1::setLabelText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

void TForm1::statusRefresh()
{
    if (!m_pageControl)
        return;
    // Between the repair button and the restart there is no database: say nothing.
    const bool connected = m_data->connection() != nullptr;
    if (!connected) {
        setLabelText(m_countPanel, QString());
        setLabelText(m_currentPanel, QString());
    }
    for (int i = 0; i < m_pageButtons.size(); ++i) {
        const bool shown = m_pageArea->isVisibleTo(this) && m_pageControl->tabBar()->isTabVisible(i);
        if (m_pageButtons[i]->isEnabled() == shown)
            m_pageButtons[i]->setEnabled(!shown);
        if (shown && connected) {
            setLabelText(m_countPanel, recordCountText(i));
            setLabelText(m_currentPanel, currentRecordText(i));
        }
    }
    fitPanel(m_countPanel, countPanelWidth);
    fitPanel(m_currentPanel, currentPanelWidth);
}

void TForm1::readKeysOfPage(int page)
{
    guarded(this, [&] {
        for (const DatasetDef &d : pageDefs()[page]->datasets)
            m_data->dataset(QString::fromLatin1(d.name))->readKeys();
    });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // A page's datasets read their keys when the page is first shown.
    if (event->type() == QEvent::Show && m_pageControl && watched->isWidgetType()) {
        const int page = m_pageControl->indexOf(static_cast<QWidget *>(watched));
        if (page >= 0)
            readKeysOfPage(page);
    }
    if (watched == m_link) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
            m_link->setStyleSheet(QStringLiteral("color: white;"));
        else if (event->type() == QEvent::Leave)
            m_link->setStyleSheet(QStringLiteral("color: rgb(192, 192, 192);"));
        else if (event->type() == QEvent::MouseButtonRelease)
            ui().openUrl(QString::fromLatin1(linkAddress)); // a failure is not reported
    }
    // BilgiBari: the long hint of whatever the pointer is over. Entering a
    // control gives its hint; leaving one puts the pointer back on its parent,
    // which gets no enter of its own (a control entered next overrides this).
    const bool enter = event->type() == QEvent::Enter;
    if ((enter || event->type() == QEvent::Leave) && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->window() == this && m_hintPanel)
            setLabelText(m_hintPanel, QLatin1Char(' ') + effectiveLongHint(enter ? widget : widget->parentWidget()));
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::postPendingEdits()
{
    for (Dataset *ds : m_data->datasets())
        ds->checkBrowseMode();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    event->ignore();
    guarded(this, [&] {
        saveSettings(settingsFile(), this, m_settings);
        if (ui().ask(this, QStringLiteral(" Muhasebe"), QStringLiteral("Programdan çıkmak istiyor musunuz?"), false)
            != UiSeam::Answer::Yes)
            return;
        // A changed row is saved as leaving it would; a failed save keeps the program open.
        postPendingEdits();
        event->accept();
    });
}

void TForm1::endWithoutClosing()
{
    m_ending = true;
    close();
    qApp->quit();
}

void TForm1::showSummary()
{
    // One window for the run, non-modal: it stays open beside the pages.
    auto *summary = findChild<SummaryWindow *>();
    if (!summary) {
        summary = new SummaryWindow(m_data.get(), QDate::currentDate(), this);
        connect(m_otherDesks, &OtherDesks::tablesChanged, summary, &SummaryWindow::changedElsewhere);
    }
    summary->show();
    summary->raise();
    summary->activateWindow();
}

// Both dialogs copy the books or give them up (a restore, the repair): a
// changed row is saved first, as leaving it would. A refused save is shown
// and the dialog stays shut, the typed values still pending.
void TForm1::backupDatabase()
{
    guarded(this, [this] {
        postPendingEdits();
        m_backup->exec();
    });
}

void TForm1::repairDatabase()
{
    guarded(this, [this] {
        postPendingEdits();
        // Nothing may hold the file open while it is compacted and replaced;
        // books on a server stay open: the server tends them in place.
        if (m_data->connection()) {
            m_backup->setLiveDatabase(nullptr);
            m_data->releaseConnection();
        }
        m_repair->exec();
    });
}

// "VT. Yedekle" writes a snapshot of the server's books as a Data.dat;
// "VT. Onar" runs the server's upkeep and shows the sizes it reads there.
void TForm1::connectServerMaintenance()
{
    const auto server = [this]() -> PgConnection & {
        auto *store = dynamic_cast<PgStore *>(m_data->store());
        if (!store)
            throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
        return store->connection();
    };
    m_backup->setServerSnapshot([server](const QString &target) { copyServerToDataFile(server(), target); });
    m_repair->setServerMaintenance([server] { return serverBooksSize(server()); }, [server] { vacuumAnalyze(server()); });
}

} // namespace tk
