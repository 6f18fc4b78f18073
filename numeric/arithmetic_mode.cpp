#include "numeric/arithmetic_mode.h"

#include <cfenv>
#include <cstdint>

namespace vorlanex::numeric {

namespace {
// x87 control word: 64-bit significand, round to nearest (ties to even), all six exceptions
// masked. Bit 6 is reserved and reads as 1. Faults are found by Extended and store() instead of
// by traps, so the FPU never stops a calculation by itself. The word is loaded by the x87's own
// instruction, which the C libraries of Linux and of Windows both leave to the program: Windows
// starts a program with a 53-bit significand, which would round every long double like a double.
constexpr std::uint16_t kAllExceptionsMasked = 0x003F;
constexpr std::uint16_t kReservedBit = 0x0040;
constexpr std::uint16_t kSignificandOf64Bits = 0x0300;
constexpr std::uint16_t kRoundToNearest = 0x0000;
constexpr std::uint16_t kCalculationControlWord =
    kAllExceptionsMasked | kReservedBit | kSignificandOf64Bits | kRoundToNearest;
static_assert(kCalculationControlWord == 0x037F);
}  // namespace

void set_arithmetic_mode() {
    // Pending exception flags go first: with a trap unmasked they would fire on the next x87
    // instruction.
    std::feclearexcept(FE_ALL_EXCEPT);
    const std::uint16_t control_word = kCalculationControlWord;
    __asm__ volatile("fldcw %0" : : "m"(control_word));
    // The SSE unit (which does the double arithmetic) has its own rounding control; fesetround
    // sets both units.
    std::fesetround(FE_TONEAREST);
}

}  // namespace vorlanex::numeric
