// GETSETUP: the SET file, read in one pass in its fixed line order into the setup globals; on the way
// the prompt file and the vocabulary are loaded again when their names change, and the three fonts'
// width tables are built.
//
// Line forms: an item's value stands before its "=" (the first 38 characters when there is none); most
// values are "reduced", every blank removed. The two folder items keep their inner blanks and lose only
// those at the ends. A SET file given with a folder is read there, and SETUPNAME keeps that folder, so
// that reading it again finds the same file. The folders of the prompt and vocabulary files are written
// with "\" separators, as the engine's names are: the vocabulary name is also searched as a "/" list.
//
// A damaged file is reported once, naming the file and line: one that ends early (input past end)
// stops the reading and the values read so far stay; a number too large for its item (overflow) reads
// as 0, and the items after it are read.
#include <filesystem>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/contcode.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"
#include "platform/paths.h"

namespace {

constexpr const char* kStandardSet = "STANDARD.SET";

// A file found by the path search: its folder (engine style, "\" separators, with the trailing "\"),
// its base name and its extension (from the last full stop, which it includes). All empty when none.
struct Found {
  std::string folder, base, extension;
  bool found = false;
};

Found search(const std::string& name) {
  Found r;
  const std::string hit = platform::search_path(name);
  if (hit.empty()) return r;
  const std::filesystem::path p(hit);
  r.found = true;
  r.folder = p.parent_path().string();
  for (char& c : r.folder)
    if (c == '/') c = '\\';
  if (r.folder.empty() || r.folder.back() != '\\') r.folder += '\\';
  r.base = p.stem().string();
  r.extension = p.extension().string();
  return r;
}

// The name of a prompt or vocabulary file: the folder of the file the SET file names + the fixed base
// name + that file's extension; the bare base name when the file is not found.
std::string rebuilt_name(const std::string& value, const char* base) {
  const Found f = search(value);
  return f.found ? f.folder + base + f.extension : std::string(base);
}

std::int32_t number_of(const std::string& value) {
  std::int32_t n = 0;
  rt::let(n, rt::VAL(value));
  return n;
}

// The SET file's lines; once the file has ended (reported once by the line reader) nothing more is
// read.
class Lines {
 public:
  explicit Lines(int file) : file_(file) {}
  bool next(std::string& line) {
    if (ended_ || !rt::line_input(file_, line)) {
      ended_ = true;
      line.clear();
      return false;
    }
    return true;
  }
  // The next line, reduced.
  bool next_reduced(std::string& value) {
    std::string line;
    if (!next(line)) return false;
    value = FNSTRIP(line);
    return true;
  }
  // Lines up to one whose upper-cased reduced text is BEGIN.
  bool skip_to_begin() {
    std::string line;
    while (next(line))
      if (FNSTRIP(rt::UCASE(line)) == "BEGIN") return true;
    return false;
  }

 private:
  int file_;
  bool ended_ = false;
};

// Finds the SET file; SETUPNAME becomes its name (with the folder it was given with) and path the file
// to read. A missing file falls back to STANDARD.SET in the current folder.
std::string choose_file() {
  const std::string given = SETUPNAME;
  const Found f = search(given);
  SETUPNAME = std::string(platform::folder_part(given)) + f.base + ".SET";
  const std::string path = f.folder + f.base + ".SET";
  if (f.found && rt::file_exists(path)) return path;
  auto& con = platform::console();
  con.beep();
  con.print(" ", true);
  // A name the search did not find at all is shown as it was given, not as a bare ".SET".
  const std::string said = (f.found ? SETUPNAME : given) + " setup file cannot be found; defaulting to STANDARD.SET";
  con.print(said, false);
  // A SET file asked for and replaced by another is no run as asked: written down, and exit code 1.
  rt::fault_logged(said);
  con.flush();
  con.pause_ms(3000);
  con.print("", true);
  SETUPNAME = kStandardSet;
  return kStandardSet;
}

void take_page_size() {
  if (PAPER == "A3") {
    A3SHIFT = 2333, PAGEOFFSET = 0, PAGELENGTH = 3200;
  } else if (PAPER == "A4") {
    A3SHIFT = 0, PAGEOFFSET = 0, PAGELENGTH = 3200;
  } else {
    PAGELENGTH = number_of(PAPER);
    if (PAGELENGTH < 900) PAGELENGTH = 3200;
  }
  PAGELENGTHSET = PAGELENGTH;
}

// The first block from its item 3 on (the prompt and vocabulary items are read before); false when
// the file ended.
bool read_layout(Lines& in) {
  std::string v, line, first, second;
  std::int32_t* const numbers[] = {&ATTRLMARGIN, &ATTRRMARGIN, &PROFLMARGIN, &PROFRMARGIN, &HEADDOTS, &FOOTDOTS,
                                   &SUPPRESS,    &TITLEOFFSET, &FOOTOFFSET1, &FOOTOFFSET2, &INDENT};
  if (!in.next_reduced(v)) return false;  // printer type: not used
  if (!in.next(line)) return false;
  DATADIR = kept_value(line);
  if (rt::RIGHT(DATADIR, 1) == "\\") DATADIR = rt::LEFT(DATADIR, static_cast<long>(DATADIR.size()) - 1);
  if (!in.next_reduced(v)) return false;
  SCALEOPT = number_of(v);
  if (!in.next_reduced(PAPER)) return false;
  take_page_size();
  for (std::int32_t* n : numbers) {
    if (!in.next_reduced(v)) return false;
    *n = number_of(v);
  }
  if (!in.next(line)) return false;
  SPLITLOG(line, first, second);
  LOGOMACRO = second;
  if (!in.next(line)) return false;
  SPLITLOG(line, first, second);
  LOGOX = number_of(second);
  if (!in.next(line)) return false;
  SPLITLOG(line, first, second);
  LOGOY = number_of(second);
  if (!in.next_reduced(v)) return false;
  COMPRESSLOG = COMPRESSSET = number_of(v);
  if (!in.next_reduced(v)) return false;
  double lines_per_inch = rt::VAL(v);
  if (lines_per_inch < 0.000001) lines_per_inch = 6;
  LINEPITCH = 300 / lines_per_inch;
  if (!in.next_reduced(v)) return false;  // printer address: not used
  if (!in.next(line)) return false;
  FONTDIR = kept_value(line);
  return true;
}

}  // namespace

void GETSETUP() {
  RT_TRAP(trap, "GETSETUP");
  trap.step("0001");
  const std::string path = choose_file();
  const int f = rt::FREEFILE();
  trap.step("0002");
  if (!rt::open_file(f, path, rt::FileMode::Input)) return;
  rt::engine_file(f);
  trap.reading(f, SETUPNAME);
  Lines in(f);
  std::string v, line;
  bool ok = in.skip_to_begin();

  trap.step("0003");
  if (ok && (ok = in.next_reduced(v))) {
    const std::string name = rebuilt_name(v, "PROMPTS");
    if (name != PROMPTNAME) {
      PROMPTNAME = name;
      FETCHPRO(PROMPTNAME);
      for (std::int32_t i = 1; i <= COLOURCOUNT; ++i) COLOURNAME(i) = PROMPT(69 + i);
      FETCHMENUS();
    }
  }
  trap.step("0004");
  if (ok && (ok = in.next_reduced(v))) {
    VOCABSETNAME = rebuilt_name(v, "PROVOCAB");
    if (VOCABSETNAME != VOCABNAME) {
      VOCABNAME = VOCABSETNAME;
      READVOCB(VOCABNAME);
    }
  }
  trap.step("0005");
  ok = ok && read_layout(in);

  trap.step("0006");
  if (ok) platform::console().locate(16, 1);
  for (std::int32_t i = 1; i <= 3 && ok; ++i) {
    ok = in.next(line) && in.next_reduced(v);  // the font's name line is not used
    if (ok) {
      FONTSPEC(i) = v;
      WIDTHTAB(i);
      PDFFONTCOUNT = 3;
    }
  }

  trap.step("0007");
  if (ok) {
    PRINTERCODES.clear();
    while ((ok = in.next_reduced(v)) && v != "END") {
      std::string code;
      CONTROLC(code, v);
      PRINTERCODES += code;
    }
  }

  trap.step("0008");
  if (ok && (ok = in.next(line))) {
    if (const long p = rt::INSTR(line, " cm"); p > 0) LOGOMATRIX = rt::TRIM(rt::LEFT(line, p + 2));
  }

  trap.step("0009");
  if (ok && in.skip_to_begin() && in.next_reduced(v)) {
    const std::string u = rt::UCASE(v);
    LOGFIRST = (u == "1" || (!REVERSEWORD.empty() && u == REVERSEWORD)) ? -1 : 0;
  }
  rt::close_file(f);
}

std::string kept_value(const std::string& line) {
  const long p = rt::INSTR(line, "=");
  return rt::TRIM(p > 0 ? rt::LEFT(line, p - 1) : rt::LEFT(line, 38));
}

void SPLITLOG(const std::string& line, std::string& first, std::string& second) {
  RT_TRAP(trap, "SPLITLOG");
  const std::string padded = rt::LSET(line, 12);
  first = rt::TRIM(rt::LEFT(padded, 6));
  second = rt::TRIM(rt::MID(padded, 7, 6));
}
