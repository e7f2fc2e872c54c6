#include <iostream>
#include <string>
#include <vector>

#include "qz1/commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return qz1::runQz1(arguments, std::cout, std::cerr);
}
