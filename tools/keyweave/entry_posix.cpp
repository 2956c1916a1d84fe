// The keyweave command's entry point on POSIX: the arguments are UTF-8 bytes.

#include <string>
#include <vector>

#include "dispatch.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return Keyweave::Tool::RunFromEntryPoint(arguments);
}
