#include "files/program.h"

#include "files/atomic_file.h"
#include "files/signals.h"

#include <exception>
#include <iostream>

namespace files {

int runProgram(const char *name, int (*body)(int, char **), int argc, char **argv)
{
    reportWriteSignalsAsErrors();
    removeTemporariesOnSignals();
    try {
        return body(argc, argv);
    } catch (const std::exception &error) {
        std::cerr << name << ": " << error.what() << '\n';
    } catch (...) {
        std::cerr << name << ": unexpected failure\n";
    }
    return kUnexpectedFailure;
}

int printed(const char *name, int status)
{
    std::cout.flush();
    if (std::cout)
        return status;
    std::cerr << name << ": cannot write standard output\n";
    return 1;
}

} // namespace files
