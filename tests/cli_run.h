#pragma once

// Runs korvane-count, or another of the programs, as a user would, with its output captured.

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace cli_run {

/// A folder of this test process's own, so that tests running side by side never see each
/// other's files, temporary ones included.
inline const std::string &ownFolder()
{
    static const std::string folder = [] {
        const std::string path = testing::TempDir() + "korvane-test-" + std::to_string(getpid());
        mkdir(path.c_str(), 0700);
        return path + "/";
    }();
    return folder;
}

/// Files in a folder (ownFolder() unless given) named as the writers name their temporary
/// files.
inline std::size_t leftoverTemporaries(const std::string &folder = ownFolder())
{
    std::size_t found = 0;
    if (DIR *dir = opendir(folder.c_str())) {
        while (const dirent *entry = readdir(dir))
            found += std::string(entry->d_name).rfind(".korvane-", 0) == 0;
        closedir(dir);
    }
    return found;
}

struct CountRun
{
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string &arg)
{
    std::string text = "'";
    for (char ch : arg)
        text += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return text + "'";
}

/// `program` and `args` as one shell command line, each word quoted.
inline std::string commandLine(const std::string &program, const std::vector<std::string> &args)
{
    std::string command = quoted(program);
    for (const std::string &arg : args)
        command += " " + quoted(arg);
    return command;
}

inline std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Runs `program` with `args`, its output captured. `setup` runs first in the same shell (a
/// ulimit, a redirection), and the program replaces that shell.
inline CountRun runProgram(
    const std::string &program, const std::vector<std::string> &args, const std::string &setup = "")
{
    // CTest runs the cases in parallel, so each run gets files of its own.
    static int runs = 0;
    const std::string stem = testing::TempDir() + "korvane-run-" + std::to_string(getpid()) + "-"
        + std::to_string(++runs);
    const std::string out = stem + ".out";
    const std::string err = stem + ".err";
    std::string command = "exec " + commandLine(program, args);
    command = "(" + (setup.empty() ? "" : setup + "; ") + command + ") >" + cli_run::quoted(out)
        + " 2>" + cli_run::quoted(err);
    const int status = std::system(command.c_str());
    CountRun result { WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err) };
    std::remove(out.c_str());
    std::remove(err.c_str());
    return result;
}

/// Runs `program` with SIGPIPE ignored, as some shells and services leave it, while a reader
/// takes the first `bytes` of its output and goes away. `out` stays empty.
inline CountRun intoClosedPipe(
    const std::string &program, const std::vector<std::string> &args, int bytes = 10)
{
    const std::string err = ownFolder() + "closed-pipe.err";
    std::string command = "trap '' PIPE; exec " + commandLine(program, args);
    command = "(" + command + ") 2>" + cli_run::quoted(err) + " | head -c " + std::to_string(bytes)
        + " >/dev/null; exit ${PIPESTATUS[0]}";
    const int status = std::system(("bash -c " + cli_run::quoted(command)).c_str());
    CountRun result { WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", slurp(err) };
    std::remove(err.c_str());
    return result;
}

/// Runs `program` and, once its output has begun, sends it SIGINT as Ctrl+C would. Waiting for
/// the output rather than for a time keeps this right on a busy machine.
inline CountRun interruptedOnceWriting(
    const std::string &program, const std::vector<std::string> &args)
{
    const std::string out = ownFolder() + "interrupted.out";
    const std::string err = ownFolder() + "interrupted.err";
    const std::string command = commandLine(program, args) + " >" + cli_run::quoted(out) + " 2>"
        + cli_run::quoted(err) + " & pid=$!; for i in $(seq 1200); do [ -s " + cli_run::quoted(out)
        + " ] && break; sleep 0.05; done; kill -INT $pid; wait $pid";
    const int status = std::system(("bash -c " + cli_run::quoted(command)).c_str());
    CountRun result { WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err) };
    std::remove(out.c_str());
    std::remove(err.c_str());
    return result;
}

#ifdef KORVANE_COUNT
inline CountRun run(const std::vector<std::string> &args)
{
    return runProgram(KORVANE_COUNT, args);
}
#endif

inline nlohmann::json jsonOf(const CountRun &result)
{
    return nlohmann::json::parse(result.out);
}

} // namespace cli_run
