// A data file of any bytes: read, and the whole image decoded.
#include <cstdlib>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "fuzz/fuzz_input.h"
#include "image/parameter_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = qz::fuzz::asFile(data, size, "tune.dat");
    qz::ModuleData module;
    module.EEPROMBuffer.fill(0x5A);
    const qz::EepromBytes before = module.EEPROMBuffer;
    try {
        qz::loadDataFile(path, module);
    } catch (const qz::PrematureEndOfFile&) {
        if (module.EEPROMBuffer != before) std::abort();  // a short file changes nothing
        return 0;
    } catch (const qz::ProgramError&) {
        return 0;
    }
    for (const auto answer : {qz::PromptAnswer::Ignore, qz::PromptAnswer::Abort}) {
        qz::ModuleData decoded = module;
        qz::AutoPrompts prompts(answer);
        qz::UpdateParams(decoded, prompts);
        qz::UpdateEEPROM(decoded, prompts);
    }
    return 0;
}
