// qorlayout: compiles report layout descriptions into layout files and dumps them back.
#include <iostream>

#include "tools/qorlayout/layout_tool.h"

int main(int argc, char** argv) {
    return RunLayoutTool(argc - 1, argv + 1, std::cout, std::cerr);
}
