#pragma once
// The small window shown while pages go to the printer or into a file:
// "Yazılan sayfa %d" / "Sayfa dışarı atılıyor %d", a bar and "Vazgeç".
#include "reports/export/Export.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace tk::reports {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    // `format` holds one %1 for the page number.
    ProgressWindow(QWidget *parent, const QString &format, int total);
    // A progress callback: updates the window, lets events through, false once "Vazgeç" was pressed.
    ExportProgress callback();
    bool cancelled() const { return m_cancelled; }

protected:
    void reject() override { m_cancelled = true; }

private:
    QString m_format;
    QLabel *m_label;
    QProgressBar *m_bar;
    bool m_cancelled = false;
    int m_done = 0;
};

} // namespace tk::reports
