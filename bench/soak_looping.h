#pragma once

namespace qz::soak {

// Thrown when a transfer has sent far more bytes, or shown far more prompts, than any answer
// to its prompts can explain. It is no error the program knows, so it leaves the protocol's
// traps (which report it through the prompts, which throw it again) and ends the transfer,
// which is then counted as a hang.
struct Looping {};

}  // namespace qz::soak
