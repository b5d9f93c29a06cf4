#pragma once

// What every command-line program of Korvane does around its own work: write failures and
// stop signals handled, nothing thrown left unreported, help that reached its reader.

namespace files {

/// The exit status of a failure nobody expected (out of memory, say).
constexpr int kUnexpectedFailure = 4;

/// Runs a program's body: a full disk, a closed pipe or a file-size limit fails the write that
/// meets it, Ctrl+C and its kin remove temporary files, and an exception that leaves `body` is
/// reported on stderr in one line ("name: reason") with kUnexpectedFailure.
int runProgram(const char *name, int (*body)(int, char **), int argc, char **argv);

/// `status` if what was printed to std::cout (help, a version) got out; else says so on
/// stderr and gives 1.
int printed(const char *name, int status);

} // namespace files
