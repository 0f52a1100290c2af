#include "PreviewWindow.h"

#include "PageView.h"
#include "PreviewDialogs.h"
#include "Printing.h"
#include "ProgressWindow.h"
#include "ToolbarIcons.h"
#include "core/UiSeam.h"
#include "reports/Report.h"
#include "reports/engine/PageRange.h"
#include "reports/engine/ReportFile.h"
#include "reports/export/Export.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace tk::reports {

namespace {

const QStringList kZoomEntries = {QStringLiteral("25%"),  QStringLiteral("50%"),  QStringLiteral("75%"),
                                  QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                                  QStringLiteral("Sayfa genişliği"), QStringLiteral("Tüm sayfa")};

// Page thumbnails, drawn when the list first asks for them.
class ThumbnailModel : public QAbstractListModel {
public:
    ThumbnailModel(const PreparedReport &report, QObject *parent)
        : QAbstractListModel(parent), m_report(report), m_renderer(report)
    {
    }
    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : m_count; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return QString::number(index.row() + 1);
        if (role != Qt::DecorationRole)
            return {};
        auto it = m_cache.find(index.row());
        if (it == m_cache.end()) {
            const PageSetup &s = m_report.setup(index.row());
            const QSize size(qRound(s.paperWidth / 2.2), qRound(s.paperHeight / 2.2));
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            m_renderer.drawPage(p, index.row(), QRectF(QPointF(), QSizeF(size)));
            p.end();
            it = m_cache.insert(index.row(), QPixmap::fromImage(image));
        }
        return *it;
    }
    void refresh()
    {
        beginResetModel();
        m_cache.clear();
        m_count = m_report.finishedPageCount();
        endResetModel();
    }

private:
    const PreparedReport &m_report;
    mutable Renderer m_renderer;
    mutable QHash<int, QPixmap> m_cache;
    int m_count = 0;
};

} // namespace

PreviewWindow::PreviewWindow(Report &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Önizleme"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    const QList<QIcon> icons = toolbarIcons();

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto tool = [&](ToolIcon icon, const char *name, const QString &hint, const QKeySequence &key,
                    void (PreviewWindow::*slot)()) {
        QAction *a = addTool(int(icon), hint, key, slot);
        a->setIcon(icons.value(int(icon)));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    m_workActions << tool(ToolIcon::Print, "actPrint", QStringLiteral("Yazdır"), QKeySequence(Qt::CTRL | Qt::Key_P),
                          &PreviewWindow::printReport);
    m_workActions << tool(ToolIcon::Open, "actOpen", QStringLiteral("Aç"), QKeySequence(Qt::CTRL | Qt::Key_O),
                          &PreviewWindow::openReport);
    m_workActions << tool(ToolIcon::Save, "actSave", QStringLiteral("Kaydet"), QKeySequence(Qt::CTRL | Qt::Key_S),
                          &PreviewWindow::saveReport);
    m_exportMenu = new QMenu(this);
    const struct { const char *caption; ExportFormat format; } exports[] = {
        {"RTF dosyası...", ExportFormat::Rtf}, {"Excel tablosu (OLE)...", ExportFormat::Xlsx},
        {"JPEG resmi...", ExportFormat::Jpeg}, {"PDF dosyası...", ExportFormat::Pdf},
    };
    for (const auto &e : exports) {
        const ExportFormat format = e.format;
        m_exportMenu->addAction(QString::fromUtf8(e.caption), this, [this, format] { exportReport(format); });
    }
    m_exportAction = new QAction(icons.value(int(ToolIcon::Export)), QStringLiteral("Veri Ver"), this);
    m_exportAction->setObjectName(QStringLiteral("actExport"));
    m_exportAction->setToolTip(QStringLiteral("Veri Ver"));
    m_exportAction->setMenu(m_exportMenu);
    m_toolBar->addAction(m_exportAction);
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_exportAction)))
        button->setPopupMode(QToolButton::InstantPopup);
    m_workActions << m_exportAction;
    if (report.tmpl().findButton) {
        m_workActions << tool(ToolIcon::Find, "actFind", QStringLiteral("Bul"), QKeySequence(Qt::CTRL | Qt::Key_F),
                              &PreviewWindow::find);
        auto *next = new QAction(this);
        next->setObjectName(QStringLiteral("actFindNext"));
        next->setShortcut(QKeySequence(Qt::Key_F3));
        connect(next, &QAction::triggered, this, &PreviewWindow::findNext);
        addAction(next);
    }
    tool(ToolIcon::ZoomIn, "actZoomIn", QStringLiteral("Zoom In"), {}, &PreviewWindow::zoomIn);
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cbZoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->addItems(kZoomEntries);
    m_zoomBox->setToolTip(QStringLiteral("Yakınlaştır"));
    m_zoomBox->setAccessibleName(QStringLiteral("Yakınlaştır"));
    m_zoomBox->setMinimumContentsLength(12);
    m_toolBar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::textActivated, this, &PreviewWindow::applyZoomText);
    // A typed percentage is no entry of the list, so the box itself never
    // activates it: Return in its line takes the typed text.
    connect(m_zoomBox->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { applyZoomText(m_zoomBox->lineEdit()->text()); });
    tool(ToolIcon::ZoomOut, "actZoomOut", QStringLiteral("Zoom Out"), {}, &PreviewWindow::zoomOut);
    tool(ToolIcon::FullScreen, "actFullScreen", QStringLiteral("Tam ekran"), QKeySequence(Qt::Key_F11),
         &PreviewWindow::toggleFullScreen);
    QAction *outline = tool(ToolIcon::Outline, "actOutline", QStringLiteral("Report outline"), {}, nullptr);
    QAction *thumbnails = tool(ToolIcon::Thumbnails, "actThumbnails", QStringLiteral("Thumbnails"), {}, nullptr);
    outline->setCheckable(true);
    thumbnails->setCheckable(true);
    m_workActions << tool(ToolIcon::PageSetup, "actPageSetup", QStringLiteral("Kenar Boşlukları"), {},
                          &PreviewWindow::pageSetup);
    m_closeAction = new QAction(QStringLiteral("Kapat"), this);
    m_closeAction->setObjectName(QStringLiteral("actClose"));
    connect(m_closeAction, &QAction::triggered, this, [this] {
        if (m_busy)
            stopWork();
        else
            close();
    });
    m_toolBar->addAction(m_closeAction);
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_closeAction)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_view = new PageView(this);
    m_view->setReport(&m_report.prepared());
    m_outline = new QTreeWidget(this);
    m_outline->setObjectName(QStringLiteral("Outline"));
    m_outline->setHeaderHidden(true);
    m_outline->setAccessibleName(QStringLiteral("Report outline"));
    m_outline->hide();
    m_thumbnails = new QListView(this);
    m_thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    m_thumbnails->setAccessibleName(QStringLiteral("Thumbnails"));
    m_thumbnails->setViewMode(QListView::ListMode);
    m_thumbnails->setIconSize(QSize(140, 140));
    m_thumbnails->setUniformItemSizes(true);
    // The list does not own its model: the list owns it here, so it goes with the window.
    m_thumbnails->setModel(new ThumbnailModel(m_report.prepared(), m_thumbnails));
    m_thumbnails->hide();
    connect(m_thumbnails, &QListView::clicked, this, [this](const QModelIndex &i) { m_view->goToPage(i.row()); });
    connect(outline, &QAction::toggled, m_outline, &QWidget::setVisible);
    connect(thumbnails, &QAction::toggled, this, [this](bool on) {
        static_cast<ThumbnailModel *>(m_thumbnails->model())->refresh();
        m_thumbnails->setVisible(on);
    });
    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_outline);
    splitter->addWidget(m_thumbnails);
    splitter->addWidget(m_view);
    splitter->setStretchFactor(2, 1);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    m_statusBar->addWidget(m_pageLabel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_statusBar);

    connect(m_view, &PageView::currentPageChanged, this, &PreviewWindow::updateStatus);
    connect(m_view, &PageView::zoomChanged, this, &PreviewWindow::updateZoomBox);
    connect(m_view, &PageView::doubleClicked, this, [this] {
        if (m_fullScreen)
            toggleFullScreen();
    });
    connect(m_view, &PageView::contextMenuWanted, this, &PreviewWindow::showContextMenu);
    m_view->setZoom(m_report.tmpl().previewZoom);
    updateZoomBox();

    m_startTimer = new QTimer(this);
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(50);
    connect(m_startTimer, &QTimer::timeout, this, &PreviewWindow::startLayout);
    updateStatus();
    m_view->setFocus();
}

PreviewWindow::~PreviewWindow() = default;

QAction *PreviewWindow::addTool(int, const QString &hint, const QKeySequence &key, void (PreviewWindow::*slot)())
{
    auto *a = new QAction(hint, this);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    m_toolBar->addAction(a);
    addAction(a); // keys keep working in full screen, with the tool bar hidden
    return a;
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        setBusy(true); // nothing but "Vazgeç" until the pages are there
        m_startTimer->start();
    }
}

void PreviewWindow::startLayout()
{
    m_started = true;
    m_startTimer->stop();
    m_stopRequested = false;
    m_run = std::make_unique<LayoutRun>(m_report.tmpl(), m_report.prepared(), m_report.datasets());
    m_shownPages = -1;
    setBusy(true);
    layoutSlice();
}

// One slice of the layout: about 30 ms of rows, then the window gets its
// events and shows the pages finished so far. Until the first page is
// finished the slice ends as soon as it is, and that page is painted at once.
void PreviewWindow::layoutSlice()
{
    if (!m_run)
        return;
    if (m_stopRequested)
        m_run->stop();
    QElapsedTimer clock;
    clock.start();
    const PreparedReport &prepared = m_report.prepared();
    const bool firstPageShown = m_shownPages > 0;
    LayoutRun::Status status;
    do {
        status = m_run->step(firstPageShown ? 64 : 8);
    } while (status == LayoutRun::Status::Running && clock.elapsed() < 30
             && (firstPageShown || prepared.finishedPageCount() == 0));
    if (prepared.finishedPageCount() != m_shownPages) {
        m_shownPages = prepared.finishedPageCount();
        m_view->reportChanged();
        updateStatus();
        if (!firstPageShown && m_shownPages > 0)
            m_view->viewport()->repaint();
    }
    if (status == LayoutRun::Status::Running) {
        QTimer::singleShot(0, this, &PreviewWindow::layoutSlice);
        return;
    }
    m_report.setLastErrors(m_run->errors());
    const bool failed = status == LayoutRun::Status::Failed;
    const QString message = m_run->errorMessage();
    m_run.reset();
    m_view->reportChanged();
    if (m_thumbnails->isVisible())
        static_cast<ThumbnailModel *>(m_thumbnails->model())->refresh();
    setBusy(false);
    updateStatus();
    if (failed)
        ui().error(this, QStringLiteral("Hata"), message);
    emit layoutFinished();
}

void PreviewWindow::stopWork()
{
    m_stopRequested = true;
    if (m_startTimer->isActive()) { // stopped before it began
        m_startTimer->stop();
        setBusy(false);
    }
}

void PreviewWindow::setBusy(bool busy)
{
    m_busy = busy;
    m_closeAction->setText(busy ? QStringLiteral("Vazgeç") : QStringLiteral("Kapat"));
    for (QAction *a : m_workActions)
        a->setEnabled(!busy);
}

int PreviewWindow::currentPage() const { return m_view->currentPage(); }

QString PreviewWindow::statusText() const { return m_pageLabel->text(); }

void PreviewWindow::updateStatus()
{
    const int count = m_report.prepared().pageCount();
    m_pageLabel->setText(QStringLiteral("Sayfa %1 / %2").arg(count ? m_view->currentPage() + 1 : 0).arg(count));
}

void PreviewWindow::updateZoomBox()
{
    m_zoomBox->setEditText(QStringLiteral("%1%").arg(qRound(m_view->zoom() * 100)));
}

void PreviewWindow::reject()
{
    if (m_busy) // the window stays while work runs; Esc stops the work instead
    {
        stopWork();
        return;
    }
    QDialog::reject();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        stopWork();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PreviewWindow::zoomIn() { m_view->setZoom(m_view->zoom() + 0.25); }

void PreviewWindow::zoomOut() { m_view->setZoom(std::max(PageView::kMinZoom, m_view->zoom() - 0.25)); }

void PreviewWindow::applyZoomText(const QString &text)
{
    double zoom = 0;
    if (text == kZoomEntries.at(6))
        m_view->fitPageWidth();
    else if (text == kZoomEntries.at(7))
        m_view->fitWholePage();
    else if (parseZoomText(text, &zoom))
        m_view->setZoom(zoom);
    updateZoomBox();
}

void PreviewWindow::toggleFullScreen()
{
    m_fullScreen = !m_fullScreen;
    m_toolBar->setVisible(!m_fullScreen);
    m_statusBar->setVisible(!m_fullScreen);
    if (m_fullScreen)
        showFullScreen();
    else
        showMaximized();
}

void PreviewWindow::showContextMenu(const QPoint &pos)
{
    QMenu menu(this);
    for (QAction *a : m_toolBar->actions()) {
        if (!a->isVisible() || a->isSeparator() || !m_toolBar->widgetForAction(a)
            || qobject_cast<QComboBox *>(m_toolBar->widgetForAction(a)))
            continue;
        if (a == m_exportAction) {
            QMenu *sub = menu.addMenu(a->toolTip());
            sub->setEnabled(a->isEnabled());
            for (QAction *e : m_exportMenu->actions())
                sub->addAction(e);
            continue;
        }
        QAction *entry = menu.addAction(a == m_closeAction ? a->text() : a->toolTip());
        entry->setEnabled(a->isEnabled());
        entry->setCheckable(a->isCheckable());
        entry->setChecked(a->isChecked());
        connect(entry, &QAction::triggered, a, &QAction::trigger);
    }
    menu.exec(pos);
}

void PreviewWindow::printReport()
{
    guarded(this, [&] {
        setBusy(true);
        printWithDialog(this, m_report.prepared(), m_view->currentPage());
        setBusy(false);
    });
    setBusy(false);
}

void PreviewWindow::reportReplaced()
{
    m_view->setHighlight(-1);
    m_hit = {};
    m_view->reportChanged();
    m_view->goToPage(0);
    static_cast<ThumbnailModel *>(m_thumbnails->model())->refresh();
    updateStatus();
}

void PreviewWindow::openReport()
{
    guarded(this, [&] {
        const QString path = ui().chooseOpenFile(this, QStringLiteral("Aç"), QString(), kReportFileFilter);
        if (path.isEmpty())
            return;
        PreparedReport loaded;
        loadReportFile(path, loaded); // the current pages stay when the file is refused
        m_report.prepared() = std::move(loaded);
        reportReplaced();
    });
}

void PreviewWindow::saveReport()
{
    guarded(this, [&] {
        const QString path = chooseSaveFileWithExtension(this, QStringLiteral("Kaydet"), QString(), kReportFileFilter,
                                                         kReportFileExtension);
        if (path.isEmpty())
            return;
        m_statusBar->showMessage(QStringLiteral("Dosya Kaydediliyor..."));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            QStatusBar *bar;
            ~Restore()
            {
                QApplication::restoreOverrideCursor();
                bar->clearMessage();
            }
        } restore{m_statusBar};
        saveReportFile(m_report.prepared(), path);
    });
}

void PreviewWindow::exportReport(ExportFormat format)
{
    using Check = ExportOptionsDialog::Check;
    QString caption, filter, extension;
    std::vector<Check> checks;
    switch (format) {
    case ExportFormat::Rtf:
        caption = QStringLiteral("RTF dosyasına ver");
        filter = QStringLiteral("RTF dosyası (*.rtf)");
        extension = QStringLiteral("rtf");
        checks = {{QStringLiteral("Resimler"), false, false}, {QStringLiteral("WYSIWYG"), true, false},
                  {QStringLiteral("Kaydettikten sonra aç"), false, true}};
        break;
    case ExportFormat::Xlsx:
        caption = QStringLiteral("Excel dosyasına ver");
        filter = QStringLiteral("Excel dosyası (*.xlsx)");
        extension = QStringLiteral("xlsx");
        checks = {{QStringLiteral("Stiller"), false, false},          {QStringLiteral("Resimler"), false, false},
                  {QStringLiteral("Hücreleri birleştir"), false, false}, {QStringLiteral("Fast export"), true, false},
                  {QStringLiteral("WYSIWYG"), true, false},          {QStringLiteral("As text"), false, true},
                  {QStringLiteral("Background"), true, false},
                  {QStringLiteral("Kaydettikten sonra Excel'i aç"), false, true}};
        break;
    case ExportFormat::Jpeg:
        caption = QStringLiteral("Verme ayarları");
        filter = QStringLiteral("JPEG resmi (*.jpg)");
        extension = QStringLiteral("jpg");
        checks = {{QStringLiteral("Separate files"), true, false}, {QStringLiteral("Sayfaları Kırp"), false, true},
                  {QStringLiteral("Siyah/Beyaz"), false, true}};
        break;
    case ExportFormat::Pdf:
        caption = QStringLiteral("PDF dosyasına ver");
        filter = QStringLiteral("PDF dosyası (*.pdf)");
        extension = QStringLiteral("pdf");
        checks = {{QStringLiteral("Kaydettikten sonra aç"), false, true}};
        break;
    }
    guarded(this, [&] {
        ExportOptionsDialog options(this, caption, checks, format == ExportFormat::Jpeg);
        if (options.exec() != QDialog::Accepted)
            return;
        const ExportChoice choice = options.choice();
        const int count = m_report.prepared().pageCount();
        std::vector<int> pages = choice.range == ExportChoice::Current ? std::vector<int>{m_view->currentPage()}
                               : choice.range == ExportChoice::List    ? parsePageList(choice.list, count)
                                                                       : allPages(count);
        const QString path = chooseSaveFileWithExtension(this, caption, QString(), filter, extension);
        if (path.isEmpty())
            return;
        // The pages go to numbered files the save dialog did not ask about.
        if (format == ExportFormat::Jpeg) {
            QStringList files;
            for (int index : pages)
                files << jpegFileName(path, index);
            if (!mayReplaceFiles(this, caption, files))
                return;
        }
        if (writeExport(format, pages, path, choice.checks, choice.quality, choice.dpi)) {
            const bool openAfter = (format == ExportFormat::Rtf && choice.checks.at(2))
                                || (format == ExportFormat::Xlsx && choice.checks.at(7))
                                || (format == ExportFormat::Pdf && choice.checks.at(0));
            if (openAfter)
                ui().openUrl(QUrl::fromLocalFile(path).toString());
        }
    });
}

bool PreviewWindow::writeExport(ExportFormat format, const std::vector<int> &pages, const QString &path,
                                const std::vector<bool> &checks, int quality, int dpi)
{
    ProgressWindow progress(this, QStringLiteral("Sayfa dışarı atılıyor %1"), int(pages.size()));
    setBusy(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        PreviewWindow *w;
        ~Restore()
        {
            QApplication::restoreOverrideCursor();
            w->setBusy(false);
        }
    } restore{this};
    const PreparedReport &r = m_report.prepared();
    const ExportProgress callback = progress.callback();
    switch (format) {
    case ExportFormat::Rtf: return exportRtf(r, pages, path, callback);
    case ExportFormat::Xlsx: {
        const bool asText = checks.size() > 5 && checks.at(5);
        if (!asText)
            return exportXlsx(r, pages, path, callback);
        // "As text": every cell as the text it shows.
        PreparedReport plain = r;
        std::vector<PreparedItem> items(plain.items().begin(), plain.items().end());
        for (PreparedItem &i : items)
            i.flags &= std::uint8_t(~PreparedItem::Numeric);
        plain.assign(plain.setups(), plain.styles(), plain.pages(), std::move(items), plain.textBuffer());
        return exportXlsx(plain, pages, path, callback);
    }
    case ExportFormat::Jpeg: {
        JpegOptions o;
        o.quality = quality;
        o.dpi = dpi;
        o.crop = checks.size() > 1 && checks.at(1);
        o.monochrome = checks.size() > 2 && checks.at(2);
        return !exportJpeg(r, pages, path, o, callback).isEmpty();
    }
    case ExportFormat::Pdf: return exportPdf(r, pages, path, callback);
    }
    return false;
}

void PreviewWindow::find()
{
    FindDialog dialog(this);
    dialog.textBox()->setText(m_findText);
    if (dialog.exec() != QDialog::Accepted)
        return;
    findText(dialog.text(), dialog.caseSensitive(), dialog.fromStart());
}

void PreviewWindow::findText(const QString &text, bool caseSensitive, bool fromStart)
{
    m_findText = text;
    m_findCase = caseSensitive;
    const int from = fromStart ? 0 : firstItemOfPage(m_report.prepared(), m_view->currentPage());
    m_hit = reports::findText(m_report.prepared(), text, caseSensitive, from);
    if (!m_hit.found()) {
        m_view->setHighlight(-1);
        ui().inform(this, QStringLiteral("Bul"), QStringLiteral("\"%1\" bulunamadı.").arg(text));
        return;
    }
    m_view->goToPage(m_hit.page);
    m_view->setHighlight(m_hit.item);
    updateStatus();
}

void PreviewWindow::findNext()
{
    if (m_findText.isEmpty()) {
        find();
        return;
    }
    const SearchHit next = reports::findText(m_report.prepared(), m_findText, m_findCase, m_hit.item + 1);
    if (!next.found()) {
        ui().inform(this, QStringLiteral("Bul"), QStringLiteral("\"%1\" bulunamadı.").arg(m_findText));
        return;
    }
    m_hit = next;
    m_view->goToPage(m_hit.page);
    m_view->setHighlight(m_hit.item);
    updateStatus();
}

void PreviewWindow::pageSetup()
{
    const int page = m_view->currentPage();
    const PageSetup current = m_report.prepared().pageCount() ? m_report.prepared().setup(page) : m_report.tmpl().page;
    PageSetupDialog dialog(this, current);
    if (dialog.exec() != QDialog::Accepted)
        return;
    applyPageSetup(dialog.setup(), dialog.applyToAll());
}

void PreviewWindow::applyPageSetup(const PageSetup &setup, bool toAllPages)
{
    if (!toAllPages) {
        if (m_report.prepared().pageCount() == 0)
            return;
        m_report.prepared().setPageSetup(m_view->currentPage(), setup);
        m_view->reportChanged();
        return;
    }
    // The template keeps the new page for later runs while the program runs.
    m_report.tmpl().page = setup;
    m_view->setHighlight(-1); // the marked item belongs to the old pages
    m_hit = {};
    m_report.prepared().clear();
    m_view->reportChanged();
    startLayout();
}

} // namespace tk::reports
