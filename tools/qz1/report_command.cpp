#include <QApplication>
#include <QDir>
#include <memory>

#include "app/configuration.h"
#include "app/program_folder.h"
#include "core/auto_prompts.h"
#include "core/program_error.h"
#include "qz1/commands.h"
#include "qz1/tune.h"
#include "report/report_job.h"

namespace qz1 {
namespace {

struct ReportRequest {
    std::string input;
    std::string output;
    std::string comment;
    std::string firmwareId;
};

ReportRequest parseReportArguments(const std::vector<std::string>& arguments) {
    ReportRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue =
            argument == "-o" || argument == "--comment" || argument == "--firmware-id";
        if (takesValue && i + 1 == arguments.size()) throw BadInput(argument + " needs a value");
        if (argument == "-o")
            request.output = arguments[++i];
        else if (argument == "--comment")
            request.comment = arguments[++i];
        else if (argument == "--firmware-id")
            request.firmwareId = arguments[++i];
        else if (argument.starts_with("-") || !request.input.empty())
            throw BadInput("report: unexpected argument \"" + argument + "\"");
        else
            request.input = argument;
    }
    if (request.input.empty() || request.output.empty())
        throw BadInput("report needs FILE and -o OUT.pdf");
    return request;
}

// The report paints with widgets' fonts and charts; without a display, offscreen.
class ReportApplication {
  public:
    ReportApplication() {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) return;
        if (QCoreApplication::instance())
            throw BadInput("report: cannot run beside another Qt application");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }

  private:
    int argc_ = 1;
    char name_[4] = "qz1";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

}  // namespace

// The printed report of a data file as a PDF: the tables as the editor shows them when the
// file is opened, the company line from the configuration beside the program.
int runReport(const std::vector<std::string>& arguments, std::ostream& err) {
    const ReportRequest request = parseReportArguments(arguments);
    Tune tune = loadTune(request.input);
    // A report must not show a value nobody chose for what could not be decoded.
    if (reportDecodeFailures(tune, err) != kExitOk) return kExitDecodeFailure;
    ReportApplication application;
    qz::ProgramState state;
    static_cast<qz::ModuleData&>(state) = tune.data;
    state.FirmwareID = request.firmwareId;
    qz::AutoPrompts prompts(qz::PromptAnswer::Ignore, &err);
    const QString folder = qz::findProgramFolder(QCoreApplication::applicationDirPath());
    qz::ErrorTrap trap(prompts);
    trap.run([&] { qz::readConfiguration(folder + "/Tunewell_QZ.cfg", state, trap); });
    QWidget host;
    qz::TableViews views(state, prompts, folder, &host, {});
    views.setUpAtStartup(QStringLiteral("qz1 report"));
    qz::TimingChart* chart = nullptr;
    std::vector<qz::ReportDocument> documents;
    try {
        documents =
            qz::reportOf(state, views, request.comment, QDateTime::currentDateTime(), &chart);
    } catch (const qz::ProgramError& error) {
        throw BadInput(request.input + ": " + error.what());
    }
    try {
        qz::writeReportPdf(QString::fromStdString(request.output), documents, chart);
    } catch (const qz::ProgramError& error) {
        throw BadInput(error.what());
    }
    return kExitOk;
}

}  // namespace qz1
