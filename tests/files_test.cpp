// Files written whole or not at all, as the system sees them: a signal in the middle of a
// write, a file the user may not write, another user's file, links of both kinds.

#include "files/atomic_file.h"
#include "files/signals.h"

#include "cli_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string path(const std::string &name)
{
    return cli_run::ownFolder() + name;
}

void put(const std::string &file, const std::string &text)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

struct stat statOf(const std::string &file)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
    return info;
}

/// Runs `body` in a child process and gives its wait status.
template <class Body> int inChild(Body &&body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(AtomicFile, SignalMidWriteLeavesTheOldFileAndNoTemporary)
{
    for (const int signal : { SIGINT, SIGTERM, SIGHUP }) {
        SCOPED_TRACE(strsignal(signal));
        const std::string file = path("signalled.csv");
        put(file, "the designer's own list\n");
        const std::size_t before = cli_run::leftoverTemporaries();
        const int status = inChild([&] {
            files::removeTemporariesOnSignals();
            files::AtomicFile target(file);
            target.write(std::string(3 << 20, 'x')); // past the buffer: on disk already
            ::raise(signal);
            target.commit(); // never reached
        });
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signal); // ended as the signal would have ended it
        EXPECT_EQ(cli_run::slurp(file), "the designer's own list\n");
        EXPECT_EQ(cli_run::leftoverTemporaries(), before);
    }
    // A program started with SIGHUP ignored (nohup) keeps ignoring it, and writes on.
    const std::string file = path("nohup.csv");
    const int status = inChild([&] {
        std::signal(SIGHUP, SIG_IGN);
        files::removeTemporariesOnSignals();
        files::AtomicFile target(file);
        target.write("kept\n");
        ::raise(SIGHUP);
        target.commit();
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(cli_run::slurp(file), "kept\n");
}

TEST(AtomicFile, LinksAndModes)
{
    // A symbolic link keeps pointing at the file, which gets the new content.
    const std::string real = path("real.svg"), link = path("link.svg");
    put(real, "old");
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    {
        files::AtomicFile target(link);
        target.write("new");
        target.commit();
    }
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(cli_run::slurp(real), "new");
    // A link to a file still to be made makes that file, and stays a link.
    ::unlink(real.c_str());
    {
        files::AtomicFile target(link);
        target.write("made");
        target.commit();
    }
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(cli_run::slurp(real), "made");
    // A hard link is replaced, not written through: the name written is whole and new, the
    // other name keeps what it had (the README says why).
    const std::string first = path("first.csv"), second = path("second.csv");
    put(first, "old");
    ::unlink(second.c_str());
    ASSERT_EQ(::link(first.c_str(), second.c_str()), 0);
    {
        files::AtomicFile target(first);
        target.write("new");
        target.commit();
    }
    EXPECT_EQ(cli_run::slurp(first), "new");
    EXPECT_EQ(cli_run::slurp(second), "old");
    // Permissions stay, set-id bits and all.
    ::chmod(first.c_str(), 02750);
    {
        files::AtomicFile target(first);
        target.write("newer");
        target.commit();
    }
    EXPECT_EQ(statOf(first).st_mode & 07777, 02750u);
}

TEST(AtomicFile, ProtectionAndOwnerAsTheSystemSaysThem)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const std::string folder = path("shared");
    ::mkdir(folder.c_str(), 0777);
    ::chmod(folder.c_str(), 0777);
    // The test's own folder must let another user through to the shared one.
    ::chmod(cli_run::ownFolder().c_str(), 0711);

    // A user may not replace a file the shell would not let them write, even in a folder
    // they may write in.
    const std::string locked = folder + "/locked.csv";
    put(locked, "read only\n");
    ASSERT_EQ(::chown(locked.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ::chmod(locked.c_str(), 0444);
    const int status = inChild([&] {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            _exit(10);
        try {
            files::AtomicFile target(locked);
            target.write("replaced\n");
            target.commit();
        } catch (const files::WriteError &error) {
            _exit(error.error() == EACCES
                        && std::string(error.what())
                            == "cannot write " + locked + ": Permission denied"
                    ? 0
                    : 11);
        }
        _exit(12);
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(cli_run::slurp(locked), "read only\n");
    EXPECT_EQ(cli_run::leftoverTemporaries(folder), 0u);

    // Root replacing another user's file leaves it that user's, with its group and mode.
    const std::string theirs = folder + "/theirs.csv";
    put(theirs, "old\n");
    ASSERT_EQ(::chown(theirs.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ::chmod(theirs.c_str(), 0640);
    {
        files::AtomicFile target(theirs);
        target.write("new\n");
        target.commit();
    }
    const struct stat after = statOf(theirs);
    EXPECT_EQ(after.st_uid, nobody->pw_uid);
    EXPECT_EQ(after.st_gid, nobody->pw_gid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(cli_run::slurp(theirs), "new\n");
}

TEST(SameFile, ComparesTheFilesNotTheNames)
{
    const std::string a = path("a.svg"), b = path("b.svg");
    put(a, "a");
    put(b, "b");
    ::unlink(path("a-link.svg").c_str());
    ::unlink(path("a-hard.svg").c_str());
    ASSERT_EQ(::symlink(a.c_str(), path("a-link.svg").c_str()), 0);
    ASSERT_EQ(::link(a.c_str(), path("a-hard.svg").c_str()), 0);
    ::mkdir(path("sub").c_str(), 0700);
    ::unlink(path("new.svg").c_str());
    ::unlink(path("new-link.svg").c_str());
    ASSERT_EQ(::symlink("new.svg", path("new-link.svg").c_str()), 0);
    const struct
    {
        std::string first, second;
        bool same;
    } cases[] = {
        { a, a, true },
        { a, cli_run::ownFolder() + "./a.svg", true },
        { a, path("sub/../a.svg"), true },
        { a, path("a-link.svg"), true },
        { a, path("a-hard.svg"), true },
        { a, b, false },
        // Files still to be made: the same once the folder's path is resolved.
        { path("new.svg"), path("sub/../new.svg"), true },
        { path("new.svg"), path("new.csv"), false },
        { path("new.svg"), a, false },
        { path("new.svg"), path("new-link.svg"), true }, // a link to the file still to be made
        { "-", "-", true },
        { "-", a, false },
    };
    for (const auto &c : cases)
        EXPECT_EQ(files::sameFile(c.first, c.second), c.same) << c.first << " | " << c.second;
}

} // namespace
