// The work-channel numbering constants.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"

void PROCOM() {
  RT_TRAP_NONE(trap, "PROCOM");
  AWORKBASE = 4;
  WORKSECOND = 2;
}
