#include <iostream>
#include <string>
#include <vector>

#include "tools/statrun/StatisticsCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return statrun::Run(arguments, std::cout, std::cerr);
}
