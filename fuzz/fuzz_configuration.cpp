// A configuration file of any bytes, every error answered by the fuzzer.
#include "core/auto_prompts.h"
#include "files/configuration.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = qz::fuzz::asFile(data, size, "Tunewell_QZ.cfg");
    for (const auto answer : {qz::PromptAnswer::Ignore, qz::PromptAnswer::Abort}) {
        qz::ProgramState state;
        qz::AutoPrompts prompts(answer);
        qz::ErrorTrap trap(prompts);
        trap.run([&] { qz::readConfiguration(path, state, trap); });
        if (!state.CompanyInfo.empty()) (void)qz::aboutText(state.CompanyInfo);
    }
    return 0;
}
