#include <windows.h>

#include "cli/machine_memory.h"

namespace vorlanex::cli {

MachineMemory machine_memory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    return MachineMemory{status.ullAvailPhys, status.ullTotalPhys};
}

}  // namespace vorlanex::cli
