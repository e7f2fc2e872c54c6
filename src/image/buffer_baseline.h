#pragma once

#include <optional>

#include "core/module_data.h"

namespace qz {

// The image a save would write now: the buffer with the parameter variables encoded into
// it (a variable that cannot be encoded leaves its byte as it is).
EepromBytes encodedImage(const ModuleData& data);

// What the buffer was when it last matched a data file or the module, so the program knows
// whether it holds changes that are in neither.
class BufferBaseline {
  public:
    // The buffer now matches a file or the module (after Open, Save, Download, Upload).
    void set(const ModuleData& data) { image_ = encodedImage(data); }
    void clear() { image_.reset(); }
    // Whether saving now would write what no file and no module holds. An empty buffer
    // holds nothing to save.
    bool changed(const ModuleData& data) const {
        return !data.BufferEmpty && (!image_ || *image_ != encodedImage(data));
    }

  private:
    std::optional<EepromBytes> image_;
};

}  // namespace qz
