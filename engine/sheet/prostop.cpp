// PROSTOP: the end of a hole's plot. The page work file is finished and put in place as the hole's
// result file in the job folder of the output folder, the hole's attached text file becomes a PDF of
// its own, and the result becomes the source of the run file's result name when one was given (the
// copy is made once, at the end of the run: place_run_target).
//
// Nothing a user made is lost on the way:
//  - the output folder is created with every folder above it; when it cannot be made, that is said once
//    and no copy is tried;
//  - two results of one run with the same name (two holes whose names end in the same eight letters and
//    digits, or a hole drawn twice) do not replace each other: the later ones get "_2", "_3", ... (said);
//    a result of an earlier run is replaced (each run from the menu is a run of its own:
//    forget_run_results). A result never takes the name of combined.pdf or of the legend (in any
//    letter case): it gets the next free name too. A hole name without letters or digits gives "000".
//    The run's target is never one of these results: the run layer refuses a run whose target one of
//    them would be before it draws anything (planned_results names them);
//  - a job folder that another run is writing into (from any engine folder) gets nothing of this run:
//    said once, and the holes that go there have no result;
//  - a sheet the PDF writer refused (or whose page file is missing) is not copied nor listed for the
//    merge; the hole is said and written to ERROR.LOG;
//  - every file is written whole or not at all: the page work file (PAGER.1, or plotfile) is a new file
//    that is renamed into place as the result (copied through a new file across file systems), so a
//    full disk or a killed run never leaves a cut result where a whole one was; a PDF or plot file
//    whose result lies on the engine folder's file system is put in place by its own commit (no
//    PAGER.1 or plotfile between);
//  - the page size and log columns are given back after the attached text's PDF (which is A4).
// Each of these failures is said on the console and in ERROR.LOG and ends the run with exit code 1.
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"
#include "platform/names.h"
#include "platform/paths.h"

namespace {

// Says a fault of the plot on the console and in ERROR.LOG; the run ends with exit code 1.
void say_fault(const std::string& text) { show_fault(text); }

// The finished page work file becomes the result (said when it cannot).
bool place_result(const std::string& from, const std::string& to) {
  RT_TRAP(trap, "PROSTOP");
  return rt::place_file(from, to, true);
}

// The name of a file without its folder and extension.
std::string bare_name(const std::string& file) {
  std::string name = file;
  const size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  return name;
}


// The results this run has written, by name in upper case: the names of each folder apart, without
// their folder, in a compact set (a run of 20,000 holes writes 20,000 names into one folder).
class WrittenResults {
 public:
  bool contains(const std::string& name) const {
    const auto [folder, file] = split(rt::UCASE(name));
    const auto it = by_folder_.find(folder);
    return it != by_folder_.end() && it->second.contains(file);
  }
  void insert(const std::string& name) {
    const auto [folder, file] = split(rt::UCASE(name));
    by_folder_[folder].add(file);
  }

 private:
  std::unordered_map<std::string, platform::NameSet> by_folder_;

  static std::pair<std::string, std::string> split(const std::string& name) {
    const size_t cut = name.find_last_of('\\');
    if (cut == std::string::npos) return {std::string(), name};
    return {name.substr(0, cut), name.substr(cut + 1)};
  }
};

// What one run has put in the job folders: its results by name. The run layer forgets them as each run
// begins (forget_run_results).
struct RunNames {
  WrittenResults written;
  std::set<std::string> refused_folders;  // job folders another run held, in upper case
};

RunNames& this_run() {
  static RunNames r;
  return r;
}

// The upper-case name of the legend's result (the summary sheet is hole "LEGEND" of the vocabulary).
std::string legend_result(const std::string& ext) {
  std::string base = rt::TRIM(rt::RIGHT(" " + ALPHNUM(VOCAB(24)), 8));
  return base.empty() ? std::string() : rt::UCASE(base + ext);
}

// Why a hole's result cannot have name, given the results written before it: empty when it can. Each
// run's results have names of their own; the joined PDF and the legend have theirs (in any letter case).
std::string name_taken(const WrittenResults& written, const std::string& name) {
  if (written.contains(name)) return "was written in this run already";
  const std::string file = rt::UCASE(std::string(platform::file_part(name)));
  if (file == "COMBINED.PDF") return "is the name of the joined PDF";
  const size_t dot = file.rfind('.');
  if (!drawing_summary && file == legend_result(dot == std::string::npos ? std::string() : file.substr(dot)))
    return "is the name of the legend";
  return {};
}

// R + extension, or R_2, R_3, ... when that name is taken.
std::string free_result(const WrittenResults& written, const std::string& base, const std::string& ext) {
  std::string name = base + ext;
  for (int n = 2; !name_taken(written, name).empty(); ++n) name = base + "_" + std::to_string(n) + ext;
  return name;
}
std::string free_result(const std::string& base, const std::string& ext) {
  return free_result(this_run().written, base, ext);
}

// The result name is this hole's (said when it is not R + extension).
void claim_result(const std::string& base, const std::string& ext, const std::string& name) {
  if (name != base + ext)
    show_message("Result " + base + ext + " " + name_taken(this_run().written, base + ext) + "; this hole goes to " +
                     name,
                 0, {base + ext, name});
  this_run().written.insert(name);
}

std::string unique_result(const std::string& base, const std::string& ext) {
  const std::string name = free_result(base, ext);
  claim_result(base, ext, name);
  return name;
}

// The job folder of a hole of job number job (header item 22): letters and digits only, "000" for none.
std::string job_folder(const std::string& job) {
  std::string folder = rt::TRIM(ALPHNUM(job));
  if (folder.empty()) folder = "000";  // as the coded file names a hole without a job: 000 + the hole
  return DATADIR + "\\" + folder;
}

// A hole's result file in its job folder, without extension: the last eight letters and digits of its
// name (header item 20), "000" for none.
std::string result_base(const std::string& folder, const std::string& hole) {
  std::string base = rt::TRIM(rt::RIGHT(" " + ALPHNUM(hole), 8));
  if (base.empty()) base = "000";
  return folder + "\\" + base;
}

// The text file the hole of the coded file of code is printed with (BIND), as the conversion listed it
// by that code; none when it has none, nor for no code (the summary).
std::optional<std::string> attached_text(const std::string& code) {
  if (code.empty()) return std::nullopt;
  const long p = rt::INSTR(NOTELIST, "|" + code);
  if (p <= 0) return std::nullopt;
  const std::string rest = rt::MID(NOTELIST, p + 1 + static_cast<long>(code.size()));
  return rest.substr(0, rest.find('|'));
}

// A result into the list of results to join: the list grows by a quarter at a time, not double (it
// holds every result of a run of thousands of holes until they are joined).
void list_result(const std::string& name) {
  const size_t need = OUTLIST.size() + 1 + name.size();
  if (need > OUTLIST.capacity()) OUTLIST.reserve(need + OUTLIST.size() / 4);
  OUTLIST += "|";
  OUTLIST += name;
}

std::string pdf_escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '(' || c == ')') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::vector<PlannedResult> planned_results(const std::vector<PlannedHole>& holes) {
  // The names as PROSTOP gives them, hole after hole, after what this run has written already; a hole
  // whose result is not written (refused, or its sheet not made) only frees names, so the results of the
  // run are among these.
  WrittenResults taken = this_run().written;
  std::vector<PlannedResult> planned;
  const auto take = [&](const std::string& base, const std::string& ext, const PlannedHole& h,
                        const std::string& text) {
    const std::string name = free_result(taken, base, ext);
    taken.insert(name);
    planned.push_back({name, rt::TRIM(h.hole), text});
  };
  const std::string ext = OUTDEV == 1 ? ".pdf" : OUTDEV == 2 ? ".pgl" : OUTDEV == 3 ? ".dxf" : ".pcl";
  for (const PlannedHole& h : holes) {
    const std::string folder = job_folder(h.job);
    take(result_base(folder, h.hole), ext, h, std::string());
    if (OUTDEV != 1) continue;
    if (const auto text = attached_text(h.code)) take(folder + "\\" + bare_name(*text), ".PDF", h, *text);
  }
  return planned;
}

void forget_run_results() {
  this_run() = RunNames{};
  drawing_summary = false;
}

bool TEXT2PDF(const std::string& dir, const std::string& file, const std::string& pdf_name) {
  pdf_refusal.clear();
  if (!rt::file_exists(file)) return false;
  const int in = rt::FREEFILE();
  if (!rt::open_file(in, file, rt::FileMode::Input)) return false;
  std::vector<std::string> lines;
  for (std::string line; !rt::at_eof(in) && rt::line_input(in, line);) lines.push_back(line);
  rt::close_file(in);
  const std::int64_t total = (static_cast<std::int64_t>(lines.size()) + 59) / 60;

  PDFBYTES = 0;
  PDFFONTCOUNT = 3;
  CURFONT = 1;
  const std::int32_t x = 100;
  std::int32_t y = 100;
  PAGEFILE = rt::FREEFILE();
  const std::string target = pdf_name.empty() ? dir + "\\" + bare_name(file) + ".PDF" : pdf_name;
  auto page_head = [&] {
    if (LOGOFAIL != -1) PDFLOGO();
    y = 100;
    NEWSTREA();
    FPRINT("BT");
    FPRINT("/Ff1 10 Tf ");
    FPRINT(FNPDFX(x + 1000) + " " + FNPDFY(y) + " Td");
    const std::string head = "Page " + rt::STR_TRIM(static_cast<std::int64_t>(LEAFCOUNT)) + " / " +
                             rt::STR_TRIM(total) + "..........." + file;
    FPRINT("(" + pdf_escaped(head) + ") Tj");
    FPRINT("ET");
    y = 300;
  };
  auto text_line = [&](const std::string& text) {
    FPRINT("BT");
    FPRINT(FNPDFX(x) + " " + FNPDFY(y) + " Td");
    FPRINT("(" + text + ") Tj");
    FPRINT("ET");
  };
  OPENLEAF(target);
  page_head();
  for (size_t i = 0; i < lines.size(); ++i) {
    text_line(pdf_escaped(lines[i]));
    y += 50;
    if ((i + 1) % 60 == 0 && i + 1 < lines.size()) {
      FPRINT("BT");
      FPRINT(FNPDFX(x + 1000) + " " + FNPDFY(y) + " Td");
      FPRINT("(continued) Tj");
      FPRINT("ET");
      CLOSESTR();
      CLOSELEA();
      OPENLEAF(target);
      page_head();
    }
  }
  text_line(std::string(55, static_cast<char>(196)));
  CLOSESTR();
  CLOSELEA();
  PAGECOUNT = LEAFCOUNT;
  ASSEMBLE();
  if (PAGEFILE > 0 && rt::is_open(PAGEFILE)) rt::close_file(PAGEFILE);
  return !pdf_refused;
}

void PROSTOP() {
  RT_TRAP(trap, "PROSTOP");
  OUTDIR = job_folder(HEADER(22));
  // The job folder is there after the run's first hole: then so is the output folder above it.
  bool folders = rt::folder_exists(OUTDIR);
  if (!folders) {
    folders = true;
    if (!rt::folder_exists(DATADIR)) {
      show_message(PROMPT(37) + " " + DATADIR + " (Output path)", 0, {DATADIR});
      folders = rt::make_path(DATADIR);
    }
    if (folders) folders = rt::make_path(OUTDIR);
  }
  if (!folders) {
    say_fault("The output folder " + OUTDIR + " cannot be made; no result of hole " + rt::TRIM(HEADER(20)) + " is written.");
  } else if (!rt::lock_job_folder(OUTDIR)) {
    // Another run (of this or another engine folder) writes there: its files stay as it makes them, and
    // no hole of this run goes there. Said once for the folder.
    folders = false;
    if (this_run().refused_folders.insert(rt::UCASE(OUTDIR)).second)
      say_fault("Another run is writing into the job folder " + OUTDIR +
                "; no hole of this run goes there. Start the run again when the other has ended.");
    else
      rt::set_exit_code(1);
  }
  const std::string r = result_base(OUTDIR, HEADER(20));
  std::string result;  // the hole's result file once it is written

  if (OUTDEV == 1) {
    // The document goes straight to its result where it can: its commit puts it in place there, the
    // earlier file of that name kept until then (PAGER.1 is the document's name while it is drawn).
    const std::string direct = folders && PDFBYTES != 0 ? free_result(r, ".pdf") : std::string();
    const bool placed_by_commit = !direct.empty() && rt::retarget_new_file(PDFFILE, direct);
    ASSEMBLE();
    if (placed_by_commit && !pdf_refused) {
      claim_result(r, ".pdf", direct);
      list_result(direct);
      result = direct;
    } else if (pdf_refused || !rt::file_exists("PAGER.1")) {
      say_fault("The PDF of hole " + rt::TRIM(HEADER(20)) + " could not be written; it has no result.");
    } else if (folders) {
      const std::string name = unique_result(r, ".pdf");
      if (place_result("PAGER.1", name)) {
        list_result(name);
        result = name;
      }
    }
    if (const auto text = attached_text(hole_file_code)) {
      NOTENAME = *text;
      const std::string paper = PAPER;
      const std::int32_t attributes = ATTRCOUNT;
      PDFBYTES = 0, ATTRCOUNT = 0, PAPER = "A4", PAGEPATTERN.clear();
      // The text's PDF is a result of the run as a hole's is: it takes no name of another result of
      // the run, of the joined PDF or the legend.
      const std::string text_base = OUTDIR + "\\" + bare_name(NOTENAME);
      const std::string text_pdf = folders ? unique_result(text_base, ".PDF") : std::string();
      if (!folders) {
        // Said above: nothing goes into a folder that does not exist.
      } else if (!TEXT2PDF(OUTDIR, NOTENAME, text_pdf)) {
        // Not found, or refused by the PDF writer (its line says why: more pages than a document holds,
        // a file that cannot be written).
        say_fault("The attached text " + NOTENAME + " of hole " + rt::TRIM(HEADER(20)) +
                  (pdf_refusal.empty() ? " cannot be read" : " is not made a PDF (" + pdf_refusal + ")") +
                  "; it has no PDF.");
      } else {
        list_result(text_pdf);
        run_results.push_back(text_pdf);
      }
      PAPER = paper, ATTRCOUNT = attributes;
    }
  }
  if (OUTDEV != 1) {
    // The plot file's end is written here, once per hole; the result is not joined with the PDFs. As a
    // PDF, the plot goes straight to its result where it can: its commit puts it in place there.
    const std::string ext = OUTDEV == 2 ? ".pgl" : OUTDEV == 3 ? ".dxf" : ".pcl";
    const std::string direct = folders && rt::is_open(PLOTFILE) ? free_result(r, ext) : std::string();
    const bool placed_by_commit = !direct.empty() && rt::retarget_new_file(PLOTFILE, direct);
    GOCLOSE();
    if (placed_by_commit) {
      claim_result(r, ext, direct);
      result = direct;
    } else if (!rt::file_exists("plotfile")) {
      say_fault("The plot of hole " + rt::TRIM(HEADER(20)) + " could not be written; it has no result.");
    } else if (folders) {
      const std::string name = unique_result(r, ext);
      if (place_result("plotfile", name)) result = name;
    }
  }

  if (!result.empty()) run_results.push_back(result);
  // The run file's result name gets a copy of the last result, once, at the end of the run.
  if ((RUNFLAGS & 0x80) != 0 && !result.empty()) run_target_source = result;
  COMPRESSLOG = COMPRESSSET;
  drawing_summary = false;
}
