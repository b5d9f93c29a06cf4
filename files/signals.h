#pragma once

// What the programs do when they are told to stop: temporary files never outlive them, and a
// long study ends cleanly at Ctrl+C.

namespace files {

/// On SIGINT, SIGTERM and SIGHUP, removes the temporary files of every AtomicFile still open,
/// then lets the signal end the program as it would have (the shell sees it killed by that
/// signal). A signal the program was started with ignored (nohup) stays ignored.
void removeTemporariesOnSignals();

/// Lists a temporary file for removal on those signals; returns its slot, or -1 when the list
/// is full (the file is then only removed by its owner). Safe to call from any thread.
int listTemporary(const char *path);
/// Takes a temporary file off the list.
void unlistTemporary(int slot);

/// While it lives, Ctrl+C (SIGINT) only raises a flag that a long study polls, so that it can
/// end after a whole row and say so; afterwards SIGINT does what it did before.
class InterruptFlag
{
public:
    InterruptFlag();
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag &) = delete;
    InterruptFlag &operator=(const InterruptFlag &) = delete;

    /// Whether Ctrl+C has come since the flag was set up.
    static bool raised();
    /// The flag itself, for code that polls a volatile value.
    static const volatile int &flag();
};

} // namespace files
