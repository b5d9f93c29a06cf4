#pragma once

// Output that is written whole or not at all, and standard output whose every write is checked.

#include <stdexcept>
#include <string>
#include <string_view>

namespace files {

/// A write that failed; the message names the file and the reason
/// ("cannot write tubes.csv: No space left on device"). A window words it in its own language
/// from path() and error().
class WriteError : public std::runtime_error
{
public:
    /// A system call failed with `error` (an errno value).
    WriteError(std::string path, int error);
    /// Something else failed; the message is said as it is, and error() is 0.
    WriteError(std::string path, const std::string &message);

    const std::string &path() const noexcept { return m_path; }
    /// The errno value, or 0.
    int error() const noexcept { return m_error; }

private:
    std::string m_path;
    int m_error = 0;
};

/// Writes all of `data` to a descriptor through short writes and interruptions. Throws
/// WriteError naming `name` on failure.
void writeAll(int fd, std::string_view data, const std::string &name);

/// Lets a full disk, a file-size limit or a closed pipe fail the write that meets it, instead
/// of killing the program with SIGXFSZ or SIGPIPE before it can clean up and say why.
void reportWriteSignalsAsErrors();

/// Whether two names given for outputs are the same file: the same device and inode where
/// both exist, else the same path once links and "." and ".." in the folder are resolved.
/// "-" stands for standard output.
bool sameFile(const std::string &a, const std::string &b);

/// A file written whole or not at all. The bytes go to a temporary file in the target's folder,
/// every write checked; commit() syncs it and renames it over the target, then syncs the
/// folder. Destroyed without a commit, or ended by SIGINT, SIGTERM or SIGHUP (see
/// removeTemporariesOnSignals()), it removes the temporary file and the target stays as it was
/// (or absent).
///
/// An existing target keeps its permissions, owner and group (as far as the system lets this
/// user give a file away); one the user may not write is refused, as the shell refuses it. A
/// target with other hard links is replaced: its other names keep the old content.
///
/// A target that is not a regular file (a terminal, a pipe, /dev/null) is written in place, and
/// one that is this program's standard output is written through it, after what is already
/// there: there is no old content to keep, and renaming over it would lose the output.
class AtomicFile
{
public:
    /// Opens the temporary file. Throws WriteError if it cannot.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(std::string_view data);
    /// Makes the file the target. Throws WriteError, leaving the target untouched, on failure.
    void commit();

private:
    void flush();
    /// Closes and removes the temporary file; the target stays as it was.
    void discard();
    [[noreturn]] void fail(int error);

    std::string m_path; ///< as the user named it, for messages
    std::string m_target; ///< with links followed
    std::string m_temporary; ///< empty when written in place
    std::string m_buffer;
    int m_fd = -1;
    bool m_ownsFd = true;
    unsigned m_mode = 0;
    int m_slot = -1; ///< where the temporary is listed for the signal handler
};

/// Standard output, buffered, written through its descriptor with every write checked: the
/// program's results must never be cut short silently.
class StandardOutput
{
public:
    void write(std::string_view data);
    /// Writes what is buffered. Throws WriteError("cannot write standard output: ...").
    void flush();
    std::size_t buffered() const { return m_buffer.size(); }

private:
    std::string m_buffer;
};

} // namespace files
