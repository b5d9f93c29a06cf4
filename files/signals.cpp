#include "files/signals.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace files {

namespace {

    /// A program has at most a couple of files open for writing at once.
    constexpr int kSlots = 8;

    enum SlotState : int { kFree, kFilling, kListed };

    // Fixed storage: a signal handler may read it at any moment, so nothing here is ever freed.
    std::atomic<int> g_state[kSlots];
    char g_paths[kSlots][PATH_MAX];

    volatile std::sig_atomic_t g_interrupted = 0;

    constexpr int kStopSignals[] = { SIGINT, SIGTERM, SIGHUP };

    extern "C" void removeAndStop(int signal)
    {
        const int saved = errno;
        for (int i = 0; i < kSlots; ++i)
            if (g_state[i].load() == kListed)
                ::unlink(g_paths[i]); // async-signal-safe
        errno = saved;
        // SA_RESETHAND put the default action back; the signal is blocked while this handler
        // runs, so raising it again ends the program as soon as the handler returns.
        ::raise(signal);
    }

    extern "C" void raiseFlag(int)
    {
        g_interrupted = 1;
    }

} // namespace

void removeTemporariesOnSignals()
{
    for (const int signal : kStopSignals) {
        struct sigaction current
        {
        };
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action
        {
        };
        action.sa_handler = removeAndStop;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

int listTemporary(const char *path)
{
    if (std::strlen(path) >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_state[i].compare_exchange_strong(expected, kFilling)) {
            std::strcpy(g_paths[i], path);
            g_state[i].store(kListed);
            return i;
        }
    }
    return -1;
}

void unlistTemporary(int slot)
{
    if (slot >= 0 && slot < kSlots)
        g_state[slot].store(kFree);
}

namespace {
    struct sigaction g_before
    {
    };
} // namespace

InterruptFlag::InterruptFlag()
{
    g_interrupted = 0;
    struct sigaction action
    {
    };
    action.sa_handler = raiseFlag;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &g_before);
}

InterruptFlag::~InterruptFlag()
{
    ::sigaction(SIGINT, &g_before, nullptr);
}

bool InterruptFlag::raised()
{
    return g_interrupted != 0;
}

const volatile int &InterruptFlag::flag()
{
    return g_interrupted;
}

} // namespace files
