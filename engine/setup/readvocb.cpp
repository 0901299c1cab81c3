// The vocabulary file and the symbol library's name list.
//
// A vocabulary file holds, after free lines: the word section (entries word<NN> between BEGIN and END),
// the abbreviation section, the keyword section, and the line naming the symbol library. The library
// is read only when its name changes; the first lines of usercat.dat and userprov.dat are added to the
// name list and the keywords at every load, once.
//
// A damaged file is reported once, naming the file and line: one that ends early (input past end), an
// entry numbered beyond the word table (skipped). What was read stays, the library is the standard one
// when the file does not name one, and the readers never read on past the end. A symbol library whose
// head or name list is cut short or wrong is said once in a run (console and ERROR.LOG), and the sheets
// are drawn without soil symbols. A missing vocabulary or library, a library replaced by PROLIB.DAT and a
// damaged one are written in ERROR.LOG once, and the run ends with exit code 1.
#include <set>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr std::int32_t kMaxAbbreviations = 14;
constexpr const char* kDefaultLibrary = "PROLIB.DAT";

// Set by the section readers when the vocabulary file ended before their END line, so that READVOCB
// reads no further (the end was reported by the reader that met it).
bool vocabulary_ended = false;
// The name of the vocabulary file being read, for the report of a damaged one.
std::string vocabulary_name;

// Lines up to one equal to word once upper-cased (trimmed first when trim is set); false at the end of
// the file, which the line reader reports.
bool skip_to(std::int32_t file, const char* word, bool trim) {
  std::string line;
  while (rt::line_input(file, line)) {
    const std::string u = rt::UCASE(line);
    if ((trim ? rt::TRIM(u) : u) == word) return true;
  }
  vocabulary_ended = true;
  return false;
}

// The word of an entry: the text before its "<", without a "1)  " or "a| " label in front.
std::string entry_word(const std::string& text) {
  std::string word = rt::TRIM(text);
  if (long p = rt::INSTR(word, ")  "); p > 0) word = rt::TRIM(rt::MID(word, p + 1));
  if (long p = rt::INSTR(word, "| "); p > 0) word = rt::TRIM(rt::MID(word, p + 1));
  return word;
}

// The word section, up to its END line; false when the file ends first.
bool read_words(std::int32_t file, rt::Trap& trap) {
  std::string line;
  while (rt::line_input(file, line)) {
    if (rt::UCASE(rt::TRIM(line)) == "END") return true;
    for (long p = rt::INSTR(line, "<"); p > 0; p = rt::INSTR(line, "<")) {
      const std::string word = entry_word(rt::LEFT(line, p - 1));
      std::int32_t number = 0;
      rt::let(number, rt::VAL(rt::MID(line, p + 1, 2)));
      if (VOCAB.in_bounds(number)) {
        VOCAB(number) = word;
      } else if (trap.on()) {
        rt::raise(9);  // reported once; further entries out of range are skipped
      }
      line = rt::MID(line, p + 4);
    }
  }
  return false;
}

// The library's name list; false, with what is wrong in damage, when the file is no symbol library
// (too short for its head, check value outside 0..100, a list length below 0 or beyond the end of the
// file). The file must exist.
bool read_library(const std::string& name, std::string& list, std::string& damage) {
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, name, rt::FileMode::Binary)) return false;
  rt::engine_file(f);
  const std::int64_t size = rt::LOF(f);
  rt::seek(f, 257);
  std::int32_t check = 0, unused = 0, length = 0;
  READINT(f, check);
  READINT(f, unused);
  READINT(f, length);
  if (size < 262) {
    damage = "it ends within its head of 262 bytes";
  } else if (check < 0 || check > 100) {
    damage = "its check value " + std::to_string(check) + " lies outside 0..100";
  } else if (length < 0 || 262 + static_cast<std::int64_t>(length) > size) {
    damage = "its name list of " + std::to_string(length) + " bytes does not fit in its " + std::to_string(size) +
             " bytes";
  } else {
    list = rt::get_bytes(f, static_cast<std::size_t>(length));
  }
  rt::close_file(f);
  return damage.empty();
}

}  // namespace

void READVOCB(const std::string& name) {
  RT_TRAP(trap, "READVOCB");
  if (!rt::file_exists(name)) {
    missing_file(name);
    return;
  }
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, name, rt::FileMode::Input)) return;
  rt::engine_file(f);
  trap.reading(f, name);
  vocabulary_name = name;
  vocabulary_ended = false;
  bool keywords_read = false;
  std::string library_line;
  trap.step("0001");
  if (skip_to(f, "BEGIN", true) && read_words(f, trap)) {
    trap.step("0002");
    READARRA(f);
    if (!vocabulary_ended) {
      READBLOC(f, KEYWORDS);
      keywords_read = true;
    }
    trap.step("0003");
    if (!vocabulary_ended) rt::line_input(f, library_line);
  }
  rt::close_file(f);
  std::string library = rt::INSTR(library_line, "PROLIB") > 0 ? library_line : std::string(kDefaultLibrary);

  trap.section("LIBRARY");
  bool library_ok = true;
  if (library != LIBNAME) {
    trap.step("0004");
    if (!rt::file_exists(library)) {
      // The standard library stands in for the one the vocabulary names (a missing standard library
      // is said below).
      const std::string said = library + " " + PROMPT(56) + kDefaultLibrary;
      MESSAGE(said, 1);
      if (library != kDefaultLibrary) rt::fault_logged_once(said);
      platform::console().pause_ms(3000);
      library = kDefaultLibrary;
    }
    std::string list, damage;
    const bool exists = rt::file_exists(library);
    if (exists && read_library(library, list, damage)) {
      LIBRARYLIST = list;
      LIBNAME = library;
    } else if (exists) {
      // Said once in a run (the SET file's vocabulary is read more than once).
      static std::set<std::string> said;
      const std::string text = "Symbol library " + library + " is damaged (" + damage +
                               "): the sheets show no soil symbols.";
      if (said.insert(text).second) {
        platform::console().print(text, true);
        rt::fault_logged(text);
      }
      library_ok = false;
    } else {
      trap.section("FATAL");
      missing_file(library);
      library_ok = false;
    }
  }

  // The user additions: the library's own list gets the usercat.dat line each time (never twice), and
  // a keyword table read afresh gets the userprov.dat line. A library that could not be read leaves
  // both as they were: the load then adds nothing of the user's.
  trap.step("0005");
  std::string user_names, user_keywords;
  USERDATA("usercat.dat", user_names);
  USERDATA("userprov.dat", user_keywords);
  if (library_ok) VOCABLIST = LIBRARYLIST + user_names;
  if (library_ok && keywords_read) KEYWORDS += rt::UCASE(user_keywords);
}

void READINT(std::int32_t file, std::int32_t& value) {
  RT_TRAP(trap, "READINT");
  const std::string b = rt::get_bytes(file, 2);
  const int high = b.size() > 0 ? static_cast<unsigned char>(b[0]) : -1;
  const int low = b.size() > 1 ? static_cast<unsigned char>(b[1]) : -1;
  int v = high * 256 + low;
  if (v > 32767) v -= 65536;
  value = v;
}

void READARRA(std::int32_t file) {
  RT_TRAP(trap, "READARRA");
  trap.reading(file, vocabulary_name);
  if (!skip_to(file, "BEGIN", false)) return;
  ABBRCOUNT = 0;
  std::string line;
  while (true) {
    if (!rt::line_input(file, line)) {
      vocabulary_ended = true;
      return;
    }
    if (rt::UCASE(line) == "END") return;
    if (ABBRCOUNT < kMaxAbbreviations) {
      ++ABBRCOUNT;
      ABBREV(ABBRCOUNT) = line;
    } else {
      MESSAGE(PROMPT(41), 1);
      platform::console().pause_ms(1000);
    }
  }
}

void READBLOC(std::int32_t file, std::string& result) {
  RT_TRAP(trap, "READBLOC");
  trap.reading(file, vocabulary_name);
  result.clear();
  if (!skip_to(file, "BEGIN", false)) return;
  std::string line;
  while (true) {
    if (!rt::line_input(file, line)) {
      vocabulary_ended = true;
      return;
    }
    const std::string u = rt::UCASE(line);
    if (u == "END") return;
    result += u;
  }
}

void USERDATA(const std::string& name, std::string& line) {
  RT_TRAP(trap, "USERDATA");
  if (!rt::file_exists(name)) return;
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, name, rt::FileMode::Input)) return;
  trap.reading(f, name);
  rt::line_input(f, line);  // an empty file is reported (input past end) and leaves line unchanged
  rt::close_file(f);
}
