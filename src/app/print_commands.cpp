#include <QFileInfo>
#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrinterInfo>

#include "app/main_window.h"
#include "core/error_trap.h"
#include "core/program_error.h"
#include "report/report_job.h"
#include "report/report_painter.h"

namespace qz {

// The printer set-up: the printer and its pages are kept for the next report, PDF output
// included; Cancel changes nothing.
void frmTunewell_Main::mnuPrintSetup_Click() {
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    runDialog_(dialog);
}

// The report as three print jobs (chart page, table page, parameter page). A machine without
// a printer offers to save the same pages as a PDF.
void frmTunewell_Main::mnuPrintTable_Click() {
    ErrorTrap trap(prompts_);
    trap.run([&] {
        const std::string comment =
            prompts_.input("Serial number or comment?", "Optional Information Entry", "")
                .value_or("");
        TimingChart* chart = nullptr;
        std::vector<ReportDocument> documents;
        trap.step([&] {
            documents = reportOf(state_, *views_, comment, QDateTime::currentDateTime(), &chart);
        });
        if (documents.empty()) return;
        const bool toPdf =
            printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
        if (QPrinterInfo::availablePrinters().isEmpty() && !toPdf) {
            const std::string proposed =
                currentFile_.empty()
                    ? "report.pdf"
                    : (QFileInfo(QString::fromStdString(currentFile_)).completeBaseName() + ".pdf")
                          .toStdString();
            const std::string path = prompts_.saveFileName(
                "No printer installed - Save Report As PDF", "PDF files (*.pdf)|*.pdf", proposed);
            if (path.empty()) return;
            trap.step([&] {
                if (!writeReportPdf(QString::fromStdString(path), documents, chart))
                    throw appError("Print", "Cannot write " + path + ".");
            });
            return;
        }
        printer_.setPageOrientation(QPageLayout::Landscape);
        trap.step([&] {
            if (!paintReport(printer_, documents, reportFontFamily(QFontDatabase::families()),
                             chart, true))
                throw appError("Print", "The printer " + printer_.printerName().toStdString() +
                                            " could not start printing.");
        });
    });
}

}  // namespace qz
