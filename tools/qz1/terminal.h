#pragma once

#include <functional>

namespace qz1 {

// What qz1 needs of the terminal and the process's signals; terminal_posix.cpp has it.

// Whether stderr is a terminal, where progress can be redrawn in place.
bool stderrIsTerminal();

// Runs `serve` with interrupt (Ctrl+C) and terminate held back from it and from every thread
// it starts; `serve` calls the wait it is given once it is ready, which returns at the first
// of them. Afterwards the signals are as they were.
void runUntilInterrupted(const std::function<void(const std::function<void()>& wait)>& serve);

}  // namespace qz1
