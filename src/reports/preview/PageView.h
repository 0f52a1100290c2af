#pragma once
// The pages of a prepared report one below the other, zoomed and scrolled.
#include "reports/render/Renderer.h"

#include <QAbstractScrollArea>
#include <memory>

namespace tk::reports {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 0.25;
    static constexpr double kMinWheelZoom = 0.30;

    explicit PageView(QWidget *parent = nullptr);
    void setReport(const PreparedReport *report);
    // The report changed (more pages laid out, a page's setup, a new report).
    void reportChanged();

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void fitPageWidth();
    void fitWholePage();
    int currentPage() const;
    void goToPage(int page);
    void setHighlight(int item) { m_highlight = item; viewport()->update(); }
    int highlight() const { return m_highlight; }
    // Page rectangle in content coordinates (before scrolling).
    QRectF pageRect(int page) const;

signals:
    void zoomChanged(double zoom);
    void currentPageChanged(int page);
    void doubleClicked();
    void contextMenuWanted(const QPoint &globalPos);
    // A page has just been painted on the screen.
    void pagePainted(int page);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void keyPressEvent(QKeyEvent *) override;
    void wheelEvent(QWheelEvent *) override;
    void mouseDoubleClickEvent(QMouseEvent *) override;
    void contextMenuEvent(QContextMenuEvent *) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF pageSizePx(int page) const;
    void updateScrollBars();
    void reportCurrentPage();

    const PreparedReport *m_report = nullptr;
    std::unique_ptr<Renderer> m_renderer;
    double m_zoom = 1.0;
    int m_highlight = -1;
    int m_lastPage = -1;
    std::vector<double> m_tops; // top of each page in content pixels
    double m_contentWidth = 0, m_contentHeight = 0;
};

// A typed zoom: "80", "80%", "80 %" give 0.8; false when it is no percentage.
bool parseZoomText(const QString &text, double *zoom);

} // namespace tk::reports
