#include "files/atomic_file.h"

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

    std::string reason(int error)
    {
        return std::strerror(error);
    }

    std::string folderOf(const std::string &path)
    {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return ".";
        return slash == 0 ? "/" : path.substr(0, slash);
    }

} // namespace

void writeAll(int fd, std::string_view data, const std::string &name)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw WriteError("cannot write " + name + ": " + reason(errno));
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

void reportWriteSignalsAsErrors()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
    , m_target(m_path)
{
    struct stat target
    {
    };
    if (::stat(m_path.c_str(), &target) == 0) {
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
            throw WriteError("cannot write " + m_path + ": it is a folder");
        if (!S_ISREG(target.st_mode)) {
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
            if (m_fd < 0)
                fail(errno);
            return;
        }
        // Replace the file a link points to, not the link.
        if (char *real = ::realpath(m_path.c_str(), nullptr)) {
            m_target = real;
            std::free(real);
        }
        m_mode = target.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        m_mode = 0666 & ~mask;
    }
    std::string name = folderOf(m_target) + "/.korvane-XXXXXX";
    m_fd = ::mkstemp(name.data());
    if (m_fd < 0)
        fail(errno);
    m_temporary = name;
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
    m_temporary.clear();
}

void AtomicFile::fail(int error)
{
    discard();
    throw WriteError("cannot write " + m_path + ": " + reason(error));
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
        throw WriteError("cannot write " + m_path + ": already failed");
    m_buffer.append(data);
    if (m_buffer.size() >= kChunk)
        flush();
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        throw WriteError("cannot write " + m_path + ": already failed");
    flush();
    if (m_temporary.empty()) {
        if (m_ownsFd && ::close(m_fd) != 0) {
            m_fd = -1;
            fail(errno);
        }
        m_fd = -1;
        return;
    }
    if (::fchmod(m_fd, m_mode) != 0 || ::fsync(m_fd) != 0)
        fail(errno);
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0 || ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        fail(errno);
    m_temporary.clear();
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
