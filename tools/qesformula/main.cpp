// qesformula: evaluates a formula on a questionnaire and prints one result per interview
// (docs/formula-language.md).
#include "tools/qesformula/Command.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return qesformula::Command::Run(arguments, std::cout, std::cerr);
}
