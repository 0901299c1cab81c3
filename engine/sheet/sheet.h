// Procedures of the sheet subsystem that other parts call. All parameters by reference.
#pragma once

#include <string>

// text without the blanks and control characters (codes 0 to 32) at both ends.
std::string FNATRIM(const std::string& text);
