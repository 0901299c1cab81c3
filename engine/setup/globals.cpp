// Definitions of the setup subsystem's shared state.
#include "engine/setup/globals.h"

std::string FONTDIR;
std::string FONTPDFNAME;
std::string FONTPDFSIZE;

namespace {
constexpr std::array<std::int32_t, 10> kUnknownCounts{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
}

std::array<std::int32_t, 10> PITEXTCOUNT = kUnknownCounts;

void reset_setup_globals() {
  FONTDIR.clear();
  FONTPDFNAME.clear();
  FONTPDFSIZE.clear();
  PITEXTCOUNT = kUnknownCounts;
}
