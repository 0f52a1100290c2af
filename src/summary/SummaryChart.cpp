#include "SummaryChart.h"

#include "core/Error.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QValueAxis>
#include <algorithm>
#include <memory>

namespace tk {

namespace {

// Drawn at this width whatever the device, then scaled: the same picture on
// screen, in a PNG, on paper.
constexpr qreal drawingWidth = 1000;

QValueAxis *valueAxis(const SummarySheet &sheet, bool second)
{
    double low = 0, high = 0;
    bool whole = true;
    for (const SheetSeries &s : sheet.series) {
        if (s.secondAxis != second)
            continue;
        whole = whole && s.whole;
        for (double v : s.values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    auto *axis = new QValueAxis;
    axis->setRange(low, high > low ? high : low + 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%.0f"));
    if (whole && high - low < 10) { // a few jobs: ticks at whole numbers
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(1);
    }
    return axis;
}

} // namespace

QChart *makeChart(const SummarySheet &sheet)
{
    auto *chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    chart->setTitleFont(titleFont);
    if (sheet.empty) {
        chart->setTitle(QStringLiteral("Kayıt yok"));
        chart->legend()->hide();
        return chart;
    }
    chart->setTitle(sheet.title);

    // Names read top-down on a horizontal chart, whose first category is at the bottom.
    QStringList labels = sheet.chartLabels;
    const auto ordered = [&](QVector<double> values) {
        if (sheet.horizontal)
            std::reverse(values.begin(), values.end());
        return values;
    };
    if (sheet.horizontal)
        std::reverse(labels.begin(), labels.end());

    auto *categories = new QBarCategoryAxis;
    categories->append(labels);
    QAbstractBarSeries *bars = sheet.horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                                : new QBarSeries;
    bool barsOnSecond = false;
    QVector<QLineSeries *> lines;
    for (const SheetSeries &s : sheet.series) {
        const QVector<double> values = ordered(s.values);
        if (s.kind == SheetSeries::Kind::Bars) {
            auto *set = new QBarSet(s.name);
            for (double v : values)
                set->append(v);
            set->setColor(s.colour);
            set->setBorderColor(s.colour.darker(120));
            bars->append(set);
            barsOnSecond = s.secondAxis;
        } else {
            auto *line = new QLineSeries;
            line->setName(s.name);
            QPen pen(s.colour);
            pen.setWidthF(2.5);
            line->setPen(pen);
            line->setPointsVisible(true);
            for (int i = 0; i < values.size(); ++i)
                line->append(i, values[i]);
            lines << line;
        }
    }
    // The legend lists the series in the order they were added: bars first.
    chart->addSeries(bars);
    for (QLineSeries *line : lines)
        chart->addSeries(line);

    const Qt::Alignment categorySide = sheet.horizontal ? Qt::AlignLeft : Qt::AlignBottom;
    const Qt::Alignment valueSide = sheet.horizontal ? Qt::AlignBottom : Qt::AlignLeft;
    chart->addAxis(categories, categorySide);
    QValueAxis *first = valueAxis(sheet, false);
    chart->addAxis(first, valueSide);
    const bool hasSecond = std::any_of(sheet.series.begin(), sheet.series.end(),
                                       [](const SheetSeries &s) { return s.secondAxis; });
    QValueAxis *second = nullptr;
    if (hasSecond) {
        second = valueAxis(sheet, true);
        chart->addAxis(second, sheet.horizontal ? Qt::AlignTop : Qt::AlignRight);
    }
    bars->attachAxis(categories);
    bars->attachAxis(barsOnSecond && second ? second : first);
    for (int i = 0, l = 0; i < sheet.series.size(); ++i) {
        if (sheet.series[i].kind != SheetSeries::Kind::Line)
            continue;
        QLineSeries *line = lines[l++];
        line->attachAxis(categories);
        line->attachAxis(sheet.series[i].secondAxis && second ? second : first);
    }
    return chart;
}

void drawChart(const SummarySheet &sheet, QPainter &painter, const QRectF &target)
{
    if (target.width() <= 0 || target.height() <= 0)
        return;
    const QRectF drawing(0, 0, drawingWidth, drawingWidth * target.height() / target.width());
    QGraphicsScene scene; // owns the chart from here
    QChart *chart = makeChart(sheet);
    scene.addItem(chart);
    scene.setSceneRect(drawing);
    chart->setGeometry(drawing);
    chart->layout()->activate();
    scene.render(&painter, target, drawing);
}

void saveChartImage(const SummarySheet &sheet, const QString &path)
{
    QImage image(1200, 750, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        drawChart(sheet, painter, image.rect());
    }
    if (!image.save(path, "PNG"))
        throw Error(QStringLiteral("'%1' dosyası yazılamadı.").arg(path));
}

void saveChartPdf(const SummarySheet &sheet, const QString &path)
{
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Tekvanis"));
    writer.setTitle(sheet.title);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                     QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        throw Error(QStringLiteral("'%1' dosyası yazılamadı.").arg(path));
    drawChart(sheet, painter, QRectF(0, 0, writer.width(), writer.height()));
    painter.end();
}

void printChart(const SummarySheet &sheet, QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("Yazıcıya yazdırılamadı."));
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    drawChart(sheet, painter, QRectF(QPointF(0, 0), page.size()));
    painter.end();
}

} // namespace tk
