#pragma once

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>

namespace qz::test {

// While it lives, no file may grow past `bytes`: a write beyond fails as on a full disk,
// even for root.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// A named pipe: opening it for reading waits until someone writes.
inline std::string makeFifo(const std::string& path) {
    mkfifo(path.c_str(), 0600);
    return path;
}

}  // namespace qz::test
