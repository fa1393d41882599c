#include "stop_signals.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <limits.h>
#include <string>
#include <unistd.h>

namespace orv {

namespace {

constexpr int kSlots = 8;
constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Everything the handler reads is set before the flag that publishes it.
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX] = {};
};
Slot slots[kSlots];
std::atomic<bool> done{false};
std::atomic<int> held{0}; // threads inside StopSignalsHeld
std::string before, after;

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

void say(const std::string& line)
{
    for (size_t at = 0; at < line.size();) {
        const ssize_t n = ::write(STDERR_FILENO, line.data() + at, line.size() - at);
        if (n <= 0)
            return;
        at += static_cast<size_t>(n);
    }
}

extern "C" void onStop(int)
{
    // A rename in another thread finishes first; in this thread none runs,
    // since the signals are blocked there.
    while (held.load() > 0) {
    }
    for (Slot& slot : slots)
        if (slot.used.load())
            ::unlink(slot.path);
    const bool finished = done.load();
    say(finished ? after : before);
    ::_exit(finished ? 0 : 1);
}

sigset_t stopSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : kStopSignals)
        sigaddset(&set, s);
    return set;
}

} // namespace

void installStopHandling(const char* stoppedBefore, const char* stoppedAfter)
{
    before = stoppedBefore;
    after = stoppedAfter;
    // A write past the file-size limit fails with EFBIG, one into a closed
    // pipe with EPIPE: both are reported where they happen.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = onStop;
    action.sa_mask = stopSet(); // one handler at a time
    for (int s : kStopSignals) {
        struct sigaction old {};
        // A signal ignored by the caller (nohup) stays ignored.
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        ::sigaction(s, &action, nullptr);
    }
}

int holdTemporary(const char* path)
{
    if (std::strlen(path) >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = slots[i];
        if (slot.used.load())
            continue;
        std::strcpy(slot.path, path);
        slot.used.store(true);
        return i;
    }
    return -1;
}

void releaseTemporary(int slot)
{
    if (slot >= 0 && slot < kSlots)
        slots[slot].used.store(false);
}

StopSignalsHeld::StopSignalsHeld()
{
    const sigset_t set = stopSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    held.fetch_add(1);
}

StopSignalsHeld::~StopSignalsHeld()
{
    held.fetch_sub(1);
    const sigset_t set = stopSet();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void markFinalStepDone() { done.store(true); }

bool finalStepDone() { return done.load(); }

} // namespace orv
