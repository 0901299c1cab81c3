// Definitions of the setup subsystem's shared state.
#include "engine/setup/globals.h"

std::string FONTDIR;

namespace {
constexpr std::array<std::int32_t, 10> kUnknownCounts{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
}

std::array<std::int32_t, 10> PITEXTCOUNT = kUnknownCounts;

std::string PAPER;
std::int32_t COMPRESSLOG = 0;
std::int16_t LOGFIRST = 0;

std::int32_t PDFFONTCOUNT = 0;
std::string FONTPDFNAME;
std::string FONTPDFSIZE;
std::string PDFFONTREC;
std::string PDFWIDTHS;

std::string RGBTEXT;
std::int16_t RGBFLAG = 0;

void reset_setup_globals() {
  FONTDIR.clear();
  PITEXTCOUNT = kUnknownCounts;
  PAPER.clear();
  COMPRESSLOG = 0;
  LOGFIRST = 0;
  PDFFONTCOUNT = 0;
  FONTPDFNAME.clear();
  FONTPDFSIZE.clear();
  PDFFONTREC.clear();
  PDFWIDTHS.clear();
  RGBTEXT.clear();
  RGBFLAG = 0;
}
