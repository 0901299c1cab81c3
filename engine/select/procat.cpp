// PROCAT, the hole catalogue, and PROSELEC, the hole selection with its run-file hole list FITFILES.
//
// The catalogue holds every regular file of the current folder named with six characters and ".TRX"
// (letter case ignored), sorted in byte order: a folder, or a file whose name is too short or too long
// for a hole code, is no hole. There is no limit on the number of holes (the conversion has none).
// The selection screen of an interactive run is in proselec.cpp.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/proselec.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr long kEntry = 10;  // width of a hole entry: the six-character code and four blanks

// The entry of a list that holds position p (from 1).
std::string entry_at(const std::string& list, long p) { return rt::MID(list, kEntry * ((p - 1) / kEntry) + 1, kEntry); }

// The position (from 1) of the entry of a list that is exactly code, 0 when none; for a list that
// only grows (the hole list being chosen) or stays as it is (the catalogue), asked once for every
// hole: its entries are kept by their text with the position of the first, taken in as it grows.
class EntryIndex {
 public:
  explicit EntryIndex(const std::string& list) : list_(list) {}
  long find(const std::string& code) {  // code: a hole code, six characters at most
    if (code.empty() || static_cast<long>(code.size()) > 6) return 0;
    for (; indexed_ + kEntry <= list_.size(); indexed_ += kEntry)
      first_.try_emplace(list_.substr(indexed_, kEntry), static_cast<long>(indexed_) + 1);
    const auto it = first_.find(rt::LSET(code, kEntry));
    return it == first_.end() ? 0 : it->second;
  }

 private:
  const std::string& list_;
  size_t indexed_ = 0;
  std::unordered_map<std::string, long> first_;
};

// The name of the hole a coded file holds in letters and digits; empty when the file cannot be read
// (the coder says so when it comes to draw it).
std::string coded_hole_name(const std::string& code) {
  std::string hole, job;
  return coded_hole_header(code, hole, job) ? ALPHNUM(hole) : std::string();
}

// Says a fault of the run file's hole list on the console and in ERROR.LOG.
void say(const std::string& text) {
  show_message(text);
  rt::fault_logged(text);
}

}  // namespace

bool coded_hole_header(const std::string& code, std::string& hole, std::string& job) {
  hole.clear();
  job.clear();
  const std::string file_name = rt::TRIM(code) + ".TRX";
  const int f = rt::FREEFILE();
  if (f == 0 || rt::read_access(file_name) != 0 || !rt::open_file(f, file_name, rt::FileMode::Input)) return false;
  // The version line, then the header items: the hole's name is item 20, the job number item 22.
  std::string line;
  int lines = 0;
  while (lines <= 22 && !rt::at_eof(f) && rt::line_input(f, line)) {
    if (lines == 20) hole = line;
    if (lines == 22) job = line;
    ++lines;
  }
  const bool whole = rt::take_read_failure(f).empty();
  rt::close_file(f);
  if (!whole) hole.clear(), job.clear();
  return whole && lines > 20;
}

void PROCAT() {
  RT_TRAP(trap, "PROCAT");
  trap.step("0001");
  HOLECATALOG.clear();

  trap.step("0002");  // TRXLIST
  std::vector<std::string> codes;
  for (const std::string& name : rt::DIR("*.TRX"))
    if (name.size() == 10 && rt::UCASE(name.substr(6)) == ".TRX") codes.push_back(name.substr(0, 6));

  trap.step("0003");
  rt::Array<std::string> sorted;
  const auto count = static_cast<std::int32_t>(codes.size());
  sorted.dim(0, count);
  for (std::int32_t i = 1; i <= count; ++i) sorted(i) = codes[static_cast<size_t>(i - 1)];
  IRANK(sorted, count);
  HOLECATALOG.reserve(static_cast<size_t>(count) * kEntry);
  for (std::int32_t i = 1; i <= count; ++i) HOLECATALOG += rt::LSET(sorted(i), kEntry);

  trap.step("0004");
  CATALOGMARK = "okOkOK";
  platform::console().print("Coded hole files: " + std::to_string(count), true);
  PROSELEC();
}

void PROSELEC() {
  RT_TRAP(trap, "PROSELEC");
  trap.step("0001");
  LOGOFAIL = 0;
  if (VOCABNAME != VOCABSETNAME) {
    VOCABNAME = VOCABSETNAME;
    READVOCB(VOCABNAME);
  }
  RGBLIST.clear();
  if (CATALOGMARK.size() < 3 || (RUNFLAGS & 0x1000) != 0) return;

  if (RUNFLAGS & 1) {
    trap.step("0002");
    if (RUNFLAGS & 4) FITFILES();
    else INFILE = HOLECATALOG;
    trap.step("0003");
    PROCODE();
    return;
  }
  trap.step("0004");
  selection_screen();
}

// Each name of the hole list: "ALL" (any letter case) chooses every hole; a name that is a whole code
// chooses that hole; a hole's name (TP02, BH-1: letters and digits compared) chooses the first hole of
// that name; any other name chooses the first hole whose code holds it, or else the first hole whose
// code ends in the name's last three letters and digits, unless a chosen entry holds it already. A name that chooses nothing is said; when names were given and none
// chooses a hole, no hole is coded, and that is said too. A list without names is every hole.
void FITFILES() {
  RT_TRAP(trap, "FITFILES");
  trap.step("0001");
  std::string delims = ",";
  PARSVARS(RUNLINE, delims);
  INFILE.clear();
  bool all = false;
  std::vector<std::string> unmatched;
  std::vector<std::string> names;  // the hole name of each catalogue entry, read when first needed
  EntryIndex chosen(INFILE), catalogue(HOLECATALOG);  // INFILE only grows below
  for (std::int32_t i = 1; i <= PARSEDCOUNT; ++i) {
    trap.step("0002");
    const std::string name = rt::UCASE(rt::TRIM(PARSED(i)));
    if (name.empty()) continue;
    if (name == "ALL") {
      all = true;
      for (size_t at = 0; at + kEntry <= HOLECATALOG.size(); at += kEntry) {
        const std::string entry = HOLECATALOG.substr(at, kEntry);
        if (chosen.find(rt::TRIM(entry)) == 0) INFILE += entry;
      }
      continue;
    }
    if (const long p = catalogue.find(name); p > 0) {
      if (chosen.find(name) == 0) INFILE += entry_at(HOLECATALOG, p);
      continue;
    }
    // The hole of that name, as its coded file holds it: of two holes whose names end alike (BH101,
    // TP101) the second has a code of its own (631_01), which no part of its name finds.
    if (names.empty())
      for (size_t at = 0; at + kEntry <= HOLECATALOG.size(); at += kEntry)
        names.push_back(coded_hole_name(HOLECATALOG.substr(at, kEntry)));
    if (const std::string alnum = ALPHNUM(name); !alnum.empty()) {
      const auto it = std::find(names.begin(), names.end(), alnum);
      if (it != names.end()) {
        const std::string entry = HOLECATALOG.substr(static_cast<size_t>(it - names.begin()) * kEntry, kEntry);
        if (chosen.find(rt::TRIM(entry)) == 0) INFILE += entry;
        continue;
      }
    }
    if (const long p = rt::INSTR(HOLECATALOG, name); p > 0) {
      if (rt::INSTR(INFILE, name) == 0) INFILE += entry_at(HOLECATALOG, p);
      continue;
    }
    // A hole's full name (TP02, BH101, BH-1): its code keeps only the last three letters and digits of
    // the name, padded with "0" in front, in characters 4 to 6 of the entry.
    const std::string alnum = ALPHNUM(name);
    long found = 0;
    if (!alnum.empty()) {
      const std::string part = rt::RIGHT("000" + alnum, 3);
      for (size_t at = 0; at + kEntry <= HOLECATALOG.size() && found == 0; at += kEntry)
        if (HOLECATALOG.compare(at + 3, 3, part) == 0) found = static_cast<long>(at) + 1;
      if (found > 0) {
        bool taken = false;
        for (size_t at = 0; at + kEntry <= INFILE.size() && !taken; at += kEntry) taken = INFILE.compare(at + 3, 3, part) == 0;
        if (!taken) INFILE += entry_at(HOLECATALOG, found);
      }
    }
    if (found == 0) unmatched.push_back(name);
  }
  trap.step("0003");
  for (const std::string& name : unmatched) say(name + " " + PROMPT(148));
  // A list that names no hole at all draws nothing: drawing every hole instead would hand the user
  // sheets never asked for as the result of the run. An empty list stands for every hole.
  if (INFILE.empty()) {
    if (all || unmatched.empty()) INFILE = HOLECATALOG;
    else if (!HOLECATALOG.empty()) say(PROMPT(149));
  }
}
