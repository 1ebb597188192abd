#include "platform/TerminationSignals.h"

#include <atomic>
#include <csignal>
#include <mutex>

namespace tarvix {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPrevious[3];
constexpr int kCleanups = 4;
std::atomic<void (*)()> gCleanups[kCleanups];

void OnTerminationSignal(int signal) {
    for (std::atomic<void (*)()>& cleanup : gCleanups)
        if (void (*run)() = cleanup.load()) run();
    for (int i = 0; i < 3; ++i) {
        if (kSignals[i] != signal) continue;
        const auto previous = gPrevious[i].sa_handler;
        if (previous == SIG_IGN) return;
        if (previous != SIG_DFL) {
            previous(signal);
            return;
        }
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

void RunOnTerminationSignals(void (*cleanup)()) {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int i = 0; i < 3; ++i)
            ::sigaction(kSignals[i], &action, &gPrevious[i]);
    });
    for (std::atomic<void (*)()>& slot : gCleanups) {
        void (*empty)() = nullptr;
        if (slot.load() == cleanup || slot.compare_exchange_strong(empty, cleanup)) return;
    }
}

} // namespace tarvix
