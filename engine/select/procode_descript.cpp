// The description section of the hole coder (DESCRIPT) and the working of each line: BLANKS with
// EXBLANK, TWOCOLUM, GETRGB and the symbol-word pass KEYWORDS.
//
// Faults this code does not let through:
//  - a colour marker that the conversion left as written because it could not read it ("[RGB]",
//    "[rgb 1 2]", "[rgb 9 9 9 (left open) [SYMB1]") is no colour: unless its last three fields are
//    numbers (and follow the opener), RGBFLAG is 0; a component
//    above 1 ("[rgb 40000 0 0]") is taken as 255, so it never spills into the next byte of the packed
//    colour;
//  - EXBLANK with an empty pattern changes nothing (it would never end);
//  - layers beyond the per-layer tables (200) are read and dropped, and said.
#include <algorithm>
#include <cctype>

#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/procode.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

namespace {

const std::string& one_slash() {
  static const std::string s(1, static_cast<char>(180));
  return s;
}
const std::string& two_slashes() {
  static const std::string s(2, static_cast<char>(180));
  return s;
}

}  // namespace

void EXBLANK(std::string& text, const std::string& pat) {
  RT_TRAP(trap, "EXBLANK");
  if (pat.empty()) return;
  size_t from = 0;
  for (size_t at = text.find(pat); at != std::string::npos; at = text.find(pat, from)) {
    text.erase(at, 1);
    // Only an occurrence that overlaps the removed character can be new.
    from = at >= pat.size() ? at - pat.size() + 1 : 0;
  }
}

void BLANKS(CoderState& st) {
  EXBLANK(st.L, "  ");
  EXBLANK(st.L, " " + SYMULCODE);
  EXBLANK(st.L, " " + SYMCODE);
}

void TWOCOLUM(CoderState& st) {
  if (COLUMNCODE.empty()) return;
  if (rt::INSTR(st.L, COLUMNCODE + COLUMNCODE) > 0) {
    REPLAZE(st.L, COLUMNCODE + COLUMNCODE, COLUMNCODE);
    NOTECOLUMNS = 2;
  }
  const std::string fs(1, static_cast<char>(28));
  REPLAZE(st.L, COLUMNCODE, fs);
  REPLAZE(st.L, fs, BREAKCODE + COLUMNCODE + BREAKCODE);
}

void GETRGB(CoderState& st) {
  const std::string& L = st.L;
  std::string marker;
  if (const long p = rt::INSTR(rt::UCASE(L), "[RGB"); p > 0) {
    const long q = rt::INSTR(p, L, "]");
    marker = q > 0 ? rt::MID(L, p, q - p + 1) : rt::MID(L, p);
  }
  RGBFLAG = rt::INSTR(marker, "[RGB") > 0   ? 1
            : rt::INSTR(marker, "[rgb") > 0 ? 3
            : rt::INSTR(rt::UCASE(marker), "[RGB") > 0 ? 2
                                                        : 0;
  std::int32_t rgb[3] = {0, 0, 0};
  if (RGBFLAG > 0) {
    std::string delims = " ,-";
    PARSVARS(marker, delims);
    // The opener is the first field; the last three must be numbers.
    bool numbers = PARSEDCOUNT >= 4;
    for (int c = 0; c < 3 && numbers; ++c) {
      const std::string& f = PARSED(PARSEDCOUNT - 2 + c);
      numbers = !f.empty() && (std::isdigit(static_cast<unsigned char>(f[0])) || f[0] == '.');
    }
    if (!numbers) {
      RGBFLAG = 0;
    } else {
      for (int c = 0; c < 3; ++c) {
        const double v = rt::round_even(rt::VAL(PARSED(PARSEDCOUNT - 2 + c)) * 255);
        rgb[c] = static_cast<std::int32_t>(std::clamp(v, 0.0, 255.0));
      }
    }
  }
  const std::int32_t packed = rgb[0] + 256 * rgb[1] + 65536 * rgb[2] + 16777216 * RGBFLAG;
  if (SYMBOLRGB.in_bounds(st.layer)) SYMBOLRGB(st.layer) = packed;
  RGBTEXT.assign(4, '\0');
  for (int b = 0; b < 4; ++b) RGBTEXT[static_cast<size_t>(b)] = static_cast<char>((packed >> (8 * b)) & 0xFF);
}

// The symbol-word pass is not built yet: the line stays as it is.
void KEYWORDS_PASS(CoderState& st) {}

void DESCRIPT(CoderState& st) {
  st.section("DESCRIPT", "0001");
  PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
  PIOPEN("Dwork.2", WORKSECOND + DWORKBASE);
  PIINIT(WORKFIRST + DWORKBASE);
  const std::int64_t n = count_line(st);
  DESCRCOUNT = static_cast<std::int32_t>(n);
  std::int32_t layer = 0;
  bool ended = false;
  for (std::int64_t i = 1; i <= n && !ended; ++i) {
    st.step("0002");
    do {
      if (!next_line(st, st.L)) ended = true;
      st.L = rt::TRIM(st.L);
    } while (!ended && st.L == one_slash());
    if (ended || st.L == two_slashes()) break;
    if (st.L.empty()) continue;
    if (layer >= SYMBOLRGB.ubound()) {
      left_out(st, "layers");
      continue;
    }
    st.step("0003");
    st.layer = ++layer;
    BLANKS(st);
    GETRGB(st);
    KEYWORDS_PASS(st);
    BLANKS(st);
    TWOCOLUM(st);
    st.step("0004");
    PIWRITE(st.L, layer, WORKFIRST + DWORKBASE);
    LAYERCOUNT = layer;
  }
  st.step("0005");
  close_channel_files(DWORKBASE);
}
