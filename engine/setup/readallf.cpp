// READALLF and its helpers: the font library of the console SET editor.
//
// A record per font, in fixed columns: 1-15 name, 16-25 weight and style words, 26-29 size ("#" for a
// scalable font), 30-33 unit, 34-45 metric file (a FONTLIB.CUS font: its pitch), 46 kind ("B"
// bitmapped, "S" scalable, a FONTLIB.CUS font its own letter), 47-85 the PCL selection string in the
// "/027" notation. Records 1..3 are the slots of the SET's font 1, font 2 and footer font.
//
// Faults this code does not let through:
//  - the font folder is the SET value trimmed, inner blanks kept (as the SET reader takes it), so a
//    folder whose name holds a blank lists its fonts;
//  - a slot's selection columns are exactly the SET's code, padded: no tail of the library's longer code
//    stays behind it to be written into the SET file later;
//  - FONTLIB.CUS missing when it is needed: one message, the records built so far are kept; a line of
//    it whose pitch is too large for a number is said once, naming the file and line, and skipped;
//  - a scalable fixed-pitch font gets "#" and the unit word, not the columns of the record before it;
//  - a SET font that no record fits shows no display name (not the one of an earlier file).
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/seteditor.h"
#include "engine/setup/setup.h"
#include "platform/paths.h"

namespace {

constexpr std::int32_t kMostRecords = 100;
constexpr std::int32_t kMetricFileLength = 534;

std::string number_text(double v) { return rt::STR_TRIM(v); }

// A record from the PCL font header (descriptor) of a metric file; empty when the font is not listed.
std::string header_record(const std::string& desc, const std::string& file) {
  auto byte = [&](size_t pos) -> std::int32_t {
    return pos >= 1 && pos <= desc.size() ? static_cast<unsigned char>(desc[pos - 1]) : 0;
  };
  if (byte(13) != 0) return {};  // landscape
  const bool bitmapped = byte(3) == 0;
  const std::int32_t spacing = byte(14);
  const std::int32_t symbols = FNQD2INT(rt::MID(desc, 15, 2));
  const double pitch = 256.0 * byte(17) + byte(18) + byte(41) / 256.0;
  const double height = 256.0 * byte(19) + byte(20) + byte(42) / 256.0;
  const std::int32_t style = byte(24);
  std::int32_t weight = byte(25);
  if (weight > 127) weight -= 256;
  const std::int32_t typeface = 256 * byte(27) + byte(26);
  std::string name = rt::MID(desc, 49, 16);
  name = rt::LEFT(rt::UCASE(FNCULL(name)), 15);

  std::string pitch_text, height_text, size;
  if (bitmapped) {
    const std::string points = number_text(rt::round_even(3 * height / 5) / 10);
    if (spacing == 0 && pitch > 0) pitch_text = number_text(rt::round_even(12000 / pitch) / 10) + "h";
    height_text = points + "v";
    size = points;
  } else {
    if (spacing == 0) pitch_text = "#h";
    height_text = "#v";
    size = "#";
  }
  const std::string symbol_set = rt::STR_TRIM(symbols / 32) + rt::CHR(symbols % 32 + 64);
  const std::string selection = "/027(" + symbol_set + "/027(s" + rt::STR_TRIM(spacing) + "p" + pitch_text +
                                height_text + rt::STR_TRIM(style) + "s" + rt::STR_TRIM(weight) + "b" +
                                rt::STR_TRIM(typeface) + "T";
  const std::string weight_word = weight >= -7 && weight <= 7 ? PROMPT(131 + weight) : std::string();
  const std::string style_word = PROMPT(style == 0 ? 113 : style == 1 ? 114 : 115);
  return rt::LSET(name, 15) + rt::LSET(rt::LSET(weight_word, 5) + " " + rt::LSET(style_word, 4), 10) +
         rt::LSET(size, 4) + rt::LSET(PROMPT(123), 4) + rt::LSET(file, 12) + (bitmapped ? "B" : "S") +
         rt::LSET(selection, 39);
}

// Appends the fonts of FONTLIB.CUS (current folder) that pass its column tests.
void read_fontlib() {
  if (!platform::exists("FONTLIB.CUS")) {
    seteditor::tell("FONTLIB.CUS " + PROMPT(78));
    return;
  }
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, "FONTLIB.CUS", rt::FileMode::Input)) return;
  rt::engine_file(f);
  // A pitch too large for a number is said once (file and line) and its line skipped.
  RT_TRAP(trap, "READALLF");
  trap.reading(f, "FONTLIB.CUS");
  std::string l;
  while (!rt::at_eof(f) && rt::line_input(f, l)) {
    std::int32_t pitch = 0;
    rt::let(pitch, rt::VAL(rt::MID(l, 31, 12)));
    if (pitch <= 0 || rt::INSTR(l, "/027") != 47 || FONTRECCOUNT >= kMostRecords) continue;
    ++FONTRECCOUNT;
    FONTREC(FONTRECCOUNT) = rt::LSET(rt::MID(l, 1, 8), 15) + rt::LSET(rt::MID(l, 10, 10), 10) +
                            rt::LSET(rt::MID(l, 23, 4), 4) + rt::LSET(rt::MID(l, 27, 4), 4) +
                            rt::LSET(rt::MID(l, 31, 12), 12) + rt::LSET(rt::MID(l, 43, 1), 1) +
                            rt::LSET(rt::MID(l, 47), 39);
  }
  rt::close_file(f);
}

void build_library() {
  FONTPICKCOUNT = 0;
  LISTMAX = kMostRecords;
  READDIRE(FONTDIR + "*.MET", FONTFILES, FONTPICKCOUNT, rt::TRIM(seteditor::line(1)));
  std::vector<std::string> files;
  for (std::int32_t i = 1; i <= FONTPICKCOUNT && static_cast<std::int32_t>(files.size()) < LISTMAX; ++i)
    if (!FONTFILES(i).empty()) files.push_back(std::string(platform::file_part(FONTFILES(i))));
  FONTRECCOUNT = 3;
  for (std::int32_t i = 1; i <= 3; ++i) FONTREC(i) = rt::SPACE(86);
  bool complete = false;
  for (const std::string& name : files) {
    const std::string path = FONTDIR + name;
    if (!platform::exists(path)) continue;
    const int f = rt::FREEFILE();
    if (!rt::open_file(f, path, rt::FileMode::Binary)) continue;
    rt::engine_file(f);
    std::int32_t length = 0;
    READCODE("\x1b)s", length, "W", f);
    if (length > 63) {
      const std::string rec = header_record(rt::get_bytes(f, static_cast<size_t>(length)), name);
      if (!rec.empty() && FONTRECCOUNT < LISTMAX) FONTREC(++FONTRECCOUNT) = rec;
      if (rt::LOF(f) == kMetricFileLength && rt::INSTR(rt::UCASE(name), ".MET") > 0) complete = true;
    }
    rt::close_file(f);
  }
  if (!complete) read_fontlib();
}

}  // namespace

void READALLF() {
  RT_TRAP(trap, "READALLF");
  const std::string folder = kept_value(seteditor::line(SETBEGIN1 + 24));
  FONTDIR = folder.empty() || rt::RIGHT(folder, 1) == "\\" ? folder : folder + "\\";
  if (FONTRECCOUNT == 0 || FONTDIR != FONTLISTDIR) build_library();
  std::int32_t* const slots[] = {&SETFONT1, &SETFONT2, &SETFONT3};
  std::string* const names[] = {&SETFONTNAME1, &SETFONTNAME2, &SETFONTNAME3};
  for (std::int32_t n = 0; n < 3; ++n) {
    *slots[n] = FNFINDCU(25 + 2 * n);
    *names[n] = *slots[n] > 0 ? FNFONTNA(FONTREC(*slots[n])) : std::string();
  }
  FONTLISTDIR = FONTDIR;
  for (std::int32_t i = 1; i <= FONTRECCOUNT; ++i) FONTPICK(i) = i;
  FONTPICKCOUNT = FONTRECCOUNT;
}

std::int32_t FNFINDCU(std::int32_t k) {
  RT_TRAP(trap, "READALLF");
  const std::int32_t slot = (k - 23) / 2;
  const std::string spec = FNSTRIP(seteditor::line(SETBEGIN1 + k + 1));
  if (spec.empty()) return 0;
  for (std::int32_t i = 1; i <= FONTRECCOUNT; ++i) {
    if (FNEQUIVA(rt::MID(FONTREC(i), 47), spec) == 0) continue;
    FONTREC(slot) = rt::LSET(FONTREC(i), 46) + rt::LSET(spec, 39);
    FIXTHERO(slot);
    return slot;
  }
  return 0;
}

std::int32_t FNEQUIVA(const std::string& pattern, const std::string& spec) {
  auto number_char = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
  size_t i = 0, j = 0;
  while (i < pattern.size()) {
    const char c = pattern[i++];
    if (j >= spec.size()) continue;  // a spec that stops early fits
    const char d = spec[j++];
    if (c == d || (c == '(' && d == ')')) continue;
    if (c != '#') return 0;
    // "#" stands for one character and the digits and points after it, up to the pattern's next one.
    const char after = i < pattern.size() ? pattern[i++] : '\0';
    char e = d;
    while (j < spec.size()) {
      e = spec[j++];
      if (!number_char(e)) break;
    }
    if (e != after) return 0;
  }
  return -1;
}

void FIXTHERO(std::int32_t slot) {
  RT_TRAP(trap, "READALLF");
  if (slot <= 0) return;
  std::string rec = rt::LSET(FONTREC(slot), 85);
  const std::string selection = rt::MID(rec, 47);
  const std::string h = FNFINDV(selection, "h"), v = FNFINDV(selection, "v");
  rt::MID_SET(rec, 26, rt::LSET(v, 4));
  rt::MID_SET(rec, 30, rt::LSET(PROMPT(123), 4));
  const std::string kind = rt::MID(rec, 46, 1);
  if (kind != "S" && kind != "B") rt::MID_SET(rec, 34, rt::LEFT(h, 4));
  FONTREC(slot) = rec;
}

std::string FNFONTNA(const std::string& rec) {
  RT_TRAP(trap, "READALLF");
  std::string symbols = rt::MID(rec, 52);
  if (const long slash = rt::INSTR(symbols, "/"); slash > 0) symbols = rt::LEFT(symbols, slash - 1);
  std::string name = rt::MID(rec, 1, 15) + " " + symbols + " " + rt::MID(rec, 16, 10) + " " + rt::MID(rec, 26, 8);
  return FNCULL(name);
}
