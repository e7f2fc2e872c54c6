#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPageLayout>
#include <QString>
#include <string>
#include <vector>

#include "charts/chart_drawing.h"
#include "core/program_state.h"
#include "report/report_builder.h"

namespace qz {

// The date and time of printing as the report shows them: the system's short date, then its
// long time.
std::string reportTimestamp(const QDateTime& when);

// The report of the program as it stands: the parameters, the identification, the company
// line, the comment, and the timing table of `tables` (the working tables, with the values of
// an open table, unsaved edits included) in the texts the grid shows.
std::vector<ReportDocument> reportOf(const ProgramState& state, const ModuleData& tables,
                                     const std::string& comment, const QDateTime& when);

// The report as a PDF, one page a document, on the page layout given (by default landscape
// A4, as the printed pages).
QPageLayout reportPageLayout();
QByteArray reportPdf(const std::vector<ReportDocument>& documents, const ChartPicture& chart,
                     const QPageLayout& layout = reportPageLayout());

// Writes the report's PDF whole and atomically, as data files are written: a failure leaves
// an older file at the path as it was. Throws ProgramError naming the path.
void writeReportPdf(const QString& path, const std::vector<ReportDocument>& documents,
                    const ChartPicture& chart, const QPageLayout& layout = reportPageLayout());

}  // namespace qz
