#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompts.h"

namespace qz {

// One failure the trap handled: which step failed, what it said, and what the user chose.
struct TrappedFailure {
    std::string step;
    std::string description;
    PromptAnswer answer;
};

// The program's error trap. A procedure runs its body through run() and each statement
// that may fail through step(). A failing step shows its description with Abort, Retry and
// Ignore (title "Error", critical icon): Retry runs the step again, Ignore goes on with the
// next step, Abort runs the clean-up and leaves the procedure. The error never reaches the
// caller of the procedure. Any failure counts, not only the program's own errors: a port
// that vanished or a library that threw gets the same prompt. A failure outside every step
// cannot be repeated or passed over, so it is shown with OK alone and leaves through the
// clean-up.
class ErrorTrap {
  public:
    explicit ErrorTrap(Prompts& prompts, std::function<void()> cleanup = {});

    // Runs a procedure's body; false when it left through the clean-up.
    bool run(const std::function<void()>& body);

    // Runs one step of the body. `name` labels the step in failures().
    void step(const std::function<void()>& action, std::string_view name = {});

    bool aborted() const { return aborted_; }
    const std::vector<TrappedFailure>& failures() const { return failures_; }

  private:
    struct Aborted {};

    Prompts& prompts_;
    std::function<void()> cleanup_;
    std::vector<TrappedFailure> failures_;
    bool aborted_ = false;
};

// A handler whose whole body is one step under the trap.
void runTrapped(Prompts& prompts, const std::function<void()>& body);

}  // namespace qz
