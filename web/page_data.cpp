// Writes what the page needs before its WebAssembly is loaded, as JSON, for the bundler to put
// into the page: the form's controls and counts, from the same table as the programs'.

#include "report/form.h"

#include <fstream>
#include <iostream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: korvane-page-data FILE\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << report::formJson().dump() << '\n';
    out.close();
    if (!out) {
        std::cerr << "korvane-page-data: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
