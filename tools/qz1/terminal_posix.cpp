#include <pthread.h>
#include <unistd.h>
#include <csignal>

#include "qz1/terminal.h"

namespace qz1 {

bool stderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

// The signals are taken by sigwait, not by a handler; the mask is set before `serve` starts
// its threads, which inherit it.
void runUntilInterrupted(const std::function<void(const std::function<void()>& wait)>& serve) {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &stop, &previous);
    serve([&] {
        int signal = 0;
        sigwait(&stop, &signal);
    });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace qz1
