#pragma once
// How much memory the machine has: what a new run can still take without pushing others out
// (the kernel's MemAvailable estimate) and what it has in all.
#include <cstdint>

namespace vorlanex::cli {

struct MachineMemory {
    std::uint64_t available = 0;  // bytes
    std::uint64_t total = 0;      // bytes
};

// Linux: MemAvailable from /proc/meminfo; where it cannot be read, the free pages the C library
// counts. Windows: the physical memory the system reports available.
MachineMemory machine_memory();

}  // namespace vorlanex::cli
