#include "RecordArea.h"

#include <QMainWindow>

namespace tk {

QWidget *recordArea(QWidget *w)
{
    QWidget *window = w->window();
    if (auto *main = qobject_cast<QMainWindow *>(window); main && main->centralWidget())
        return main->centralWidget();
    return window;
}

} // namespace tk
