// PROSHOW: the first stage of a sheet run. In a one-shot run the run file names the input file and the
// conversion starts at once; from the menu the user picks the input file with the console file picker.
// A complete conversion goes on to the hole catalogue, which carries the rest of the run.
//
// A run whose target (the run file's result copy) would replace a file the run reads or the engine
// keeps is refused before anything is converted or drawn: the input file, the SET file, the run file,
// ERROR.LOG, a file of the engine folder (one of the engine's own names, or any file there that is not
// an earlier output of the run's kind), or the joined PDF or the legend of a job folder. So is one whose
// target is a result of the run itself (a hole's file in its job folder, the PDF of a text it is
// printed with), once the conversion has named the holes and their job folders and before the first
// is drawn: nothing goes into the job folder. Each ends with exit code 1 and one line saying why.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/devices/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/log.h"
#include "engine/run/picker.h"
#include "engine/run/run.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/select/globals.h"
#include "engine/select/select.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"
#include "platform/paths.h"
#include "platform/wholefile.h"

namespace {

// The folder part of a file key (the real path of the file's folder).
std::string folder_of_key(const std::string& key) { return key.substr(0, key.rfind('/')); }

// True when the key's file lies in folder (a real path) or in a folder below it.
bool lies_in(const std::string& key, const std::string& folder) {
  return !folder.empty() && key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 &&
         (key[folder.size()] == '/' || folder == "/");
}

// The real path of a folder named the engine's way; empty when it is not there.
std::string real_folder(const std::string& name) {
  const std::string key = platform::file_key(name + "\\x");
  return key.empty() ? key : folder_of_key(key);
}

// True when the target exists and its first bytes are those of the run's output (an earlier
// target of such a run): a PDF's signature, a printer job's escape, a drawing's first group code.
// unreadable: the errno value when the file is there but cannot be opened or read (0 otherwise).
bool earlier_output(int& unreadable) {
  unreadable = 0;
  const platform::MappedPath m = platform::map_existing(RESULTNAME);
  if (m.error != 0 || !m.regular) return false;
  char head[8] = {};
  const int fd = ::open(m.path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    unreadable = errno;
    return false;
  }
  const ssize_t n = ::read(fd, head, sizeof head);
  if (n < 0) unreadable = errno;
  ::close(fd);
  const std::string start(head, n > 0 ? static_cast<size_t>(n) : 0);
  if (OUTDEV == 1) return start.rfind("%PDF-", 0) == 0;
  if (OUTDEV == 3) return rt::TRIM(start).rfind("0", 0) == 0;
  return start.rfind("\x1B", 0) == 0;
}

// Why the run's target may not be written: empty when it may.
std::string target_refusal() {
  if ((RUNFLAGS & 0x80) == 0 || RESULTNAME.empty()) return {};
  std::string job_folder(platform::folder_part(RESULTNAME));
  if (!job_folder.empty()) job_folder.pop_back();  // the target's folder as a name in its own folder
  const std::string job = job_folder.empty() ? job_folder : platform::file_key(job_folder);
  std::string key = platform::file_key(RESULTNAME);
  // A folder not made yet (a job folder the run makes): the key from the folder above it.
  if (key.empty() && !job.empty()) key = job + "/" + rt::UCASE(std::string(platform::file_part(RESULTNAME)));
  if (key.empty()) return {};  // no folder to write it in: said at the end of the run, when it would be written
  // A name as given (from the engine folder) and as the search finds it.
  const auto names = [&key](const std::string& name) {
    if (name.empty()) return false;
    if (platform::file_key(name) == key) return true;
    const std::string found = platform::search_path(name);
    return !found.empty() && platform::file_key(found) == key;
  };
  if (names(SOURCENAME)) return "is the input file";
  if (names(SETUPNAME)) return "is the SET file";
  const std::string& command = rt::COMMAND();
  if (command.find('@') != std::string::npos && names(rt::TRIM(command))) return "is the run file";
  if (names("ERROR.LOG")) return "is the engine's ERROR.LOG";
  const std::string file = key.substr(key.rfind('/') + 1);
  // The files each job folder of the output folder gets from the run as a whole (the job folder may
  // not be there yet: its own key, from the output folder's real path).
  const std::string output = real_folder(DATADIR);
  const bool in_job_folder = !output.empty() && (folder_of_key(folder_of_key(key)) == output ||
                                                 (!job.empty() && folder_of_key(folder_of_key(job)) == output));
  if (in_job_folder) {
    if (file == "COMBINED.PDF") return "is the joined PDF of a job folder";
    const std::string legend = rt::UCASE(rt::TRIM(rt::RIGHT(" " + ALPHNUM(VOCAB(24)), 8)));
    if (!legend.empty() && file.rfind(legend + ".", 0) == 0) return "is the legend of a job folder";
  }
  // The engine folder (and the folders in it), but for the output folder where it lies inside.
  const std::string engine = real_folder(".");
  if (lies_in(key, engine) && !(lies_in(key, output) || in_job_folder)) {
    static const char* const own[] = {"ERROR.LOG", "LASTRUN", "LASTFILE", "MEMOFILE", "PAGER.1", "PLOTFILE",
                                      "PROFILE", "PROFILE.LOCK", "PROCOLOR.CUS", "USERCAT.DAT", "USERPROV.DAT",
                                      "USERCONV.DAT"};
    bool engine_file = false;
    for (const char* name : own) engine_file = engine_file || file == name;
    for (const std::string& name : work_file_names()) engine_file = engine_file || file == rt::UCASE(name);
    const size_t dot = file.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);
    engine_file = engine_file || ext == ".TRX" || ext == ".SET";
    if (engine_file) return "is a file of the engine folder";
    int unreadable = 0;
    if (platform::exists(RESULTNAME) && !earlier_output(unreadable)) {
      // A file that cannot be read is not known to be an earlier result: kept, and said as it is.
      if (unreadable != 0)
        return "cannot be read (" + platform::failure_reason(unreadable) + ") to see that it is an earlier result";
      return "is a file of the engine folder";
    }
  }
  return {};
}

// Says a refused target (why: empty when it is not refused); true when the run goes on.
bool target_allowed(const std::string& why) {
  if (why.empty()) return true;
  const bool unread = why.rfind("cannot be read", 0) == 0;
  show_fault("The run's target " + RESULTNAME + " " + why + (unread ? "; " : ", which the run must not replace; ") +
                 "nothing is drawn.",
             {RESULTNAME});
  return false;
}

// One key for a file whether it or its folders are there or not: the file's own key where its folder
// is there, else the key of its folder (so found) and its name in upper case, as the run would make it.
std::string prospective_key(const std::string& name) {
  if (std::string key = platform::file_key(name); !key.empty()) return key;
  std::string folder(platform::folder_part(name));
  const std::string file(platform::file_part(name));
  if (file.empty() || folder.size() < 2 || folder[folder.size() - 2] == ':' ||
      (folder.back() != '\\' && folder.back() != '/'))
    return {};
  folder.pop_back();  // the folder as a name in its own folder
  const std::string above = prospective_key(folder);
  return above.empty() ? above : above + "/" + rt::UCASE(file);
}

// Why the holes chosen (INFILE) may not be drawn: the run's target is a file one of their results would
// be written to, by its name (links followed, letter case ignored) or, where both are there, as one file
// under two names. Empty when they may.
std::string result_at_target() {
  if ((RUNFLAGS & 0x80) == 0 || RESULTNAME.empty()) return {};
  const std::string target = prospective_key(RESULTNAME);
  if (target.empty()) return {};  // no folder to write it in: said at the end of the run
  const platform::MappedPath there = platform::map_existing(RESULTNAME);
  const bool existing = there.error == 0 && there.regular;
  std::vector<PlannedHole> holes;
  for (size_t at = 0; at + 6 <= INFILE.size(); at += 10) {
    PlannedHole h;
    h.code = rt::TRIM(INFILE.substr(at, 6));
    if (coded_hole_header(h.code, h.hole, h.job)) holes.push_back(std::move(h));
  }
  for (const PlannedResult& r : planned_results(holes)) {
    bool same = prospective_key(r.name) == target;
    if (!same && existing) {
      const platform::MappedPath m = platform::map_existing(r.name);
      same = m.error == 0 && m.regular && m.device == there.device && m.inode == there.inode;
    }
    if (!same) continue;
    if (r.text.empty()) return "is the result of hole " + r.hole;
    return "is the PDF of the text " + r.text + " printed with hole " + r.hole;
  }
  return {};
}

void convert_and_draw() {
  if (!target_allowed(target_refusal())) return;
  if (!PROCONV()) return;
  // The coder hands each hole to the sheet, which stands above it; before the first it asks whether the
  // run's target is a result of the holes chosen.
  auto& h = coder_hand_over();
  if (!h.may_draw)
    h.may_draw = [] {
      RT_TRAP(trap, "PROSHOW");
      trap.step("0005");
      return target_allowed(result_at_target());
    };
  if (!h.proforma) h.proforma = PROFORMA;
  if (!h.prosumma) h.prosumma = PROSUMMA;
  // The sheet hands a hole with log columns to the borehole log, which stands above it.
  if (!sheet_hand_over().prolog) sheet_hand_over().prolog = PROLOG;
  PROCAT();
}

// The picking screen's background of shade blocks and its title.
void prelim() {
  PAPERX = PAPERY = PLOTFILE = 0;
  auto& con = platform::console();
  for (std::int32_t row = 1; row <= STATUSROW; ++row) {
    con.locate(row, 1);
    con.print(std::string(80, '\xB1'), false);
  }
  ROWCENTR(2, " " + PROMPT(13) + " ");
}

}  // namespace

void PROSHOW() {
  RT_TRAP(trap, "PROSHOW");
  trap.step("0001");
  NOTELIST.clear();
  if (RUNFLAGS & 1) {
    trap.step("0002");
    convert_and_draw();
    return;
  }
  trap.step("0003");
  prelim();
  for (;;) {
    std::string picked(33, ' ');
    PICKFTCH(picked);
    picked = rt::TRIM(picked);
    if (picked == "NIL") return;
    if (picked.empty()) {
      prelim();
      continue;
    }
    // The name as the path search finds it (letter case kept: names differ by case here). A name it
    // cannot find is said, and the picker comes back: no earlier input is converted in its place.
    const std::string found = platform::search_path(picked);
    if (found.empty()) {
      MESSAGE(PROMPT(78), 1);
      continue;
    }
    SOURCENAME = found;
    if (platform::exists(SOURCENAME) && !platform::is_folder(SOURCENAME)) {
      trap.step("0004");
      convert_and_draw();
      return;
    }
  }
}
