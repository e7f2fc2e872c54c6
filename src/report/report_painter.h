#pragma once

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <functional>

#include "charts/chart_drawing.h"
#include "report/report_builder.h"

namespace qz {

// The report's font: "Courier New", unless a family named "Monospac821 BT" (in any letter
// case) is available, the last such name winning.
QString reportFontFamily(const QStringList& families);

// Paints one document of the report on the painter's page: each block's lines in the font at
// 8 points, in character columns as wide as the font's characters, from the block's distance
// below the top of the page; and, for the chart page, the chart drawn by the charts' own
// drawing into the area from 1000 twips below the top to 1000 twips above the bottom, across
// the page.
void paintReportDocument(QPainter& painter, const ReportDocument& document,
                         const QString& fontFamily, const ChartPicture& chart);

// Paints every document: one print job each (a printer), or one job with a new page between
// two documents (a PDF). False when a painter could not begin on the device.
bool paintReport(QPagedPaintDevice& device, const std::vector<ReportDocument>& documents,
                 const QString& fontFamily, const ChartPicture& chart, bool oneJobPerDocument);

}  // namespace qz
