#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "app/configuration.h"
#include "app/program_folder.h"
#include "core/auto_prompts.h"
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
    const HiddenApplication application(HiddenApplication::Kind::Widgets);
    qz::ProgramState state;
    static_cast<qz::ModuleData&>(state) = tune.data;
    state.FirmwareID = arguments.value("--firmware-id").value_or("");
    qz::AutoPrompts prompts(qz::PromptAnswer::Ignore, &err);
    const QString folder = qz::findProgramFolder(QCoreApplication::applicationDirPath());
    qz::ErrorTrap trap(prompts);
    trap.run([&] { qz::readConfiguration(folder + "/Tunewell_QZ.cfg", state, trap); });
    QWidget host;
    qz::TableViews views(state, prompts, folder, &host, {});
    views.setUpAtStartup(QStringLiteral("qz1 report"));
    qz::TimingChart* chart = nullptr;
    const auto documents = aboutFile(input, [&] {
        return qz::reportOf(state, views, arguments.value("--comment").value_or(""),
                            QDateTime::currentDateTime(), &chart);
    });
    aboutFile(output,
              [&] { qz::writeReportPdf(QString::fromStdString(output), documents, chart); });
    return kExitOk;
}

}  // namespace qz1
