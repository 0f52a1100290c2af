#pragma once
// The preview window "Önizleme": shows a report while it is laid out, and
// prints, saves, opens, finds in and exports it.
#include "reports/engine/Layout.h"
#include "reports/engine/ReportSearch.h"

#include <QDialog>
#include <QHash>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QListView;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTimer;

namespace tk::reports {

class PageView;
class Report;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    enum class ExportFormat { Rtf, Xlsx, Jpeg, Pdf };

    // The layout starts 50 ms after the window is shown.
    PreviewWindow(Report &report, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    PageView *pageView() const { return m_view; }
    QToolBar *toolBar() const { return m_toolBar; }
    QComboBox *zoomBox() const { return m_zoomBox; }
    // True while the layout, printing or an export runs.
    bool isBusy() const { return m_busy; }
    QString statusText() const;
    int currentPage() const;

    // The tool bar's work, also reached by keys and the right-button menu.
    void startLayout();
    void stopWork();
    void printReport();
    void openReport();
    void saveReport();
    void exportReport(ExportFormat format);
    void find();
    void findNext();
    void findText(const QString &text, bool caseSensitive, bool fromStart);
    void zoomIn();
    void zoomOut();
    void applyZoomText(const QString &text);
    void toggleFullScreen();
    void pageSetup();
    void applyPageSetup(const PageSetup &setup, bool toAllPages);
    // The export itself, after the options and save dialogs.
    bool writeExport(ExportFormat format, const std::vector<int> &pages, const QString &path,
                     const std::vector<bool> &checks = {}, int quality = 90, int dpi = 96);

signals:
    void layoutFinished();

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QAction *addTool(int icon, const QString &hint, const QKeySequence &key, void (PreviewWindow::*slot)());
    void layoutSlice();
    void setBusy(bool busy);
    void updateStatus();
    void updateZoomBox();
    void showContextMenu(const QPoint &pos);
    void reportReplaced();

    Report &m_report;
    std::unique_ptr<LayoutRun> m_run;
    QTimer *m_startTimer;
    QToolBar *m_toolBar;
    QComboBox *m_zoomBox;
    QAction *m_closeAction;
    QAction *m_exportAction;
    QMenu *m_exportMenu;
    QList<QAction *> m_workActions; // unavailable while work runs
    PageView *m_view;
    QTreeWidget *m_outline;
    QListView *m_thumbnails;
    QStatusBar *m_statusBar;
    QLabel *m_pageLabel;
    bool m_busy = false;
    bool m_started = false;
    bool m_stopRequested = false;
    bool m_fullScreen = false;
    int m_shownPages = -1;
    // find
    QString m_findText;
    bool m_findCase = false;
    SearchHit m_hit;
};

} // namespace tk::reports
