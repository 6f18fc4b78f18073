#include "numeric/arithmetic_mode.h"

#include <fpu_control.h>
#include <cfenv>

namespace vorlanex::numeric {

namespace {
// x87 control word: 64-bit significand, round to nearest (ties to even), all six exceptions
// masked. Bit 6 is reserved and reads as 1. Faults are found by Extended and store() instead of
// by traps, so the FPU never stops a calculation by itself.
constexpr fpu_control_t kReservedBit = 0x40;
constexpr fpu_control_t kCalculationControlWord = _FPU_EXTENDED | _FPU_RC_NEAREST | _FPU_MASK_IM | _FPU_MASK_DM |
                                                  _FPU_MASK_ZM | _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM |
                                                  kReservedBit;
static_assert(kCalculationControlWord == 0x037F);
}  // namespace

void set_arithmetic_mode() {
    // Pending exception flags go first: with a trap unmasked they would fire on the next x87
    // instruction.
    std::feclearexcept(FE_ALL_EXCEPT);
    fpu_control_t control_word = kCalculationControlWord;
    _FPU_SETCW(control_word);
    // The SSE unit (which does the double arithmetic) has its own rounding control; fesetround
    // sets both units.
    std::fesetround(FE_TONEAREST);
}

}  // namespace vorlanex::numeric
