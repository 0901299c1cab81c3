// Definitions of the log subsystem's shared state.
#include "engine/log/globals.h"

rt::Array<double> TEXTDEPTH;
rt::Array<std::int16_t> ATTRSTART;
std::int16_t ATTRNO = 0;
double QUARTERLINE = 0;
std::int16_t LOGPOINTSIZE = 0;
std::int32_t NAMEROWS = 0;
std::int16_t LOGRESERVE = 0;
std::int16_t FOOTODD = 0;
std::int16_t VECTORDEV = 0;
double FIRSTPAGEDEPTH = 0;
double ZONETOP = 0, ZONEBOTTOM = 0;
std::int32_t PAGEENDDOT = 0;
std::int16_t PAGEENDROW = 0;
std::int16_t TITLETOP = 0;
std::int32_t LOGRIGHT = 0;
std::int16_t GRAPHPOS = 0;
std::int16_t LOGPOS = 0;

void reset_log_globals() {
  TEXTDEPTH = rt::Array<double>();
  ATTRSTART = rt::Array<std::int16_t>();
  ATTRNO = 0, QUARTERLINE = 0, LOGPOINTSIZE = 0, NAMEROWS = 0, LOGRESERVE = 0, FOOTODD = 0, VECTORDEV = 0;
  FIRSTPAGEDEPTH = 0, ZONETOP = 0, ZONEBOTTOM = 0, PAGEENDDOT = 0, PAGEENDROW = 0, TITLETOP = 0, LOGRIGHT = 0;
  GRAPHPOS = 0, LOGPOS = 0;
}
