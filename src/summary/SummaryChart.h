#pragma once
// The chart of a summary sheet: bars per category, an optional line over
// them, a second value axis when a series has another unit. One maker
// serves the window, the saved pictures and the printed page.
#include "SummarySheet.h"

#include <QRectF>

class QChart;
class QPainter;
class QPrinter;

namespace tk {

// A new chart (the caller owns it). An empty sheet gives a chart without
// series titled "Kayıt yok".
QChart *makeChart(const SummarySheet &sheet);

// Draws the sheet's chart into `target` of any painter: an image, a PDF page, a printer.
void drawChart(const SummarySheet &sheet, QPainter &painter, const QRectF &target);

// The outputs of the window's buttons; each throws Error when the file cannot be written.
void saveChartImage(const SummarySheet &sheet, const QString &path);
void saveChartPdf(const SummarySheet &sheet, const QString &path);
void printChart(const SummarySheet &sheet, QPrinter &printer);

} // namespace tk
