#pragma once

// Output that is written whole or not at all, and standard output whose every write is checked.

#include <stdexcept>
#include <string>
#include <string_view>

namespace files {

/// A write that failed; the message names the file and the reason
/// ("cannot write tubes.csv: No space left on device").
class WriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Writes all of `data` to a descriptor through short writes and interruptions. Throws
/// WriteError naming `name` on failure.
void writeAll(int fd, std::string_view data, const std::string &name);

/// Lets a full disk, a file-size limit or a closed pipe fail the write that meets it, instead
/// of killing the program with SIGXFSZ or SIGPIPE before it can clean up and say why.
void reportWriteSignalsAsErrors();

/// A file written whole or not at all. The bytes go to a temporary file in the target's folder,
/// every write checked; commit() syncs it and renames it over the target. Destroyed without a
/// commit, it removes the temporary file and the target stays as it was (or absent).
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
