#pragma once

namespace qz {

// Whether the program leaves this image address alone: 37-47, 56-63, 68-71, 79 and 91-111
// are carried through every read, edit and write unchanged.
constexpr bool isCarriedUnchanged(int address) {
    return (address >= 37 && address <= 47) || (address >= 56 && address <= 63) ||
           (address >= 68 && address <= 71) || address == 79 || (address >= 91 && address <= 111);
}

}  // namespace qz
