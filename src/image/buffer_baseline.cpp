#include "image/buffer_baseline.h"

#include "core/auto_prompts.h"
#include "image/parameter_codec.h"

namespace qz {

EepromBytes encodedImage(const ModuleData& data) {
    ModuleData copy = data;
    AutoPrompts ignore(PromptAnswer::Ignore);
    UpdateEEPROM(copy, ignore);
    return copy.EEPROMBuffer;
}

}  // namespace qz
