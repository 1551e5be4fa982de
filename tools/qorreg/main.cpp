// qorreg [--system] [-u] MODULE / qorreg --list: the registration tool's entry point.
#include <iostream>

#include "tools/qorreg/registration_tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunQorreg(args, std::cout, std::cerr);
}
