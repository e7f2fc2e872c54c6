#pragma once

#include <utility>

namespace qz {

// Runs a clean-up when the scope ends, however it ends: a return, an exception or Abort.
template <typename F>
class ScopeExit {
  public:
    explicit ScopeExit(F cleanup) : cleanup_(std::move(cleanup)) {}
    ~ScopeExit() { cleanup_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    F cleanup_;
};

}  // namespace qz
