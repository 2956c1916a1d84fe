// The keyweave command's entry point on Windows: wmain receives the arguments
// as UTF-16, so file names outside the ANSI code page survive; the commands
// take them as UTF-8.

#include <string>
#include <vector>

#include "base/text.h"
#include "dispatch.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(Keyweave::ToUtf8(reinterpret_cast<const Keyweave::WideChar*>(argv[i])));
    }
    return Keyweave::Tool::RunFromEntryPoint(arguments);
}
