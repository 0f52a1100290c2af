#include "PageView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace tk::reports {

namespace {
constexpr double kGap = 10; // pixels between pages and around them
}

bool parseZoomText(const QString &text, double *zoom)
{
    QString t = text;
    t.remove(QLatin1Char('%'));
    t.remove(QLatin1Char(' '));
    bool ok = false;
    const int percent = t.toInt(&ok);
    if (!ok || percent <= 0 || percent > 2000)
        return false;
    *zoom = percent / 100.0;
    return true;
}

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageView"));
    setAccessibleName(QStringLiteral("Sayfalar"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void PageView::setReport(const PreparedReport *report)
{
    m_report = report;
    m_renderer = report ? std::make_unique<Renderer>(*report) : nullptr;
    reportChanged();
}

void PageView::reportChanged()
{
    if (m_report)
        m_renderer = std::make_unique<Renderer>(*m_report); // styles may have changed
    m_tops.clear();
    m_contentWidth = 0;
    double y = kGap;
    const int count = m_report ? m_report->pageCount() : 0;
    m_tops.reserve(size_t(count));
    for (int p = 0; p < count; ++p) {
        const QSizeF s = pageSizePx(p);
        m_tops.push_back(y);
        y += s.height() + kGap;
        m_contentWidth = std::max(m_contentWidth, s.width() + 2 * kGap);
    }
    m_contentHeight = y;
    updateScrollBars();
    viewport()->update();
    reportCurrentPage();
}

QSizeF PageView::pageSizePx(int page) const
{
    const PageSetup &s = m_report->setup(page);
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    return QSizeF(s.paperWidth / 25.4 * dpi * m_zoom, s.paperHeight / 25.4 * dpi * m_zoom);
}

QRectF PageView::pageRect(int page) const
{
    const QSizeF s = pageSizePx(page);
    const double left = std::max(kGap, (std::max(m_contentWidth, double(viewport()->width())) - s.width()) / 2);
    return QRectF(QPointF(left, m_tops[size_t(page)]), s);
}

void PageView::updateScrollBars()
{
    horizontalScrollBar()->setRange(0, std::max(0, int(m_contentWidth) - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, int(m_contentHeight) - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(8);
}

void PageView::setZoom(double zoom)
{
    zoom = std::max(kMinZoom, std::min(zoom, 20.0));
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    const int page = currentPage();
    m_zoom = zoom;
    reportChanged();
    goToPage(page);
    emit zoomChanged(m_zoom);
}

void PageView::fitPageWidth()
{
    if (!m_report || m_report->pageCount() == 0)
        return;
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const double w = m_report->setup(currentPage()).paperWidth / 25.4 * dpi;
    setZoom((viewport()->width() - 2 * kGap) / w);
}

void PageView::fitWholePage()
{
    if (!m_report || m_report->pageCount() == 0)
        return;
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const PageSetup &s = m_report->setup(currentPage());
    setZoom(std::min((viewport()->width() - 2 * kGap) / (s.paperWidth / 25.4 * dpi),
                     (viewport()->height() - 2 * kGap) / (s.paperHeight / 25.4 * dpi)));
}

int PageView::currentPage() const
{
    if (m_tops.empty())
        return 0;
    const double middle = verticalScrollBar()->value() + viewport()->height() / 3.0;
    auto it = std::upper_bound(m_tops.begin(), m_tops.end(), middle);
    return std::max(0, int(it - m_tops.begin()) - 1);
}

void PageView::goToPage(int page)
{
    if (m_tops.empty())
        return;
    page = std::clamp(page, 0, int(m_tops.size()) - 1);
    verticalScrollBar()->setValue(int(m_tops[size_t(page)] - kGap));
    reportCurrentPage();
}

void PageView::reportCurrentPage()
{
    const int page = currentPage();
    if (page != m_lastPage) {
        m_lastPage = page;
        emit currentPageChanged(page);
    }
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    reportCurrentPage();
}

void PageView::resizeEvent(QResizeEvent *)
{
    updateScrollBars();
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    if (!m_report)
        return;
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const double scrollX = horizontalScrollBar()->value(), scrollY = verticalScrollBar()->value();
    const double top = scrollY, bottom = scrollY + viewport()->height();
    auto it = std::upper_bound(m_tops.begin(), m_tops.end(), top);
    int page = std::max(0, int(it - m_tops.begin()) - 1);
    for (; page < int(m_tops.size()) && m_tops[size_t(page)] < bottom; ++page) {
        const QRectF r = pageRect(page).translated(-scrollX, -scrollY);
        p.fillRect(r.translated(3, 3), QColor(0, 0, 0, 80));
        p.fillRect(r, Qt::white);
        m_renderer->drawPage(p, page, r, m_report->pageCount(), m_highlight);
        emit pagePainted(page);
    }
}

void PageView::keyPressEvent(QKeyEvent *e)
{
    QScrollBar *v = verticalScrollBar();
    QScrollBar *h = horizontalScrollBar();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Up: v->setValue(v->value() - 8); break;
    case Qt::Key_Down: v->setValue(v->value() + 8); break;
    case Qt::Key_Left: h->setValue(h->value() - 8); break;
    case Qt::Key_Right: h->setValue(h->value() + 8); break;
    case Qt::Key_PageUp:
        if (ctrl)
            goToPage(currentPage() - 1);
        else
            v->setValue(v->value() - 300);
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            goToPage(currentPage() + 1);
        else
            v->setValue(v->value() + 300);
        break;
    case Qt::Key_Home: goToPage(0); break;
    case Qt::Key_End: goToPage(int(m_tops.size()) - 1); break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
    }
    e->accept();
}

void PageView::wheelEvent(QWheelEvent *e)
{
    const double notches = e->angleDelta().y() / 120.0;
    if (e->modifiers() & Qt::ControlModifier) {
        double zoom = std::max(kMinWheelZoom, m_zoom + 0.10 * notches);
        if (notches < 0)
            zoom = std::min(zoom, m_zoom); // never up when turning down
        setZoom(zoom);
    } else {
        verticalScrollBar()->setValue(verticalScrollBar()->value() - int(std::lround(20 * notches)));
    }
    e->accept();
}

void PageView::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}

void PageView::contextMenuEvent(QContextMenuEvent *e)
{
    emit contextMenuWanted(e->globalPos());
}

} // namespace tk::reports
