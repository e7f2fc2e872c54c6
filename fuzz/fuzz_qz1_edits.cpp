// qz1's edits: a JSON edits file and a --set argument of any bytes, then applied.
#include <string>

#include "qz1/edits.h"
#include "qz1/tune.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    qz::ModuleData module;
    try {
        qz1::applyEdits(qz1::parseJsonEdits(text, "fuzz.json"), module);
    } catch (const qz1::BadInput&) {
    }
    try {
        qz1::applyEdits({qz1::parseSetArgument(text)}, module);
    } catch (const qz1::BadInput&) {
    }
    return 0;
}
