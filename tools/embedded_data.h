// Data files of the engine folder built into the programs, byte for byte, so that a program and the
// shipped file can never differ (the file in data/ is the one source).
#pragma once

#include <string_view>

namespace embedded_data {

// data/STANDARD.SET: the standard setup file, the template of every new SET file.
extern const std::string_view kStandardSet;

}  // namespace embedded_data
