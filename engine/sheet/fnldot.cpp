// FNLDOT: a depth as a position on the sheet's strip of dots.
#include "engine/frame/globals.h"
#include "engine/runtime/number.h"
#include "engine/sheet/sheet.h"

std::int32_t FNLDOT(const double& v) { return rt::to_i32((v - TOPDEPTH) * DOTSPERUNIT); }
