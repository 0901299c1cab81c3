// Definitions of the convert subsystem's shared state.
#include "engine/convert/globals.h"

std::string SYMULCHAR, SYMCHAR, BREAKCHAR, HARDSPCHAR, INDONCHAR, INDOFFCHAR, ESCCHAR, FONTSWCHAR, COLUMNCHAR,
    ULWORDCHAR, NOSYMCHAR, STARS;

std::string CONVLINE;
std::int32_t SETCHAN = 0, INCHAN = 0, VOCCHAN = 0, CONVCHAN = 0;
std::int32_t LINECOUNT = 0, INFILELEN = 0, LOOKBACK = 0, LINESTART = 0;

std::int16_t VERBATIM = 0, VERBATIMCOL = 0;
std::int32_t VERBATIMSTART = 0;
std::int32_t WPMODE = 0;
std::string REMAPFROM, REMAPTO;

std::string WPBUF;
std::int16_t WPLEN = 0;
std::int32_t WPPOS = 0;
std::int16_t WPOVERLAP = 512;

std::string NOTELIST;
std::string PROFILECODE, NOTENAME;
std::int32_t DESCRCOUNT = 0, ATTRTOTAL = 0;

std::int16_t BEZIER = 0;
std::int32_t SYMBOLDPI = 0;

void reset_convert_globals() {
  for (std::string* s : {&SYMULCHAR, &SYMCHAR, &BREAKCHAR, &HARDSPCHAR, &INDONCHAR, &INDOFFCHAR, &ESCCHAR,
                         &FONTSWCHAR, &COLUMNCHAR, &ULWORDCHAR, &NOSYMCHAR, &STARS, &CONVLINE, &REMAPFROM,
                         &REMAPTO, &WPBUF, &NOTELIST, &PROFILECODE, &NOTENAME})
    s->clear();
  SETCHAN = INCHAN = VOCCHAN = CONVCHAN = 0;
  LINECOUNT = INFILELEN = LOOKBACK = LINESTART = 0;
  VERBATIM = VERBATIMCOL = 0;
  VERBATIMSTART = 0;
  WPMODE = 0;
  WPLEN = 0;
  WPPOS = 0;
  WPOVERLAP = 512;
  BEZIER = 0;
  SYMBOLDPI = 0;
  DESCRCOUNT = ATTRTOTAL = 0;
}
