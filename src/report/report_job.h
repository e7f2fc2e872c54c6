#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPageLayout>
#include <QString>
#include <string>
#include <vector>

#include "core/program_state.h"
#include "report/report_builder.h"
#include "table/table_views.h"

namespace qz {

// The date and time of printing as the report shows them: the system's short date, then its
// long time.
std::string reportTimestamp(const QDateTime& when);

// The report of the program as it stands: the parameters, the identification, the company
// line, the comment, and the timing table as the table editor shows it (filled from the
// working table first when no table is open). `chart` receives the chart to print, if any.
std::vector<ReportDocument> reportOf(const ProgramState& state, TableViews& views,
                                     const std::string& comment, const QDateTime& when,
                                     TimingChart** chart);

// The report as a PDF, one page a document, on the page layout given (by default landscape
// A4, as the printed pages).
QPageLayout reportPageLayout();
QByteArray reportPdf(const std::vector<ReportDocument>& documents, TimingChart* chart,
                     const QPageLayout& layout = reportPageLayout());

// Writes the report's PDF whole and atomically, as data files are written: a failure leaves
// an older file at the path as it was. Throws ProgramError naming the path.
void writeReportPdf(const QString& path, const std::vector<ReportDocument>& documents,
                    TimingChart* chart, const QPageLayout& layout = reportPageLayout());

}  // namespace qz
