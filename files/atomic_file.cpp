#include "files/atomic_file.h"

#include "files/signals.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

    constexpr std::size_t kChunk = 1 << 20;

    std::string folderOf(const std::string &path)
    {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return ".";
        return slash == 0 ? "/" : path.substr(0, slash);
    }

    std::string baseOf(const std::string &path)
    {
        const std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    /// The file a name leads to through symbolic links, those that point to a file still to
    /// be made included: writing through such a link makes the file it names, as the shell's
    /// redirection does.
    std::string followLinks(std::string path)
    {
        // As many links as the system itself follows before it gives up.
        for (int depth = 0; depth < 40; ++depth) {
            struct stat info
            {
            };
            if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
                break;
            std::string target(PATH_MAX, '\0');
            const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
            if (length <= 0)
                break;
            target.resize(static_cast<std::size_t>(length));
            if (target.front() != '/')
                target.insert(0, folderOf(path) + "/");
            path = std::move(target);
        }
        return path;
    }

    /// The path with links and "." and ".." resolved; for a file still to be made, its
    /// folder's resolved path and its name. As given when the folder does not exist either.
    std::string resolved(const std::string &name)
    {
        if (char *real = ::realpath(name.c_str(), nullptr)) {
            std::string text = real;
            std::free(real);
            return text;
        }
        std::string path = followLinks(name);
        if (char *real = ::realpath(folderOf(path).c_str(), nullptr)) {
            std::string text = std::string(real) + "/" + baseOf(path);
            std::free(real);
            return text;
        }
        return path;
    }

    /// Syncs a folder so that a rename in it survives a crash. A file system that cannot
    /// sync folders says EINVAL; that is not a failure of the write.
    int syncFolder(const std::string &folder)
    {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        const int synced = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
        ::close(fd);
        return synced;
    }

} // namespace

WriteError::WriteError(std::string path, int error)
    : std::runtime_error("cannot write " + path + ": " + std::strerror(error))
    , m_path(std::move(path))
    , m_error(error)
{
}

WriteError::WriteError(std::string path, const std::string &message)
    : std::runtime_error(message)
    , m_path(std::move(path))
{
}

void writeAll(int fd, std::string_view data, const std::string &name)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw WriteError(name, errno);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

void reportWriteSignalsAsErrors()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

bool sameFile(const std::string &a, const std::string &b)
{
    const auto identity = [](const std::string &name, struct stat &info) {
        return name == "-" ? ::fstat(STDOUT_FILENO, &info) == 0 : ::stat(name.c_str(), &info) == 0;
    };
    struct stat first
    {
    }, second {};
    const bool firstExists = identity(a, first), secondExists = identity(b, second);
    if (firstExists && secondExists)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    if (firstExists || secondExists)
        return false;
    return resolved(a) == resolved(b);
}

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
    , m_target(m_path)
{
    struct stat target
    {
    };
    const bool exists = ::stat(m_path.c_str(), &target) == 0;
    if (exists) {
        struct stat out
        {
        };
        if (::fstat(STDOUT_FILENO, &out) == 0 && out.st_dev == target.st_dev
            && out.st_ino == target.st_ino) {
            m_fd = STDOUT_FILENO;
            m_ownsFd = false;
            return;
        }
        if (S_ISDIR(target.st_mode))
            throw WriteError(m_path, EISDIR);
        if (!S_ISREG(target.st_mode)) {
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
            if (m_fd < 0)
                fail(errno);
            return;
        }
        // A file the user may not write stays as it is, as the shell would leave it.
        if (::faccessat(AT_FDCWD, m_path.c_str(), W_OK, AT_EACCESS) != 0)
            throw WriteError(m_path, errno);
        // Replace the file a link points to, not the link.
        if (char *real = ::realpath(m_path.c_str(), nullptr)) {
            m_target = real;
            std::free(real);
        }
        m_mode = target.st_mode & 07777;
    } else {
        m_target = followLinks(m_path);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        m_mode = 0666 & ~mask;
    }
    std::string name = folderOf(m_target) + "/.korvane-XXXXXX";
    m_fd = ::mkstemp(name.data());
    if (m_fd < 0)
        fail(errno);
    m_temporary = name;
    m_slot = listTemporary(m_temporary.c_str());
    // The new file keeps the old one's owner and group where the system allows it: root
    // replacing another user's file, or a user keeping the file's group. Where it does not
    // (a user cannot give a file away), the file becomes the user's, as with any editor.
    if (exists && ::fchown(m_fd, target.st_uid, target.st_gid) != 0)
        (void)::fchown(m_fd, static_cast<uid_t>(-1), target.st_gid);
}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::discard()
{
    if (m_fd >= 0 && m_ownsFd)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    unlistTemporary(m_slot);
    m_slot = -1;
    m_temporary.clear();
}

void AtomicFile::fail(int error)
{
    discard();
    throw WriteError(m_path, error);
}

void AtomicFile::flush()
{
    try {
        writeAll(m_fd, m_buffer, m_path);
    } catch (const WriteError &) {
        discard();
        throw;
    }
    m_buffer.clear();
}

void AtomicFile::write(std::string_view data)
{
    if (m_fd < 0)
        throw WriteError(m_path, EBADF);
    m_buffer.append(data);
    if (m_buffer.size() >= kChunk)
        flush();
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        throw WriteError(m_path, EBADF);
    flush();
    if (m_temporary.empty()) {
        if (m_ownsFd && ::close(m_fd) != 0) {
            m_fd = -1;
            fail(errno);
        }
        m_fd = -1;
        return;
    }
    // After the owner: changing the owner clears the set-id bits that fchmod sets again.
    if (::fchmod(m_fd, m_mode) != 0 || ::fsync(m_fd) != 0)
        fail(errno);
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0 || ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        fail(errno);
    unlistTemporary(m_slot);
    m_slot = -1;
    m_temporary.clear();
    if (const int error = syncFolder(folderOf(m_target)); error != 0)
        throw WriteError(m_path, error);
}

void StandardOutput::write(std::string_view data)
{
    m_buffer.append(data);
    if (m_buffer.size() >= kChunk)
        flush();
}

void StandardOutput::flush()
{
    const std::string data = std::move(m_buffer);
    m_buffer.clear();
    writeAll(STDOUT_FILENO, data, "standard output");
}

} // namespace files
