#include "ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tk::reports {

ProgressWindow::ProgressWindow(QWidget *parent, const QString &format, int total)
    : QDialog(parent), m_format(format)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(this);
    m_label = new QLabel(format.arg(0), this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, std::max(1, total));
    m_bar->setAccessibleName(QStringLiteral("İlerleme"));
    auto *cancel = new QPushButton(QStringLiteral("Vazgeç"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

ExportProgress ProgressWindow::callback()
{
    return [this](int pageNumber) {
        if (!isVisible())
            show();
        m_label->setText(m_format.arg(pageNumber));
        m_bar->setValue(++m_done);
        QApplication::processEvents();
        return !m_cancelled;
    };
}

} // namespace tk::reports
