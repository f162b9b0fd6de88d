// "%.Nf" of a double for the numbers a library holds, worked out in integers:
// the general conversion (std::to_chars) costs hundreds of instructions a
// number, and a million-row save writes eight million of them.
#pragma once

#include <string>

// The largest precision the integer path takes: the fraction's 53 bits times
// 5 to this power must stay within 64 bits.
constexpr int fixed_decimal_most_precision = 4;

// Appends what "%.<precision>f" makes of the value, exactly as printf does
// (the binary value rounded, a tie to even), and returns true; returns false,
// appending nothing, when the value is not finite, not below 2^63 in
// magnitude, or the precision is not between 0 and fixed_decimal_most_precision.
bool append_fixed_decimal(std::string& out, double value, int precision);
