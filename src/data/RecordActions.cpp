#include "RecordActions.h"

#include "SaveConflict.h"
#include "controls/Hints.h"
#include "controls/Idle.h"
#include "controls/RecordArea.h"
#include "core/UiSeam.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSet>
#include <QToolButton>

namespace tk {

namespace {

struct OperationDef {
    RecordOperation operation;
    const char *name;    // the action's name between prefix and suffix
    const char *tooltip;
    int picture;         // in the picture strip
};

const OperationDef operationDefs[] = {
    {RecordOperation::First, "First", "İlk Kayıt", 4}, {RecordOperation::Prior, "Prior", "Önceki Kayıt", 5},
    {RecordOperation::Next, "Next", "Sonraki Kayıt", 6}, {RecordOperation::Last, "Last", "Son Kayıt", 7},
    {RecordOperation::Post, "Post", "Kaydet", 2},        {RecordOperation::Cancel, "Cancel", "İptal", 3},
};

void run(Dataset *ds, RecordOperation operation)
{
    switch (operation) {
    case RecordOperation::First: ds->first(); break;
    case RecordOperation::Prior: ds->prior(); break;
    case RecordOperation::Next: ds->next(); break;
    case RecordOperation::Last: ds->last(); break;
    case RecordOperation::Post: saveAskingToOverwrite(*ds, nullptr); break;
    case RecordOperation::Cancel: ds->cancel(); break;
    }
}

bool enabledFor(const Dataset *ds, RecordOperation operation)
{
    if (!ds->isOpen())
        return false;
    // Not read yet (its page not shown): nothing to move to or save, until it is read.
    if (!ds->keysRead())
        return false;
    switch (operation) {
    case RecordOperation::First:
    case RecordOperation::Prior: return !ds->bof();
    case RecordOperation::Next:
    case RecordOperation::Last: return !ds->eof();
    case RecordOperation::Post:
    case RecordOperation::Cancel: break;
    }
    return ds->isEditing();
}

// Draws the strip once: eight 16×16 pictures side by side.
QPixmap pictureStrip()
{
    static const QPixmap strip = [] {
        QPixmap pm(16 * 8, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor green(0, 128, 0), red(192, 0, 0), blue(0, 64, 160), navy(0, 0, 128);
        const auto at = [](int i, qreal x, qreal y) { return QPointF(16 * i + x, y); };
        // 0 add: a plus
        p.setPen(QPen(green, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(0, 8, 3), at(0, 8, 13));
        p.drawLine(at(0, 3, 8), at(0, 13, 8));
        // 1 delete: a cross
        p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(1, 4, 4), at(1, 12, 12));
        p.drawLine(at(1, 12, 4), at(1, 4, 12));
        // 2 save: a tick
        p.setPen(QPen(blue, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({at(2, 3, 8), at(2, 7, 12), at(2, 13, 4)}));
        // 3 cancel: a turned-back arrow
        p.setPen(QPen(red, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath back;
        back.moveTo(at(3, 12, 12));
        back.cubicTo(at(3, 13, 5), at(3, 7, 4), at(3, 4, 7));
        p.drawPath(back);
        p.drawPolyline(QPolygonF({at(3, 3, 3), at(3, 4, 7), at(3, 8, 8)}));
        // 4..7 moves: triangles with bars
        p.setPen(Qt::NoPen);
        p.setBrush(navy);
        const auto left = [&](int i, qreal x) { p.drawPolygon(QPolygonF({at(i, x, 8), at(i, x + 5, 3), at(i, x + 5, 13)})); };
        const auto right = [&](int i, qreal x) { p.drawPolygon(QPolygonF({at(i, x + 5, 8), at(i, x, 3), at(i, x, 13)})); };
        p.drawRect(QRectF(at(4, 3, 3), QSizeF(2, 10)));
        left(4, 6);
        left(5, 5.5);
        right(6, 5.5);
        right(7, 5);
        p.drawRect(QRectF(at(7, 11, 3), QSizeF(2, 10)));
        return pm;
    }();
    return strip;
}

} // namespace

QIcon recordPicture(int index) { return QIcon(pictureStrip().copy(16 * index, 0, 16, 16)); }

QString deleteQuestion(const QString &value, const QString &question)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'') + question;
}

RecordActions::RecordActions(DataModule *data, const QVector<ToolBarDef> &toolBars, QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ActionList1"));
    for (const ToolBarDef &def : toolBars) {
        Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));
        for (const OperationDef &op : operationDefs) {
            const QString tip = QString::fromUtf8(op.tooltip);
            auto *action = new QAction(recordPicture(op.picture), tip, this);
            action->setObjectName(QString::fromLatin1(def.actionPrefix) + QString::fromLatin1(op.name)
                                  + QString::fromLatin1(def.actionSuffix));
            action->setToolTip(tip);
            action->setProperty("category", QStringLiteral("Dataset"));
            const RecordOperation operation = op.operation;
            connect(action, &QAction::triggered, this, [ds, operation] { guarded(nullptr, [&] { run(ds, operation); }); });
            m_entries.append({action, ds, operation});
        }
    }
    updateEnabled();
    onIdle(this, [this] { updateEnabled(); });
    // A dataset read when its page is first shown, or given new rows by a
    // search: its buttons are right at once. Only its own, so that a
    // keystroke redraws no other tool bar, and only while it is open.
    QSet<Dataset *> followed;
    for (const ToolBarDef &def : toolBars) {
        Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));
        if (ds && !followed.contains(ds)) {
            followed.insert(ds);
            connect(ds, &Dataset::rowsReset, this, [this, ds] {
                if (ds->isOpen())
                    updateEnabled(ds);
            });
        }
    }
}

QAction *RecordActions::action(const QString &name) const { return findChild<QAction *>(name); }

void RecordActions::updateEnabled(const Dataset *only)
{
    for (const Entry &e : std::as_const(m_entries)) {
        if (only && e.dataset != only)
            continue;
        const bool enabled = enabledFor(e.dataset, e.operation);
        if (e.action->isEnabled() != enabled)
            e.action->setEnabled(enabled);
    }
}

void addRecord(const ToolBarDef &def, DataModule *data, QWidget *page)
{
    if (QWidget *box = recordArea(page)->findChild<QWidget *>(QString::fromLatin1(def.focusBox)))
        box->setFocus();
    Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));
    if (Dataset *master = ds->master()) {
        // A detail row is never saved without its master's key.
        if (master->isEditing() && master->isModified())
            saveBeforeLeaving(*master, page);
        if (master->isNull(QStringLiteral("SiraNo"))) {
            ui().inform(page, QStringLiteral("Bilgi"), QStringLiteral("Önce ana kaydı kaydedin."));
            return;
        }
    }
    ds->append();
}

void deleteRecord(const ToolBarDef &def, DataModule *data, QWidget *page)
{
    Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));
    const QString text = deleteQuestion(ds->text(QString::fromLatin1(def.deleteColumn)), QString::fromUtf8(def.question));
    if (ui().ask(page, QStringLiteral("Uyarı"), text, true) == UiSeam::Answer::Yes)
        ds->remove();
}

QToolBar *createRecordToolBar(const ToolBarDef &def, RecordActions *actions, DataModule *data, QWidget *page)
{
    auto *bar = new QToolBar(page);
    bar->setObjectName(QString::fromLatin1(def.toolBar));
    bar->setFixedHeight(29);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setAccessibleName(QStringLiteral("Kayıt araç çubuğu"));
    const QSize buttonSize(def.buttonWidth, 27);

    const auto addButton = [&](const char *name, int picture, const char *tip, auto handler) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(recordPicture(picture));
        button->setAutoRaise(true);
        button->setFixedSize(buttonSize);
        button->setAccessibleName(QString::fromUtf8(tip));
        setHint(button, QString::fromUtf8(tip), true);
        QObject::connect(button, &QToolButton::clicked, page, [page, handler] { guarded(page, handler); });
        bar->addWidget(button);
    };
    addButton(def.addButton, 0, "Yeni Kayıt Ekle", [&def, data, page] { addRecord(def, data, page); });
    addButton(def.deleteButton, 1, "Kayıt Sil", [&def, data, page] { deleteRecord(def, data, page); });

    const QString prefix = QString::fromLatin1(def.actionPrefix);
    const QString suffix = QString::fromLatin1(def.actionSuffix);
    const auto actionButton = [&](const char *operation) {
        QAction *action = actions->action(prefix + QString::fromLatin1(operation) + suffix);
        bar->addAction(action);
        if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action))) {
            button->setFixedSize(buttonSize);
            button->setAutoRaise(true);
            button->setAccessibleName(action->toolTip());
            setHint(button, action->toolTip(), true);
        }
    };
    actionButton("Post");
    actionButton("Cancel");
    auto *gap = new QWidget(bar);
    gap->setFixedWidth(8);
    bar->addWidget(gap);
    for (const char *operation : {"First", "Prior", "Next", "Last"})
        actionButton(operation);
    return bar;
}

} // namespace tk
