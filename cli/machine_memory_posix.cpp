#include "cli/machine_memory.h"

#include <unistd.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace vorlanex::cli {

namespace {

std::uint64_t pages_in_bytes(long pages) {
    const long page_size = sysconf(_SC_PAGESIZE);
    return pages > 0 && page_size > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size) : 0;
}

// The line "MemAvailable:   22345678 kB" of /proc/meminfo, in bytes.
std::optional<std::uint64_t> kernel_available_memory() {
    std::ifstream meminfo("/proc/meminfo");
    for (std::string line; std::getline(meminfo, line);) {
        std::istringstream fields(line);
        std::string name, unit;
        std::uint64_t amount = 0;
        if (fields >> name >> amount >> unit && name == "MemAvailable:" && unit == "kB") return amount * 1024;
    }
    return std::nullopt;
}

}  // namespace

MachineMemory machine_memory() {
    MachineMemory memory;
    memory.total = pages_in_bytes(sysconf(_SC_PHYS_PAGES));
    memory.available = kernel_available_memory().value_or(pages_in_bytes(sysconf(_SC_AVPHYS_PAGES)));
    return memory;
}

}  // namespace vorlanex::cli
