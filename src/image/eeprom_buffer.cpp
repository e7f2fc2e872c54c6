#include "image/eeprom_buffer.h"

namespace qz {

void ClearEEPROMBuffer(ModuleData& data) {
    data.EEPROMBuffer.fill(0);
    data.BufferEmpty = true;
}

}  // namespace qz
