// qesrun: computes one tabulation request on a questionnaire and prints its tables as
// tab-separated text (docs/request-format.md).
#include "tools/qesrun/Command.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return qesrun::Command::Run(arguments, std::cout, std::cerr);
}
