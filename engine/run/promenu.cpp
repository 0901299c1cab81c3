// Main menu and run control.
//
// PROMENU reads the command tail and the SET file, then either performs one go with the run file's
// activity and output device (a one-shot run: the run file gives an input file) or shows the main
// screen and its five cells along the bottom rows: go, activity, output device, output folder, setup
// editor, chosen with F1 to F5 or a click; Esc or a click on the exit field (rows 1 to 3, columns 65
// to 79) ends. The sections of the procedure share its local tables and its one trap.
//
// Faults this code does not let through:
//  - a go whose activity is none of 0, 1, 2 and 3, or a one-shot run whose run file named an output or
//    activity word that means nothing, makes no sheet and says so on the console and in ERROR.LOG; a
//    one-shot run then ends with exit code 1 instead of 0;
//  - the menu offers PDF, HP-GL/2 and DXF only, so a device code outside 1..3 when it starts (no
//    "lastrun" yet gives 0, the PCL printer) becomes PDF;
//  - Enter alone at the output-folder question keeps the current folder and ends the question even when
//    that folder does not exist, so the question can always be left;
//  - an output folder chosen with F4 stays when the setup cell (F5) reads the SET file again.
#include "engine/run/promenu.h"

#include <algorithm>

#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/run/run.h"
#include "engine/runtime/array.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"
#include "platform/paths.h"

MenuHandOver& menu_hand_over() {
  static MenuHandOver h;
  return h;
}

// The files of the work channels a run writes: "Dwork.1" and "Dwork.2" hold the layer descriptions,
// "Awork.1" and "Awork.2" the attributes, each as an index file "R" and a text file "B".
const std::vector<std::string>& work_file_names() {
  static const std::vector<std::string> names = {"Dwork.1R", "Dwork.1B", "Dwork.2R", "Dwork.2B",
                                                 "Awork.1R", "Awork.1B", "Awork.2R", "Awork.2B"};
  return names;
}

namespace {

// Name and extension of a file as the path search finds it; empty when it finds none.
std::string found_name(const std::string& name) {
  std::string path = platform::search_path(name);
  return rt::TRIM(platform::file_part(path));
}

// Nothing reads the work files once the run has ended, and the conversion's clean-up at the start of a
// run does not match their names, so they are deleted from the engine folder at the end of every run:
// these eight names only.
void remove_work_files() {
  for (const std::string& name : work_file_names())
    if (rt::file_exists(name)) rt::kill_file(name);
}

class MainMenu {
 public:
  explicit MainMenu(rt::Trap& trap) : trap_(trap) {
    CELLTEXT.dim(0, 5, 0, 4);
    CELLCHOICE.dim(0, 5);
    CELLCOL.dim(0, 5);
    CELLROW.dim(0, 2);
  }

  void run() {
    PRELIMIN();
    std::string cmd = rt::COMMAND();
    if (!cmd.empty()) READRUNS(cmd);
    // What a one-shot run printed stays on a terminal's normal screen after it, as a batch run's lines.
    platform::console().keep_lines_after_exit((RUNFLAGS & 1) != 0);
    getsetup();
    if (RUNFLAGS & 1) {
      // A run file word that named no device or activity was reported as it was read.
      if (run_item_refused != 0) rt::set_exit_code(1);
      else KEY1();
    } else {
      FORCEDSCALE = 0;
      SCALEDIV = 0;
      if (OUTDEV < 1 || OUTDEV > 3) OUTDEV = 1;
      MAINMENU();
      HOTSPOTS();
    }
    KYLL();
  }

 private:
  void getsetup() {
    auto& h = menu_hand_over();
    if (h.getsetup) h.getsetup();
    else GETSETUP();
  }

  void PRELIMIN() {
    trap_.section("PRELIMIN");
    RGBLIST.clear();
  }

  // The main screen: title, version, key hint and the names of the vocabulary and SET files.
  void MAINMENU() {
    trap_.section("MAINMENU");
    if (RUNFLAGS != 0) return;
    auto& con = platform::console();
    SETCOLOR(1);
    con.cls();
    ROWCENTR(2, "V e l t r a x");
    ROWCENTR(3, std::string(17, '='));
    ROWCENTR(5, PROMPT(8));
    version_label_ = "Version ";
    ROWCENTR(7, version_label_ + VERSION + "  (Max Samples:" + rt::STR(MAXSAMPLES) + ")");
    ROWCENTR(9, PROMPT(18));
    FLUSHRIG(STATUSROW - 6, PROMPT(85) + " " + found_name(VOCABNAME));
    FLUSHRIG(STATUSROW - 5, PROMPT(102) + " " + found_name(SETUPNAME));
    con.locate(18, 1);
    SETCOLOR(1);
  }

  // The menu loop.
  void HOTSPOTS() {
    trap_.section("HOTSPOTS");
    auto& con = platform::console();
    MENUEXIT = 0;
    REPAINT = 0;
    INITBLOK();
    GETBLOKR();
    PAINTEXI();
    GETBLOKD();
    con.mouse_on(platform::kMouseLeft | platform::kMouseRight, platform::kMousePress | platform::kMouseDouble);
    do {
      if (REPAINT != 0) {
        MAINMENU();
        GETBLOKR();
        PAINTEXI();
        GETBLOKD();
        REPAINT = 0;
      }
      WRITEBLO();
      if (!closing_line_.empty()) show_closing_line(closing_line_);
      con.flush();
      // The menu waits without the engine folder's lock: a run started beside it (the front end's) may
      // use the folder meanwhile. A go or the setup editor takes the lock again for its work.
      rt::unlock_engine_folder();
      const std::string k = con.wait_key();
      if (!closing_line_.empty()) {
        show_closing_line("");
        closing_line_.clear();
      }
      if (k.size() == 1) {
        if (k[0] == 27) MENUEXIT = -1;
      } else if (k.size() == 2) {
        switch (static_cast<unsigned char>(k[1])) {
          case 59:
            if (take_lock()) KEY1();
            REPAINT = -1;
            break;
          case 60: KEY2(); break;
          case 61: KEY3(); break;
          case 62: KEY4(); break;
          case 63:
            if (take_lock()) KEY5();
            break;
          default: break;
        }
      } else if (k.size() == 4) {
        std::int32_t row = con.mouse_row(), col = con.mouse_col();
        if (row >= CELLROW(0) && row <= CELLROW(2)) {
          if (col >= 1 && col <= 15) {
            if (take_lock()) KEY1();
            REPAINT = -1;
          } else if (col >= 17 && col <= 31) {
            KEY2();
          } else if (col >= 33 && col <= 47) {
            KEY3();
          } else if (col >= 49 && col <= 63) {
            KEY4();
          } else if (col >= 65 && col <= 79) {
            if (take_lock()) KEY5();
          }
        }
        // An action that took mouse input itself has moved the last mouse event.
        row = con.mouse_row();
        col = con.mouse_col();
        if (row >= 1 && row <= 3 && col >= 65 && col <= 79) MENUEXIT = -1;
      }
    } while (MENUEXIT == 0);
  }

  // The engine folder's lock for a go or the setup editor, taken again after the menu's wait; while
  // another run holds it the action is not done, the message line says why until a key, and ERROR.LOG
  // has the line.
  bool take_lock() {
    if (rt::lock_engine_folder()) {
      rt::hold_work_files(work_file_names());
      return true;
    }
    auto& con = platform::console();
    static constexpr char kRefused[] = "Another run is using this engine folder; try again when it has ended.";
    rt::log_note(kRefused);  // the go asked for is not done: written down, and exit code 1
    rt::set_exit_code(1);
    STATUSROW -= 3;
    MESSAGE(kRefused, 1);
    STATUSROW += 3;
    con.flush();
    con.wait_key();
    return false;
  }

  void INITBLOK() {
    trap_.section("INITBLOK");
    for (int i = 1; i <= 5; ++i) CELLCHOICE(i) = 0;
    CELLCHOICE(3) = OUTDEV - 1;
  }

  void GETBLOKR() {
    trap_.section("GETBLOKR");
    CELLROW(0) = STATUSROW - 2;
    CELLROW(1) = STATUSROW - 1;
    CELLROW(2) = STATUSROW;
    const std::int32_t cols[] = {1, 17, 33, 49, 65};
    for (int i = 1; i <= 5; ++i) CELLCOL(i) = cols[i - 1];
  }

  void PAINTEXI() {
    trap_.section("PAINTEXI");
    CELLBUF = rt::SPACE(15);
    SETCOLOR(1);
  }

  // The cell texts: key labels, and captions and choices from the words of prompt texts.
  void GETBLOKD() {
    trap_.section("GETBLOKD");
    for (int i = 1; i <= 5; ++i) CELLTEXT(i, 0) = "<F" + std::to_string(i) + ">";
    split(PROMPT(29));
    CELLTEXT(1, 1) = PARSED(1);
    CELLTEXT(1, 2) = CELLTEXT(1, 3) = CELLTEXT(1, 4) = "";
    split(PROMPT(28));
    CELLTEXT(2, 1) = PARSED(1);
    for (int j = 2; j <= 4; ++j) CELLTEXT(2, j) = PARSED(j);
    split(PROMPT(33));
    CELLTEXT(3, 1) = PARSED(1) + " " + PARSED(2);
    for (int j = 2; j <= 4; ++j) CELLTEXT(3, j) = PARSED(j + 1);
    split(PROMPT(3));
    CELLTEXT(4, 1) = PARSED(1);
    CELLTEXT(4, 2) = DATADIR;
    CELLTEXT(4, 3) = CELLTEXT(4, 4) = "";
    split(PROMPT(69));
    CELLTEXT(5, 1) = PARSED(1);
    CELLTEXT(5, 2) = PARSED(2);
  }

  void split(const std::string& text) {
    std::string delim = " ";
    PARSVARS(text, delim);
  }

  // Paints the five cells, each text centred in 15 columns. A longer one shows its end after "...": the
  // output folder its last folders, or the end of its last one.
  void WRITEBLO() {
    trap_.section("WRITEBLO");
    auto& con = platform::console();
    SETCOLOR(4);
    for (int i = 1; i <= 5; ++i) {
      for (int j = 0; j <= 2; ++j) {
        std::string t = j < 2 ? CELLTEXT(i, j) : CELLTEXT(i, 2 + CELLCHOICE(i));
        if (i == 4 && j == 2) t = shown_path(t);
        // Measured in cells: a folder's letters show in the terminal's encoding.
        const size_t cells = platform::text_cells(t);
        std::int32_t n = 0;
        rt::let(n, (15.0 - static_cast<double>(cells)) / 2.0);
        if (cells <= 15) {
          CELLBUF = rt::SPACE(n) + t;
        } else {
          const std::string end = path_end(t, 15);
          const size_t last = t.find_last_of("\\/");
          const bool whole_last = last != std::string::npos && end.size() - 3 >= t.size() - last;
          CELLBUF = platform::text_cells(end) <= 15 && whole_last ? end : "..." + platform::tail_text(t, 12);
        }
        CELLBUF += std::string(15 - std::min<size_t>(15, platform::text_cells(CELLBUF)), ' ');
        con.locate(CELLROW(j), CELLCOL(i));
        con.print_text(CELLBUF, false);
      }
    }
    SETCOLOR(1);
  }

  // Go: the sheet run for activities 0, 2 and 3 (the reduced sheet), the symbol test for 1. The device of the menu cell is
  // taken first, so that the blank widths are measured for the device the run draws on.
  void KEY1() {
    trap_.section("KEY1");
    forget_run_results();  // a run of its own: its results replace those of a run before
    if (RUNFLAGS == 0) {
      SHEETMODE = CELLCHOICE(2);
      OUTDEV = 1 + CELLCHOICE(3);
    }
    CONVERTD();
    saved_statusrow_ = STATUSROW;
    run_results.clear();
    if (SHEETMODE == 0 || SHEETMODE == 2 || SHEETMODE == 3) STARTPRO();
    else if (SHEETMODE == 1) SYMBOLTE();
    else refuse_go("Activity " + rt::STR_TRIM(SHEETMODE) + " cannot be run: no sheet is made");
    STATUSROW = saved_statusrow_;
    if (RUNFLAGS == 0) closing_line_ = run_closing_line(run_results);
  }

  // The closing line of a go on the message line above the cells (an empty text blanks it).
  void show_closing_line(const std::string& text) {
    STATUSROW -= 3;
    if (text.empty()) MESSOFF();
    else MESSAGE(text, 0);
    STATUSROW += 3;
  }

  // A go that cannot be done. In a one-shot run the text is a line of its own and the run ends with
  // exit code 1; in the menu it stands on the message line above the cells until a key.
  void refuse_go(const std::string& text) {
    auto& con = platform::console();
    rt::log_note(text);
    if (RUNFLAGS & 1) {
      con.print(text, true);
      rt::set_exit_code(1);
    } else {
      STATUSROW -= 3;
      MESSAGE(text, 1);
      STATUSROW += 3;
    }
    con.flush();
    con.wait_key();
  }

  // The width of a blank of setup fonts 1 to 3 on the current device.
  void CONVERTD() {
    trap_.section("CONVERTD");
    for (int i = 1; i <= 3; ++i) {
      double h = rt::VAL(FNFINDV(FONTSPEC(i), "h"));
      double v = rt::VAL(FNFINDV(FONTSPEC(i), "v"));
      if (v == 0 && h > 0) v = 135.0 / h;
      // A code without pitch or height counts as 10 points on the plotters (as CONVERTF takes it): a
      // width of 0 would fold every paragraph into one line.
      if (v == 0 && h == 0) v = 10;
      if (OUTDEV == 2 || OUTDEV == 3) FONTWIDTH(i) = 20.0 * v / 9.0;
      else FONTWIDTH(i) = FONTSIZE(i) * CHARWIDTH(i, 32);
    }
  }

  // The sheet run: width tables for the device, "lastrun" for the next start, then the input file and
  // the whole chain of the run.
  void STARTPRO() {
    trap_.section("STARTPRO");
    if (!RUNCHECK()) return;
    forget_pdf_fonts();  // a table changed since the last run is read anew
    auto& h = menu_hand_over();
    for (std::int32_t i = 1; i <= 3; ++i) {
      // Font 3's mark is set last, so a device change (or a failed table 3) rebuilds all three.
      if (CHARWIDTH(3, 255) != 1 + OUTDEV) {
        if (h.widthtab) h.widthtab(i);
        else WIDTHTAB(i);
      }
    }
    PDFFONTCOUNT = 3;
    int f = rt::FREEFILE();
    if (rt::open_new_file(f, "lastrun")) {
      rt::print_line(f, rt::print_number(OUTDEV));
      rt::print_line(f, SETUPNAME);
      rt::close_file(f);
    }
    if (h.proshow) h.proshow();
    else PROSHOW();
    rt::close_all();
    remove_work_files();
    rt::unlock_job_folders();  // the run has ended: another may write into its job folders now
  }

  void SYMBOLTE() {
    trap_.section("SYMBOLTE");
    forget_pdf_fonts();
    platform::console().cls();
    rt::close_all();
    auto& h = menu_hand_over();
    if (h.protest) h.protest();
    else PROTEST();
  }

  void KEY2() {
    trap_.section("KEY2");
    CELLCHOICE(2) = CELLCHOICE(2) + 1;
    if (CELLCHOICE(2) > 2) CELLCHOICE(2) = 0;
  }

  void KEY3() {
    trap_.section("KEY3");
    CELLCHOICE(3) = CELLCHOICE(3) + 1;
    if (CELLCHOICE(3) > 2) CELLCHOICE(3) = 0;
  }

  // The output folder, asked on the message line three rows higher, above the cells. The question and
  // its message each keep to their row, a long folder showing its end; Enter or Esc keeps the folder.
  void KEY4() {
    trap_.section("KEY4");
    auto& con = platform::console();
    const std::string old_dir = DATADIR;
    STATUSROW -= 3;
    for (;;) {
      std::string typed;
      bool escaped = false;
      const std::string folder = shown_path(DATADIR);
      const std::string question = fit_paths(PROMPT(2) + " " + folder + " )", {folder},
                                             putone_question_room(kNameLength) - 1);
      PUTONE(question, typed, kNameLength, &escaped);
      if (escaped || rt::TRIM(typed).empty()) break;
      DATADIR = typed;
      if (platform::is_folder(DATADIR)) {
        folder_chosen_ = true;
        break;
      }
      // The row below the question, until a key; Esc there leaves the question too.
      con.locate(STATUSROW, 1);
      const std::string missing = shown_path(DATADIR);
      con.print_text(fit_paths("Folder not found : " + missing, {missing}, 78), false);
      con.flush();
      const std::string key = con.wait_key();
      con.locate(STATUSROW, 1);
      con.print(rt::SPACE(78), false);
      DATADIR = old_dir;
      if (key == "\x1B" || !con.interactive()) break;
    }
    CELLTEXT(4, 2 + CELLCHOICE(4)) = DATADIR;
    con.locate(STATUSROW, 1);
    con.print(rt::SPACE(110), true);
    STATUSROW += 3;
  }

  void KEY5() {
    trap_.section("KEY5");
    auto& h = menu_hand_over();
    if (h.prosetup) h.prosetup();
    else PROSETUP();
    // Reading the SET file again sets its output folder; one chosen with F4 stays until F4 changes it.
    const std::string chosen_folder = DATADIR;
    getsetup();
    if (folder_chosen_) DATADIR = chosen_folder;
    REPAINT = -1;
  }

  // The end: files closed, the pause the run file asked for, the window cleared.
  void KYLL() {
    trap_.section("KYLL");
    auto& con = platform::console();
    con.print("", true);
    rt::close_all();
    if (DEBUGRUN != 0) {
      con.print("Press any key to exit Veltrax", true);
      con.flush();
      con.wait_key();
    }
    con.cls();
  }

  rt::Trap& trap_;
  rt::Array2<std::string> CELLTEXT;    // (cell 1..5, 0 key label / 1 caption / 2..4 choices)
  rt::Array<std::int32_t> CELLCHOICE;  // current choice of each cell
  rt::Array<std::int32_t> CELLCOL;     // first column of each cell
  rt::Array<std::int32_t> CELLROW;     // rows of the three cell lines
  std::string CELLBUF;                 // the 15 characters painted for one cell line
  std::int32_t MENUEXIT = 0;           // -1 ends the loop
  std::int16_t REPAINT = 0;            // -1: repaint the main screen before the cells
  std::string version_label_;
  std::int32_t saved_statusrow_ = 0;
  std::string closing_line_;  // where the last go's files went, shown until the next key
  bool folder_chosen_ = false;  // the output folder was chosen with F4
};

}  // namespace

std::string run_closing_line(const std::vector<std::string>& files) {
  if (files.empty()) return "The run made nothing; no file was written.";
  auto folder_of = [](const std::string& f) {
    const size_t sep = f.find_last_of("\\/");
    return sep == std::string::npos ? std::string() : f.substr(0, sep);
  };
  std::string text;
  std::string shown;  // the path in the text, which gives way first when the line is too long
  if (files.size() == 1) {
    shown = shown_path(files[0]);
    text = "The run wrote " + shown;
  } else {
    // The folders of the files, and the folder they all lie in.
    std::vector<std::string> folders;
    for (const std::string& f : files) {
      const std::string d = folder_of(f);
      if (std::find(folders.begin(), folders.end(), d) == folders.end()) folders.push_back(d);
    }
    std::string common = folders[0];
    for (const std::string& d : folders) {
      while (!common.empty() && !(d.size() >= common.size() && d.compare(0, common.size(), common) == 0 &&
                                  (d.size() == common.size() || d[common.size()] == '\\' || d[common.size()] == '/')))
        common = folder_of(common);
    }
    text = "The run wrote " + std::to_string(files.size()) + " files in ";
    if (folders.size() > 1) text += std::to_string(folders.size()) + (common.empty() ? " folders, the first " : " folders of ");
    shown = shown_path(common.empty() ? folders[0] : common);
    text += shown;
  }
  return fit_paths(text, {shown}, 78);
}

void PROMENU() {
  RT_TRAP(trap, "PROMENU");
  MainMenu menu(trap);
  menu.run();
}

void FLUSHRIG(std::int32_t row, const std::string& text) {
  RT_TRAP(trap, "FLUSHRIG");
  auto& con = platform::console();
  long p = rt::INSTR(text, "=");
  con.locate(row, static_cast<int>(63 - p));
  con.print(text, false);
}
