#include "report/report_job.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QLocale>
#include <QPdfWriter>

#include "core/program_error.h"
#include "files/data_file.h"
#include "image/table_text.h"
#include "report/report_painter.h"

namespace qz {

std::string reportTimestamp(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    return (locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
            locale.toString(when.time(), QLocale::LongFormat))
        .toStdString();
}

std::vector<ReportDocument> reportOf(const ProgramState& state, const ModuleData& tables,
                                     const std::string& comment, const QDateTime& when) {
    ReportInput input;
    input.parameters = state;
    input.firmwareId = state.FirmwareID;
    input.company = configurationItem(state, state.CompanyInfo,
                                      1);  // a missing company line fails as at start-up
    input.comment = comment;
    input.printed = reportTimestamp(when);
    input.grid = tableTexts(tables);
    return buildReport(input);
}

QPageLayout reportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
}

QByteArray reportPdf(const std::vector<ReportDocument>& documents, const ChartPicture& chart,
                     const QPageLayout& layout) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(layout);
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("QZ-1 Ignition Module Data"));
        if (!paintReport(writer, documents, reportFontFamily(QFontDatabase::families()), chart,
                         false))
            throw appError("Print", "The report could not be drawn.");
    }
    return pdf.data();
}

void writeReportPdf(const QString& path, const std::vector<ReportDocument>& documents,
                    const ChartPicture& chart, const QPageLayout& layout) {
    writeFileAtomically(path, reportPdf(documents, chart, layout), "Print");
}

}  // namespace qz
