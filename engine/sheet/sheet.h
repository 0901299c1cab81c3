// Procedures of the sheet subsystem that other parts call. All parameters by reference.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// text without the blanks and control characters (codes 0 to 32) at both ends.
std::string FNATRIM(const std::string& text);
// idx(1..n) = the numbers 1..n ordered by ascending key(), equal keys in ascending number order.
void MATSORTL(rt::Array<std::int32_t>& idx, const rt::Array<std::int32_t>& key, const std::int32_t& n);
