#pragma once

namespace vorlanex::numeric {

// Puts the floating-point unit into the one mode the calculations assume: x87 precision control
// 64-bit significand, round to nearest with ties to even, every exception masked (faults are
// detected by Extended and store(), not by hardware traps). Called once at program start.
void set_arithmetic_mode();

}  // namespace vorlanex::numeric
