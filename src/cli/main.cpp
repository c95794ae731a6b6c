#include <iostream>

#include "cli/Runner.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return tessaly::cli::RunTessaly(arguments, std::cout, std::cerr);
}
