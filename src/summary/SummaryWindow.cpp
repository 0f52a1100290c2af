#include "SummaryWindow.h"

#include "SummaryChart.h"
#include "core/UiSeam.h"
#include "data/DataModule.h"

#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tk {

namespace {

struct OutputButton {
    const char *name;
    const char *caption;
    void (SummaryWindow::*run)();
};

const OutputButton outputButtons[] = {
    {"ButtonSaveImage", "Resim olarak kaydet...", &SummaryWindow::saveImage},
    {"ButtonSavePdf", "PDF olarak kaydet...", &SummaryWindow::savePdf},
    {"ButtonPrint", "Yazdır...", &SummaryWindow::print},
};

void fillTable(QTableWidget *table, const SummarySheet &sheet)
{
    const QStringList headers = sheet.headers();
    const QVector<QStringList> rows = sheet.tableRows();
    table->clear();
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(int(rows.size()));
    const int firstFooterRow = int(rows.size() - sheet.footer.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (r >= firstFooterRow) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            item->setToolTip(rows[r][c]);
            table->setItem(r, c, item);
        }
    }
    // Names give way to the figures: a long one is cut short, its tooltip whole.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

} // namespace

SummaryWindow::SummaryWindow(DataModule *data, QDate today, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("FrmOzet"));
    setWindowTitle(QStringLiteral("Özet"));
    resize(1100, 640);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *monthLabel = new QLabel(QStringLiteral("&Ay :"), this);
    m_month = new QDateEdit(QDate(today.year(), today.month(), 1), this);
    m_month->setObjectName(QStringLiteral("DateMonth"));
    m_month->setDisplayFormat(QStringLiteral("MM.yyyy"));
    m_month->setToolTip(QStringLiteral("Kasa ve servis bu aya kadar on iki ayı, vadeler bu aydan başlayarak on iki ayı gösterir."));
    monthLabel->setBuddy(m_month);
    top->addWidget(monthLabel);
    top->addWidget(m_month);
    top->addStretch();
    layout->addLayout(top);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageOzet"));
    const QVector<SummaryTab> &tabs = summaryTabs();
    m_sheets.resize(tabs.size());
    m_stale.fill(true, tabs.size());
    for (int i = 0; i < tabs.size(); ++i)
        m_tabs->addTab(buildTab(i), QString::fromUtf8(tabs[i].caption));
    layout->addWidget(m_tabs, 1);

    auto *buttons = new QHBoxLayout;
    for (const OutputButton &b : outputButtons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        connect(button, &QPushButton::clicked, this, [this, run = b.run] { guarded(this, [&] { (this->*run)(); }); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *close = new QPushButton(QStringLiteral("Kapat"), this);
    close->setObjectName(QStringLiteral("ButtonClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(50);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { guarded(this, [this] { refreshCurrent(); }); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { m_refreshTimer.start(); });
    connect(m_month, &QDateEdit::dateChanged, this, [this] { markAllStale(); });
    for (Dataset *ds : m_data->datasets())
        connect(ds, &Dataset::tableWritten, this, [this, ds] { markStale(ds->table()); });
}

QWidget *SummaryWindow::buildTab(int tab)
{
    const SummaryTab &def = summaryTabs()[tab];
    const QString caption = QString::fromUtf8(def.caption);
    auto *page = new QWidget;
    page->setObjectName(QString::fromLatin1(def.name));
    auto *row = new QHBoxLayout(page);

    auto *table = new QTableWidget(page);
    table->setObjectName(QStringLiteral("Table") + caption);
    table->setAccessibleName(caption + QStringLiteral(" rakamları"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->setFixedWidth(360);
    row->addWidget(table);

    auto *view = new QChartView(page);
    view->setObjectName(QStringLiteral("Chart") + caption);
    view->setAccessibleName(caption + QStringLiteral(" grafiği"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setChart(makeChart(SummarySheet{}));
    row->addWidget(view, 1);

    m_tables << table;
    m_views << view;
    return page;
}

QDate SummaryWindow::month() const { return m_month->date(); }

void SummaryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_refreshTimer.start();
}

void SummaryWindow::markStale(const QString &table)
{
    const QVector<SummaryTab> &tabs = summaryTabs();
    for (int i = 0; i < tabs.size(); ++i)
        if (tabs[i].tables.contains(table, Qt::CaseInsensitive))
            m_stale[i] = true;
    m_refreshTimer.start();
}

void SummaryWindow::changedElsewhere(const QStringList &tables)
{
    if (tables.contains(QStringLiteral("*"))) {
        markAllStale();
        return;
    }
    for (const QString &table : tables)
        markStale(table);
}

void SummaryWindow::markAllStale()
{
    m_stale.fill(true);
    m_refreshTimer.start();
}

void SummaryWindow::refreshCurrent()
{
    const int tab = m_tabs->currentIndex();
    // Hidden, or the books released for maintenance: the figures wait.
    if (tab < 0 || !m_stale[tab] || !isVisible() || !m_data->store())
        return;
    const SummaryFigures figures(*m_data->store());
    m_sheets[tab] = summaryTabs()[tab].sheet(figures, month());
    m_stale[tab] = false;
    showSheet(tab);
}

void SummaryWindow::showSheet(int tab)
{
    fillTable(m_tables[tab], m_sheets[tab]);
    QChart *old = m_views[tab]->chart();
    m_views[tab]->setChart(makeChart(m_sheets[tab]));
    delete old; // the view lets go of the chart it held
}

void SummaryWindow::saveAs(const QString &caption, const QString &suffix, const QString &filter,
                           void (*write)(const SummarySheet &, const QString &))
{
    refreshCurrent();
    const int tab = m_tabs->currentIndex();
    const QString proposed = QDir(QDir::homePath())
                                 .filePath(QStringLiteral("Özet - %1.%2").arg(QString::fromUtf8(summaryTabs()[tab].caption), suffix));
    const QString path = chooseSaveFileWithExtension(this, caption, proposed, filter, suffix);
    if (path.isEmpty())
        return;
    write(m_sheets[tab], path);
}

void SummaryWindow::saveImage()
{
    saveAs(QStringLiteral("Resim olarak kaydet"), QStringLiteral("png"), QStringLiteral("PNG resmi (*.png)"),
           saveChartImage);
}

void SummaryWindow::savePdf()
{
    saveAs(QStringLiteral("PDF olarak kaydet"), QStringLiteral("pdf"), QStringLiteral("PDF belgesi (*.pdf)"),
           saveChartPdf);
}

void SummaryWindow::print()
{
    refreshCurrent();
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ui().error(this, QStringLiteral("Hata"), QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Yazdır"));
    if (dialog.exec() == QDialog::Accepted)
        printChart(m_sheets[m_tabs->currentIndex()], printer);
}

} // namespace tk
