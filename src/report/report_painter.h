#pragma once

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <functional>

#include "report/report_builder.h"

namespace qz {

class TimingChart;

// The report's font: "Courier New", unless a family named "Monospac821 BT" (in any letter
// case) is available, the last such name winning.
QString reportFontFamily(const QStringList& families);

// Paints one document of the report on the painter's page: each block's lines in the font at
// 8 points, in character columns as wide as the font's characters, from the block's distance
// below the top of the page; and, for the chart page, the chart drawn by its own paint
// function into the area from 1000 twips below the top to 1000 twips above the bottom, across
// the page, its value label hidden.
void paintReportDocument(QPainter& painter, const ReportDocument& document,
                         const QString& fontFamily, TimingChart* chart);

// Paints every document: `nextDocument` is called between two documents (a new page of one
// PDF, or the end of one print job and the start of the next). False when a painter could not
// begin on the device.
bool paintReport(QPagedPaintDevice& device, const std::vector<ReportDocument>& documents,
                 const QString& fontFamily, TimingChart* chart, bool oneJobPerDocument);

}  // namespace qz
