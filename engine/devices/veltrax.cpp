// The pen-plotter commands: coordinates in dots turned into plotter units, the pen state, labels.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

namespace {
void raw(const std::string& bytes) {
  if (plot_open) rt::put_bytes(PLOTFILE, bytes);
}
}  // namespace

std::string FNC(const std::int32_t& n) { return FNZ(n) + ","; }
std::string FNZ(const std::int32_t& n) { return rt::STR_TRIM(static_cast<std::int64_t>(n)); }
std::int32_t FNXPLUS(const double& x) { return rt::to_i32(x * XSCALE + XOFFSET); }
std::int32_t FNYPLUS(const double& y) { return rt::to_i32(y * YSCALE + YOFFSET); }

void PPENWIDT(const double& w) { raw("PW" + FNRANDCE(w)); }
void PPENUP() {
  raw("PU");
  PENSTATE = 0;
}
void PPENDOWN() {
  raw("PD");
  PENSTATE = -1;
}
void PMOVE(const double& x, const double& y) {
  if (PENSTATE != 0) PPENUP();
  raw("PA" + FNC(FNXPLUS(x)) + FNZ(FNYPLUS(y)));
}
void PMOVEDEC(const double& x, const double& y, const std::int32_t& n) {
  if (PENSTATE != 0) PPENUP();
  raw("PA" + rt::TRIM(FNFIXN(FNXPLUS(x), n)) + "," + rt::TRIM(FNFIXN(FNYPLUS(y), n)));
}
void PPLOT(const double& x, const double& y) {
  raw("PA" + FNC(FNXPLUS(x)) + FNZ(FNYPLUS(y)));
  if (PENSTATE == 0) PPENDOWN();
}
void PLORG(std::int32_t& n) {
  if (n < 1) n = 1;
  raw("LO" + FNZ(n));
}
void PLABEL(const std::string& text) { raw("LB" + text + std::string(1, '\x1f')); }
