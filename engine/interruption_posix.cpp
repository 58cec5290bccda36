#include "interruption.h"

#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace quilvane {
namespace {

volatile std::sig_atomic_t caughtSignal = 0;

void OnSignal(int signal) {
    if (ProcessInterrupt().Requested() && !InUninterruptibleStep()) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    caughtSignal = signal;
    ProcessInterrupt().Request();
}

}  // namespace

void InstallInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a call that waits returns early, so the request is seen soon.
    action.sa_flags = 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void EndAsInterrupted() {
    const int signal = caughtSignal ? static_cast<int>(caughtSignal) : SIGINT;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    _exit(128 + signal);
}

}  // namespace quilvane
