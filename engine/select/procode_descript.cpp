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
//  - layers beyond the per-layer tables (200) are read and dropped, and said;
//  - a word that only begins a library name ("SANDS" of SANDSTONE) and has no entry as a name is
//    looked up among the keywords like any other word;
//  - the marked-word scan moves past every mark it examines, so it never stands still, and the last
//    word of a line is looked up too (the end of the line ends it);
//  - a symbol beyond the 99th distinct one of a run still gets its pair, but stays out of RGBLIST,
//    SYMBOLUSED and SUMMARYKEY (said once per run);
//  - a keyword-table entry without its bracketed name matches nothing.
#include <algorithm>
#include <cctype>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/procode.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/frame/console.h"
#include "platform/console.h"

namespace {

const std::string& one_slash() {
  static const std::string s(1, static_cast<char>(180));
  return s;
}
const std::string& two_slashes() {
  static const std::string s(2, static_cast<char>(180));
  return s;
}

constexpr size_t kMostRecordText = 32767;  // the longest text a work-channel record holds

// A layer record longer than a work-channel record holds (a line the conversion cut at that length,
// with the pairs of its symbols appended) loses the end of its text, not its pairs.
void fit_record(CoderState& st) {
  if (st.L.size() <= kMostRecordText) return;
  left_out(st, "the end of long layer lines");
  const size_t pairs = st.L.size() >= st.line_pairs.size() &&
                               st.L.compare(st.L.size() - st.line_pairs.size(), std::string::npos, st.line_pairs) == 0
                           ? std::min(st.line_pairs.size(), kMostRecordText)
                           : 0;
  st.L = st.L.substr(0, kMostRecordText - pairs) + st.L.substr(st.L.size() - pairs);
}

}  // namespace

void EXBLANK(std::string& text, const std::string& pat) {
  RT_TRAP(trap, "EXBLANK");
  if (pat.empty()) return;
  REMOVE(text, pat);
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

namespace {

constexpr std::int32_t kMostSymbols = 99;  // distinct symbols of a run that the summary and SYMBOLUSED hold

// The repeat phrase of the keyword table (the text before its first "."), its blanks as force marks.
std::string repeat_phrase() {
  std::string phrase = rt::LEFT(KEYWORDS, rt::INSTR(KEYWORDS, ".") - 1);
  REPLAZE(phrase, " ", SYMCODE);
  return phrase;
}

// ASBEFORE: a text that holds the repeat phrase gets the pairs found since the phrase was last absent.
void ASBEFORE(CoderState& st, std::string& T) {
  const std::string phrase = repeat_phrase();
  // An empty phrase (no keyword table) is held by no text: it would repeat every layer's symbols.
  if (!phrase.empty() && rt::INSTR(rt::UCASE(T), phrase) > 0) T += st.repeat_text;
  else st.repeat_text.clear();
}

// ADD: records the symbol code found under name for the summary and the symbol images, and appends
// the pair "[" name "]" code to the line and to the repeat text.
void ADD(CoderState& st, const std::string& name, const std::string& code, int found) {
  if (name.empty()) return;
  if (!SUMMARYKEY.empty()) {
    const auto known = st.symbol_numbers.find(code);
    if (known == st.symbol_numbers.end() && st.symbol_number >= kMostSymbols) {
      // The layer still draws its symbol; the summary and the image list hold no more.
      if (!st.symbols_said) {
        MESSAGE(PROMPT(152) + " " + code, 1);
        rt::fault_logged(PROMPT(152) + " " + code);
        platform::console().pause_ms(3000);
        st.symbols_said = true;
      }
    } else {
      if (rt::INSTR(RGBLIST, code + RGBTEXT) == 0) {
        if (known == st.symbol_numbers.end()) {
          ++st.symbol_number;
          SYMBOLUSED(st.symbol_number + 1) = 0;
          SYMBOLUSED(st.symbol_number) = RGBFLAG;
          RGBLIST += code + RGBTEXT + "|" + rt::STR_TRIM(static_cast<std::int64_t>(st.symbol_number));
          st.symbol_numbers[code] = st.symbol_number;
        } else {
          // The symbol met in a second colour. Its number is kept beside RGBLIST: a colour byte may
          // be a "|", so the list itself cannot be read back safely.
          SYMBOLUSED(known->second) = 0;
        }
      }
      if (rt::INSTR(SUMMARYKEY, " " + code + "|") == 0) {
        SUMMARYKEY += name + " " + code + "|";
      } else if (found == 1 && rt::INSTR(SUMMARYKEY, "|" + name + " ") == 0 && rt::INSTR(SUMMARYKEY, "/" + name + " ") == 0 &&
                 rt::INSTR(SUMMARYKEY, "|" + name + "/") == 0 && rt::INSTR(SUMMARYKEY, "/" + name + "/") == 0) {
        const std::string stars(10, '*');
        REPLAZE(SUMMARYKEY, " " + code + "|", "/" + name + stars);
        REPLAZE(SUMMARYKEY, stars, " " + code + "|");
      }
    }
  }
  const std::string pair = "[" + name + "]" + code;
  if (rt::INSTR(st.L, pair) == 0) {
    st.L += pair;
    st.line_pairs += pair;
  }
  if (rt::INSTR(st.repeat_text, pair) == 0) st.repeat_text += pair;
}

// CHECKWOR: looks the word up (mark is the position in T of the mark before it, "[" or a force mark);
// first as a library symbol name with its own keyword-table entry (found 2: the name is the entry's
// keyword list), else as the beginning of a keyword that T continues with (found 1: the name is the
// keyword). Returns found (0 none) and the length of the keyword found.
int CHECKWOR(CoderState& st, const std::string& T, long mark, const std::string& word, long& keyword_length) {
  keyword_length = 0;
  if (word.empty()) return 0;
  // The two lists stay the same for a run, and its words repeat: their answers are remembered.
  static rt::ListSearch in_names, in_keywords;
  if (in_names.find(VOCABLIST, "|" + word) > 0) {
    const std::string code = "[" + word + "]";
    if (const long k = in_keywords.find(KEYWORDS, "/" + code + "."); k > 0) {
      long d = rt::INSTR_LAST(rt::LEFT(KEYWORDS, k - 1), ".");
      if (d <= 1) d = 0;
      ADD(st, rt::MID(KEYWORDS, d + 2, k - d - 2), code, 2);
      return 2;
    }
    // A word that only begins a library name ("SANDS" of SANDSTONE) is tried as a keyword.
  }
  const std::string slash_word = "/" + word;
  for (long at = in_keywords.find(KEYWORDS, slash_word); at > 0; at = rt::INSTR(at + 1, KEYWORDS, slash_word)) {
    const long next = rt::INSTR(at + 1, KEYWORDS, "/");
    const std::string keyword = next > 0 ? rt::MID(KEYWORDS, at + 1, next - at - 1) : rt::MID(KEYWORDS, at + 1);
    std::string seen = rt::UCASE(rt::MID(T, mark + 1, static_cast<long>(keyword.size())));
    REPLAZE(seen, SYMCODE, " ");
    if (seen != keyword) continue;
    // The entry's bracketed name must stand before the "." that ends it; an entry without one (a
    // hand-made line of userprov.dat) matches nothing.
    const long open = rt::INSTR(at, KEYWORDS, "[");
    const long end = rt::INSTR(at, KEYWORDS, ".");
    if (open == 0 || (end > 0 && end < open)) continue;
    const long close = rt::INSTR(open, KEYWORDS, ".");
    ADD(st, keyword, close > 0 ? rt::MID(KEYWORDS, open, close - open) : rt::MID(KEYWORDS, open), 1);
    keyword_length = static_cast<long>(keyword.size());
    return 1;
  }
  return 0;
}

bool ends_word(char c) {
  static const std::string delimiters = " .:;,?)/[]";
  return delimiters.find(c) != std::string::npos || MARKCHARS.find(c) != std::string::npos;
}

}  // namespace

void KEYWORDS_PASS(CoderState& st) {
  std::string& L = st.L;
  st.line_pairs.clear();
  const bool forced = rt::INSTR(L, SYMCODE) > 0 || rt::INSTR(L, SYMULCODE) > 0;
  std::string T = L;
  REPLAZE(T, SYMULCODE, SYMCODE);
  if (!forced) {
    REPLAZE(T, " ", SYMCODE);
    REPLAZE(T, NOSYMCODE + ULWORDCODE, NOSYMCODE);
    for (const std::string* mark : {&ULWORDCODE, &FONTSWCODE, &CTRL25}) REPLAZE(T, *mark, SYMCODE);
  }
  ASBEFORE(st, T);
  if (rt::INSTR(L, "[*]") > 0) {
    REPLAZE(L, ULWORDCODE, SYMULCODE);
    return;
  }

  // Bracketed words.
  long keyword_length = 0;
  for (long from = 1;;) {
    const long open = rt::INSTR(from, T, "[");
    if (open == 0) break;
    const long close = rt::INSTR(open + 1, T, "]");
    if (close == 0) break;
    CHECKWOR(st, T, open, rt::UCASE(rt::MID(T, open + 1, close - open - 1)), keyword_length);
    from = close + 1;
  }

  // Marked words. Each step moves past the mark it examined, and past the keyword it found.
  const long length = static_cast<long>(T.size());
  for (long from = 1; from <= length && !SYMCODE.empty();) {
    const long mark = rt::INSTR(from, T, SYMCODE);
    if (mark == 0) break;
    long c = mark + 1;
    for (; c <= length; ++c) {
      char& ch = T[static_cast<size_t>(c - 1)];
      if (ch == '/') ch = SYMCODE[0];
      if (ends_word(ch) || ch == SYMCODE[0]) break;
    }
    // The end of the line ends the last word too.
    const int found = CHECKWOR(st, T, mark, rt::UCASE(rt::MID(T, mark + 1, c - mark - 1)), keyword_length);
    from = mark + 1 + (found == 1 ? keyword_length : 0);
  }

  REPLAZE(L, NOSYMCODE, " ");
  REPLAZE(L, ULWORDCODE, SYMULCODE);
}

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
    fit_record(st);
    PIWRITE(st.L, layer, WORKFIRST + DWORKBASE);
    LAYERCOUNT = layer;
  }
  st.step("0005");
  close_channel_files(DWORKBASE);
}
