#include "RecordActions.h"

#include "controls/Hints.h"
#include "controls/Idle.h"
#include "controls/RecordArea.h"
#include "controls/UiSeam.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

namespace tk {

namespace {

const char *const operations[] = {"First", "Prior", "Next", "Last", "Post", "Cancel"};
const char *const tooltips[] = {"İlk Kayıt", "Önceki Kayıt", "Sonraki Kayıt", "Son Kayıt", "Kaydet", "İptal"};
const int pictureOfOperation[] = {4, 5, 6, 7, 2, 3};

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

const QVector<ToolBarDef> &toolBarDefs()
{
    static const QVector<ToolBarDef> defs = {
        {"ToolBar2", "MusTakip", "Mus", "", "ToolButton1", "DBEdit1", "ToolButton2", "AracPlaka",
         " plaka/isim içeren tüm bilgiler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar3", "MusTakip1", "Mus", "1", "ToolButton10", "DBEdit10", "ToolButton11", "Islem",
         " işlemi silinecek. Onaylıyor musunuz?", 25},
        {"ToolBar6", "HasTakip", "Has", "", "ToolButton37", "DBEdit26", "ToolButton38", "Plaka",
         " plakalı araca ait HASAR TESPİT bilgiler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar4", "FatTakip", "Fat", "", "ToolButton19", "DBEdit16", "ToolButton20", "Aylar",
         " adlı dönemi içeren tüm bilgiler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar5", "FatTakip1", "Fat", "1", "ToolButton28", "DBEdit13", "ToolButton29", "FaturaNo",
         " numaralı fatura bilgiler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar9", "Cari", "Cari", "", "ToolButton64", "DBEdit59", "ToolButton65", "Firma",
         " adlı kayıtları silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar10", "Cari1", "Cari", "1", "ToolButton73", "DBEdit61", "ToolButton74", "FatNo",
         " numaralı fatura bilgiler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar19", "IrsaliyeUst", "IrsaliyeUst", "", "ToolButton154", "DBEdit64", "ToolButton155", "Aylar",
         " adlı dönemi içeren irsaliyeler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar8", "Irsaliye", "Irsaliye", "", "ToolButton55", "DBEdit45", "ToolButton56", "FaturaNo",
         " nolu faturaya ait İRSALİYE silincek. Onaylıyor musunuz?", 30},
        {"ToolBar15", "Kasa", "Kasa", "", "ToolButton118", "DBEdit82", "ToolButton119", "Aylar",
         " dönem kayıtları silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar16", "Kasa1", "Kasa", "1", "ToolButton127", "DBEdit83", "ToolButton128", "Tarih",
         " tarihli kayıtlar silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar13", "Odeme", "Odeme", "", "ToolButton100", "DBEdit79", "ToolButton101", "Aylar",
         " ay kayıtları silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar14", "Odeme1", "Odeme", "1", "ToolButton109", "DBEdit80", "ToolButton110", "Tarih",
         " tarihli kayıt bilgiler silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar11", "SenetVer", "SenetVer", "", "ToolButton82", "DBEdit60", "ToolButton83", "SenetNo",
         " numaralı VERİLEN SENET kayıtları silinecek. Onaylıyor musunuz?", 24},
        {"ToolBar12", "SenetAl", "SenetAl", "", "ToolButton91", "DBEdit74", "ToolButton92", "SenetNo",
         " numaralı ALINAN SENET kayıtları silinecek. Onaylıyor musunuz?", 24},
        {"ToolBar7", "Stok", "Stok", "", "ToolButton46", "DBEdit47", "ToolButton47", "StokKodu",
         " kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar17", "Maas", "Maas", "", "ToolButton136", "DBEdit91", "ToolButton137", "Aylar",
         " dönem kayıtları silinecek. Onaylıyor musunuz?", 30},
        {"ToolBar18", "Maas1", "Maas", "1", "ToolButton145", "DBEdit92", "ToolButton146", "Personel",
         " adlı personel bilgileri silinecek. Onaylıyor musunuz?", 30},
    };
    return defs;
}

const ToolBarDef &toolBarDef(const QString &toolBar)
{
    for (const ToolBarDef &def : toolBarDefs())
        if (toolBar == QLatin1String(def.toolBar))
            return def;
    throw Error(QStringLiteral("Araç çubuğu bulunamadı: %1").arg(toolBar));
}

QIcon recordPicture(int index) { return QIcon(pictureStrip().copy(16 * index, 0, 16, 16)); }

QString deleteQuestion(const QString &value, const QString &question)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'') + question;
}

RecordActions::RecordActions(DataModule *data, QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ActionList1"));
    for (const ToolBarDef &def : toolBarDefs()) {
        Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));
        for (int kind = 0; kind < 6; ++kind) {
            auto *action = new QAction(recordPicture(pictureOfOperation[kind]), QString::fromUtf8(tooltips[kind]), this);
            action->setObjectName(QString::fromLatin1(def.actionPrefix) + QString::fromLatin1(operations[kind])
                                  + QString::fromLatin1(def.actionSuffix));
            action->setToolTip(QString::fromUtf8(tooltips[kind]));
            action->setProperty("category", QStringLiteral("Dataset"));
            connect(action, &QAction::triggered, this, [ds, kind] {
                guarded(nullptr, [&] {
                    switch (kind) {
                    case 0: ds->first(); break;
                    case 1: ds->prior(); break;
                    case 2: ds->next(); break;
                    case 3: ds->last(); break;
                    case 4: ds->post(); break;
                    default: ds->cancel(); break;
                    }
                });
            });
            m_entries.append({action, ds, kind});
        }
    }
    updateEnabled();
    onIdle(this, [this] { updateEnabled(); });
}

QAction *RecordActions::action(const QString &name) const { return findChild<QAction *>(name); }

void RecordActions::updateEnabled()
{
    for (const Entry &e : std::as_const(m_entries)) {
        const Dataset *ds = e.dataset;
        bool enabled = false;
        if (ds->isOpen()) {
            switch (e.kind) {
            case 0:
            case 1: enabled = !ds->bof(); break;
            case 2:
            case 3: enabled = !ds->eof(); break;
            default: enabled = ds->isEditing(); break;
            }
        }
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
            master->post();
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

QToolBar *createRecordToolBar(const QString &toolBar, RecordActions *actions, DataModule *data, QWidget *page)
{
    const ToolBarDef &def = toolBarDef(toolBar);
    auto *bar = new QToolBar(page);
    bar->setObjectName(toolBar);
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
