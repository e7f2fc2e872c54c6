// Downloads and uploads against the simulated module on a pseudo-terminal and compares the
// time taken with the delays the protocol itself mandates. Run by hand:
//   build/bin/bench_transfer
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <ctime>
#include <sstream>

#include "core/auto_prompts.h"
#include "image/parameter_codec.h"
#include "link/module_protocol.h"
#include "link/pty_simulator_host.h"
#include "link/qt_serial_port.h"
#include "link/transfer_sequence.h"

namespace {

struct NoProgress : qz::ProgressView {
    void showProgress(const std::string&) override {}
    void setProgress(int) override {}
    void showStatus(const std::string&) override {}
    void hideProgress() override {}
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

void report(const char* what, double wallMs, double cpuMs, double floorMs, bool ok) {
    std::printf("%-9s %s  time %7.1f ms  floor %6.0f ms  ratio %.3f  cpu %4.1f %% of wall\n", what,
                ok ? "ok    " : "FAILED", wallMs, floorMs, wallMs / floorMs, 100 * cpuMs / wallMs);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::ostringstream errors;  // the identification and any failure, shown at the end
    qz::PtySimulatorHost module{qz::ModuleSimulator(qz::demoTune(), qz::kDefaultSimulatorId)};
    qz::QtSerialPort port([&](int) { return module.devicePath(); });
    port.applyLineSettings();
    qz::ProgramState state;
    qz::AutoPrompts prompts(qz::PromptAnswer::Abort, &errors);
    NoProgress progress;
    qz::ModuleProtocol protocol(port, prompts, state, progress);

    // The delays the protocol mandates: resync 2 ms, identification 5 ms, address selection
    // 3 x 5 ms, and 5 + 5 ms for each of the 264 bytes read; programming 264 x (5 + 5) ms and
    // verification 15 ms + 264 x 5 ms.
    constexpr double kDownloadFloorMs = 2 + 5 + 15 + 264 * 10;               // 2662
    constexpr double kUploadFloorMs = 2 + 5 + 15 + 264 * 10 + 15 + 264 * 5;  // 3997

    QElapsedTimer clock;
    clock.start();
    double cpu = threadCpuMs();
    qz::EepromBytes image{};
    bool ok = qz::downloadModule(protocol, image).succeeded;
    report("download", clock.nsecsElapsed() / 1e6, threadCpuMs() - cpu, kDownloadFloorMs, ok);

    state.EEPROMBuffer = image;
    state.BufferEmpty = false;
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    qz::UpdateParams(state, ignore);  // the upload encodes the variables again
    clock.restart();
    cpu = threadCpuMs();
    ok = qz::uploadImage(protocol).succeeded && ok;
    report("upload", clock.nsecsElapsed() / 1e6, threadCpuMs() - cpu, kUploadFloorMs, ok);
    if (!ok) std::fputs(errors.str().c_str(), stderr);
    return ok ? 0 : 1;
}
