// The library's own interface: one per process, created by the first exported
// call and never destroyed. The engine's threads run until the process ends
// (KeyweaveFini stops nothing), so nothing they use may go with the static
// destructors at exit.
#include "api/host_interface.h"

namespace Keyweave {

HostInterface& CurrentInterface() {
    static auto* const process = new HostInterface();
    return *process;
}

}  // namespace Keyweave
