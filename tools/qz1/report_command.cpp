#include <QDir>
#include <QFileInfo>

#include "charts/table_chart.h"
#include "core/auto_prompts.h"
#include "files/configuration.h"
#include "files/program_folder.h"
#include "qz1/commands.h"
#include "qz1/hidden_application.h"
#include "qz1/tune.h"
#include "report/report_job.h"

namespace qz1 {

// The printed report of a data file as a PDF: the tables as the editor shows them when the
// file is opened, the company line from the configuration beside the program. A report
// must not show a value nobody chose for one that cannot be decoded.
int runReport(const Arguments& arguments, std::ostream&, std::ostream& err) {
    const std::string& input = arguments.positional(0);
    const std::string output = *arguments.value("-o");
    const QFileInfo target(QString::fromStdString(output));
    if (target.exists() &&
        target.canonicalFilePath() == QFileInfo(QString::fromStdString(input)).canonicalFilePath())
        throw BadInput("report: " + output + " is the tune itself; a report never replaces it");
    Tune tune = loadTune(input);
    if (reportDecodeFailures(tune, err) != kExitOk) return kExitDecodeFailure;
    const HiddenApplication application(HiddenApplication::Kind::Gui);
    qz::ProgramState state;
    static_cast<qz::ModuleData&>(state) = tune.data;
    state.FirmwareID = arguments.value("--firmware-id").value_or("");
    qz::AutoPrompts prompts(qz::PromptAnswer::Ignore, &err);
    const QString folder = qz::findProgramFolder(QCoreApplication::applicationDirPath());
    qz::ErrorTrap trap(prompts);
    trap.run([&] { qz::readConfiguration(folder + "/Tunewell_QZ.cfg", state, trap); });
    // The chart as the program shows the table: dressed by its template, or the built-in
    // look when the template cannot be read.
    qz::ChartPicture chart;
    if (const qz::TableKind kind = qz::selectedTable(state); kind != qz::TableKind::Disabled) {
        const QString file = qz::chartTemplateFile(kind, state.MAPSensorBar);
        const qz::ChartKind chartKind =
            kind == qz::TableKind::Table2D ? qz::ChartKind::Line2D : qz::ChartKind::Surface3D;
        auto look = qz::loadChartTemplate(folder + "/" + file, chartKind);
        if (!look)
            err << "qz1 report: Chart template file " << file.toStdString() << " not found.\n";
        qz::ChartTemplate builtIn;
        builtIn.kind = chartKind;
        chart = qz::workingTableChart(state, look.value_or(builtIn));
    }
    const auto documents = aboutFile(input, [&] {
        return qz::reportOf(state, state, arguments.value("--comment").value_or(""),
                            QDateTime::currentDateTime());
    });
    aboutFile(output,
              [&] { qz::writeReportPdf(QString::fromStdString(output), documents, chart); });
    return kExitOk;
}

}  // namespace qz1
