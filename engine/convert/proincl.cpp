// The conversion's routine library: the small text editors, the line reader FETCHNEX and the numeric
// and heading-word tests. The word-list tests of this library live in engine/setup/proincl.cpp, where
// the colour markers use them too.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <utility>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "platform/console.h"

void DELNOTE(const std::int16_t& n, std::int16_t& count) {
  RT_TRAP(trap, "DELNOTE");
  trap.step("0001");
  const std::int16_t removed = n;  // n may be the caller's count itself
  rt::let(count, count - 1.0);
  for (long k = removed; k <= count && k < NOTE.ubound(); ++k) {
    trap.step("0002");
    NOTE(k) = NOTE(k + 1);
  }
}

void REMOVE(std::string& text, const std::string& ch) {
  RT_TRAP(trap, "REMOVE");
  if (ch.empty()) {  // an empty text is found at position 1 of any text: everything goes
    text.clear();
    return;
  }
  // The first character of the first occurrence goes, until none is left. Built in one pass: a character
  // that completes ch at the end of what is kept takes the first character of ch out (and again, should
  // that complete it once more), so a long line costs no more than its length.
  // Nothing is taken out before the first occurrence is complete, so that much is kept as it stands
  // (and a text without ch is left alone).
  const size_t first = text.find(ch);
  if (first == std::string::npos) return;
  const size_t kept = first + ch.size() - 1;
  std::string out(text, 0, kept);
  out.reserve(text.size());
  for (size_t i = kept; i < text.size(); ++i) {
    out += text[i];
    while (out.size() >= ch.size() && out.back() == ch.back() &&
           out.compare(out.size() - ch.size(), ch.size(), ch) == 0)
      out.erase(out.size() - ch.size(), 1);
  }
  text = std::move(out);
}

void RIPLACE(std::string& text, const std::string& old_text, const std::string& new_text) {
  RT_TRAP(trap, "RIPLACE");
  if (old_text.empty()) return;
  // An empty escape character would be "found" in every text and turn every code back.
  const bool escaped = !ESCCHAR.empty() && rt::INSTR(text, ESCCHAR) > 0;
  REPLAZE(text, old_text, new_text);
  if (escaped && !new_text.empty()) REPLAZE(text, ESCCHAR + new_text, old_text);
}

std::string short_number_text(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", std::fabs(v));
  std::string s = buf;
  if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
  return s;
}

void NEXTVALU(const std::int32_t& pos, const std::string& text, std::string& value) {
  RT_TRAP(trap, "NEXTVALU");
  trap.step("0001");
  std::string delims = " =:;()[]";
  PARSVARS(rt::MID(text, pos < 1 ? 1 : pos), delims);
  // The threshold is the single-precision value of 0.0001, so 0.0001 itself counts.
  const double threshold = static_cast<double>(0.0001f);
  double v = 0;
  for (long k = 1; k <= PARSEDCOUNT; ++k) {
    trap.step("0002");
    FNCOMMA(PARSED(k));
    v = rt::VAL(PARSED(k));
    if (v > threshold) break;
  }
  value = short_number_text(v);
}

std::int16_t ISNUMERI(std::string text) {
  RT_TRAP_NONE(trap, "ISNUMERI");
  text = rt::TRIM(text);
  if (rt::VAL(text) != 0) return -1;
  if (text.empty()) return 0;
  if (std::string("+-.1234567890").find(text[0]) == std::string::npos) return 0;
  if (text.size() == 1) return 0;
  for (size_t i = 1; i < text.size(); ++i)
    if (std::string(".1234567890").find(text[i]) == std::string::npos) return 0;
  return -1;
}

void STRIPPLU(std::string& text) {
  RT_TRAP(trap, "STRIPPLU");
  while (!text.empty() && std::string("Ss: ").find(text.back()) != std::string::npos) text.pop_back();
  text = rt::LCASE(text);
}

namespace {

// The number of slash characters of a structure line ("/", "//", "///"), 0 for any other line. The
// line is trimmed of blanks and control characters, as the pre-scan trims it, so that both passes
// find the same structure.
int slash_level(const std::string& raw) {
  const std::string t = FNATRIM(raw);
  if (t == "/") return 1;
  if (t == "//") return 2;
  if (t == "///") return 3;
  return 0;
}

// A read that did not move on found the end of the file. When the file has become shorter than the
// pre-scan measured (saved again meanwhile), the input's length is where it really ends, so that
// every loop that reads up to INFILELEN ends there too.
void end_of_input() {
  if (INFILELEN > LINECOUNT) INFILELEN = LINECOUNT;
}

}  // namespace

namespace {

// FNATRIM(text).empty(), without the copy: only blanks and control characters.
bool only_blank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

// rt::TRIM(text), without the copy: the text without its leading and trailing blanks.
std::string_view blank_trimmed(const std::string& text) {
  size_t i = 0, n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  while (i < n && text[i] == ' ') ++i;
  return std::string_view(text).substr(i, n - i);
}

}  // namespace

void FETCHNEX(const std::int32_t& fileno, std::string& line) {
  RT_TRAP(trap, "FETCHNEX");
  trap.step("0001");
  platform::console().print(".", false);
  std::int32_t level = 0;
  bool block_opened = false;  // the line is the first of a verbatim block
  while (true) {
    // STARTNEW: one physical line.
    trap.section("STARTNEW");
    trap.step("0002");
    line.clear();
    const std::int32_t start = LINECOUNT;
    LINESTART = start;
    LINEINPU(fileno, line, LINECOUNT);
    if (LINECOUNT == start) {  // the end of the input: an empty line, also inside a verbatim block
      end_of_input();
      line.clear();
      return;
    }
    // Blank lines (also lines of control characters only) are skipped outside a verbatim block; the
    // end of the input, or a read that does not move on, ends the skipping with an empty line.
    trap.step("0003");
    while (VERBATIM == 0 && only_blank(line) && LINECOUNT < INFILELEN) {
      const std::int32_t before = LINECOUNT;
      line.clear();
      LINEINPU(fileno, line, LINECOUNT);
      if (LINECOUNT == before) {
        end_of_input();
        break;
      }
      LINESTART = before;
    }
    if (VERBATIM == 0 && only_blank(line)) line.clear();  // a blank last line is no text
    // A line of the hard-space character alone opens or closes a verbatim block and is not text.
    // An empty hard-space character never does: every blank line would toggle.
    trap.step("0004");
    if (!HARDSPCHAR.empty() && blank_trimmed(line) == HARDSPCHAR) {
      VERBATIM = VERBATIM == 0 ? 1 : 0;
      block_opened = VERBATIM != 0;
      if (VERBATIM != 0) VERBATIMSTART = LINESTART;
      rt::let(VERBATIMCOL, static_cast<double>(rt::INSTR(line, HARDSPCHAR)));
      LOOKBACK = LINECOUNT;
      continue;
    }
    break;
  }
  trap.section("");
  // A line of two line-break characters: a forced page break after its item.
  trap.step("0005");
  if (!BREAKCHAR.empty() && blank_trimmed(line) == BREAKCHAR + BREAKCHAR) line = "   " + rt::CHR(20);
  trap.step("0006");
  if (VERBATIM == 0) {
    level = slash_level(line);
    RIPLACE(line, BREAKCHAR, BREAKCODE);
    RIPLACE(line, INDONCHAR, INDONCODE);
    RIPLACE(line, INDOFFCHAR, INDOFFCODE);
    VERBATIMCOL = 0;
  } else {
    // Inside a verbatim block the line keeps its spacing from the opening column on and ends with a
    // line break; as a continuation line it joins the line before it. The block's first line starts
    // with a line break too, so that the block stands line for line as typed below the text above.
    line = rt::MID(line, VERBATIMCOL < 1 ? 1 : VERBATIMCOL) + BREAKCODE;
    if (block_opened) line = BREAKCODE + line;
    RIPLACE(line, " ", HARDSPCHAR);
    line = "   " + line;
  }
  trap.step("0007");
  if (WPMODE > 0) REMAP(line);
  trap.step("0008");
  RIPLACE(line, SYMULCHAR, SYMULCODE);
  RIPLACE(line, SYMCHAR, SYMCODE);
  RIPLACE(line, HARDSPCHAR, HARDSPCODE);
  RIPLACE(line, COLUMNCHAR, COLUMNCODE);
  RIPLACE(line, FONTSWCHAR, FONTSWCODE);
  RIPLACE(line, ULWORDCHAR, ULWORDCODE);
  RIPLACE(line, NOSYMCHAR, NOSYMCODE);
  trap.step("0009");
  REPLAZE(line, STARS, OUTDEV == 1 ? CTRL25 : std::string());
  trap.step("0010");
  if (level > 0) line = rt::STRING_(level, static_cast<char>(180));
}
