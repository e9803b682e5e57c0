// Writes velmora-cli's manual page, made from its command table, to the file named by its
// argument (to standard output without one).

#include <fstream>
#include <iostream>

#include "cli/commands.h"
#include "cli/man_page.h"

int main(int argc, char** argv) {
    const std::string page = velmora::cli::ManPage(velmora::cli::CommandTable());
    if (argc < 2) {
        std::cout << page;
        return std::cout.good() ? 0 : 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << page;
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
