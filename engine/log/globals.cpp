// Definitions of the log subsystem's shared state.
#include "engine/log/globals.h"

std::string PATTERNNAME;
std::string LOGBARRGB1;
std::string LOGBARRGB2;
std::int16_t LOGBARFLAG1 = 0;
std::int16_t LOGBARFLAG2 = 0;

void reset_log_globals() {
  PATTERNNAME.clear();
  LOGBARRGB1.clear();
  LOGBARRGB2.clear();
  LOGBARFLAG1 = 0;
  LOGBARFLAG2 = 0;
}
