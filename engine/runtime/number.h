// Numbers as the engine's language runtime treats them.
//
// `%` variables are int16_t, `&` int32_t, `#` double. A value stored into an integer is rounded to the
// nearest integer with halves to the even neighbour; a value outside the integer's range reports error 6
// and the store is lost. VAL reads the leading number of a text; STR writes a number as the runtime did
// (a blank or "-", the digits, no leading zero before the point).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

// Nearest integer, halves to even (the rounding of every store into an integer).
double round_even(double v);

// Stores v into an integer variable: rounded half to even; out of range reports error 6 and leaves dst.
void let(std::int16_t& dst, double v);
void let(std::int32_t& dst, double v);

// CINT/CLNG as expressions: the rounded value, or 0 after error 6.
std::int16_t to_i16(double v);
std::int32_t to_i32(double v);
// The rounded value when it fits an int32_t, else fallback, with no error: for a reader that tells a
// number too large (a damaged file) apart itself.
std::int32_t to_i32_or(double v, std::int32_t fallback);

// VAL: the value of the leading number (blanks skipped, sign, digits, point, exponent "E"/"D"); 0 when
// there is none. "&H" and "&O"/"&B" prefixes read hexadecimal, octal and binary integers.
double VAL(std::string_view text);

// STR$: a blank for zero and positive numbers, "-" for negative ones, then the shortest decimal form of
// up to 16 significant digits; below 1 in magnitude no "0" before the point (" .5").
std::string STR(double v);
std::string STR(std::int64_t v);
inline std::string STR(int v) { return STR(static_cast<std::int64_t>(v)); }
inline std::string STR(std::int16_t v) { return STR(static_cast<std::int64_t>(v)); }

// The form of a number written by the print statement: STR plus one trailing blank (" 53 ").
std::string print_number(double v);
std::string print_number(std::int64_t v);
inline std::string print_number(int v) { return print_number(static_cast<std::int64_t>(v)); }

// STR without its leading blank (what the engine often wants: LTRIM$(STR$(n))).
std::string STR_TRIM(double v);
std::string STR_TRIM(std::int64_t v);
inline std::string STR_TRIM(int v) { return STR_TRIM(static_cast<std::int64_t>(v)); }

}  // namespace rt
