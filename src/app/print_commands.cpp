#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>

#include "app/main_window.h"
#include "core/error_trap.h"
#include "core/program_error.h"
#include "files/file_dialogs.h"
#include "report/report_job.h"
#include "report/report_painter.h"

namespace qz {

// The printer set-up: the printer and its pages are kept for the next report, PDF output
// included; Cancel changes nothing.
void frmTunewell_Main::mnuPrintSetup_Click() {
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    // A set-up, not a print: its button says OK.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    runDialog_(dialog);
}

// The report on the printer as three print jobs (chart page, table page, parameter page).
// A printer whose output is a file, and a machine without a printer, get one PDF of every
// page instead, written whole; the status bar says where it went.
void frmTunewell_Main::mnuPrintTable_Click() {
    ErrorTrap trap(prompts_);
    trap.run([&] {
        const std::string comment =
            prompts_.input("Serial number or comment?", "Optional Information Entry", "")
                .value_or("");
        const ChartPicture chart = editor_->chartOnShow();
        std::vector<ReportDocument> documents;
        trap.step([&] {
            documents =
                reportOf(state_, editor_->tablesOnShow(), comment, QDateTime::currentDateTime());
        });
        if (documents.empty()) return;
        std::string path = printer_.outputFileName().toStdString();
        QPageLayout layout = printer_.pageLayout();
        if (path.empty() && QPrinterInfo::availablePrinters().isEmpty()) {
            const std::string proposed =
                currentFile_.empty()
                    ? "report.pdf"
                    : (QFileInfo(QString::fromStdString(currentFile_)).completeBaseName() + ".pdf")
                          .toStdString();
            try {  // an existing file is replaced only on Yes, as Save File asks
                path = FileSave(prompts_, "No printer installed - Save Report As PDF",
                                "PDF files (*.pdf)|*.pdf", "", proposed, "pdf");
            } catch (const ProgramError&) {
                return;  // Cancel at that question
            }
            if (path.empty()) return;
            layout = reportPageLayout();
        }
        if (!path.empty()) {
            layout.setOrientation(QPageLayout::Landscape);
            bool written = false;
            trap.step([&] {
                writeReportPdf(QString::fromStdString(path), documents, chart, layout);
                written = true;
            });
            if (written)
                statusBar()->showMessage(
                    QStringLiteral("Report written to %1").arg(QString::fromStdString(path)),
                    10000);
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
