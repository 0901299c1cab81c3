// The console SET editor: the editor run (PROSETUP), its menus (WRITEMEN), the layout values
// (COPYTOTA), the file listings (READDIRE), storing a value into a line (NEWSETUP) and saving
// (SAVESETU). What a pick does is programc.cpp.
//
// The editor holds the SET file as a table of lines and addresses each setting by its position after
// the "BEGIN" lines. Faults this code does not let through:
//  - the table holds every line of the file (not the first 150 only), and a save writes them all;
//  - the positions of the "BEGIN" lines and of the name line are cleared at every read; a file without
//    a "BEGIN" line is not edited, and without the second one the page order and the conversion
//    vocabularies say so when picked;
//  - after a switch of SET file the pending changes may be saved to the file they belong to, and the
//    chosen file is read into the table before its menus are shown (it is never overwritten with the
//    lines of another file);
//  - a value is stored whole: when it is longer than the room before the "=", the "=" and the
//    description move right to one blank after it (both readers take the text before the first "=");
//    a value holding "=" is refused, and so is a logo value longer than its 6-column half, which is
//    written whole (no character of the old value stays beside a shorter new one);
//  - a save writes a new file whole and then puts it in place of the old one, so a failed write leaves
//    the old file as it was; the current name unchanged writes back to the file that was read;
//  - the listings compare the whole current name, not an 8.3 form of it;
//  - the name line the front end's editor writes (the file's whole name and a description) is kept when
//    the file is saved under its own name, and a save under another name keeps the description.
#include <algorithm>
#include <filesystem>

#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/frame/pikbar.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/seteditor.h"
#include "engine/setup/setup.h"
#include "platform/console.h"
#include "platform/paths.h"

namespace seteditor {

namespace {

constexpr int kTitleRow = 2;  // the row of the editor's title and the SET file's name

// The file a name line names, upper-cased without its folder: the text up to its first ".SET". The
// front end's editor writes the whole name and a description there ("C:\VLX7000\JOB.SET  A4 page").
std::string named_file(const std::string& l) {
  const long p = rt::INSTR(rt::UCASE(l), ".SET");
  if (p == 0) return {};
  return rt::UCASE(std::string(platform::file_part(rt::TRIM(rt::LEFT(l, p + 3)))));
}

}  // namespace

std::string line(std::int32_t n) {
  return n >= 1 && n <= SETLINECOUNT && n < static_cast<std::int32_t>(SETUPLINE.size()) ? SETUPLINE[n]
                                                                                        : std::string();
}

MessageRow::MessageRow() : row_(STATUSROW - 1) {
  auto& con = platform::console();
  for (int c = 1; c <= platform::Console::kCols; ++c) cells_.push_back({con.char_at(row_, c), con.attr_at(row_, c)});
}

void MessageRow::show(const std::string& text) const {
  auto& con = platform::console();
  con.locate(row_, kFirst);
  con.color(15, 0);
  con.print(rt::LSET(text, kWidth), false);
}

void MessageRow::hold(int most_ms) const {
  auto& con = platform::console();
  con.flush();
  // A key ends the wait early; it stays for the screen that follows.
  for (int waited = 0; waited < most_ms && !(con.interactive() && con.key_pending()); waited += 250)
    con.pause_ms(std::min(250, most_ms - waited));
}

void MessageRow::put_back() const {
  auto& con = platform::console();
  const int fg = con.foreground(), bg = con.background();
  for (int c = 1; c <= static_cast<int>(cells_.size()); ++c) {
    const platform::Cell& cell = cells_[static_cast<size_t>(c - 1)];
    con.color(cell.attr & 0x0F, cell.attr >> 4);
    con.locate(row_, c);
    con.print(std::string(1, static_cast<char>(cell.ch)), false);
  }
  con.color(fg, bg);
  con.flush();
}

void tell(const std::string& text, int hold_ms) {
  const MessageRow row;
  platform::console().beep();
  // A text longer than the line is folded: one part after the other, each for the whole time.
  for (const std::string& part : fold_words(text, MessageRow::kWidth)) {
    row.show(part);
    row.hold(hold_ms);
  }
  row.put_back();
}

void show_title() {
  auto& con = platform::console();
  // The name on the title row of every page of the editor's menus, the lower ones included, so that it
  // is there when a menu is left; a name too long for its 13 columns shows its end after "...".
  std::string name(platform::file_part(SETUPNAME));
  if (name.size() > 13) name = "..." + name.substr(name.size() - 10);
  const int active = con.active_page(), fg = con.foreground(), bg = con.background();
  // Page 1 holds the screen the editor was opened from; the editor's own pages are 2 up to its level.
  for (int page = std::min<int>(2, BARLEVEL); page <= BARLEVEL && page <= platform::Console::kPages; ++page) {
    con.set_active_page(page);
    SETCOLOR(1);
    con.locate(kTitleRow, 64);
    con.print(rt::STRING_(16 - static_cast<long>(name.size()) - 2, '\xB1') + " " + name + " ", false);
  }
  con.set_active_page(active);
  con.color(fg, bg);
  con.flush();
}

bool yes(const std::string& question, const std::string& key) {
  return !key.empty() && rt::INSTR(question, "(" + rt::UCASE(key)) > 0;
}

void FIXLAYOU(std::int32_t i) {
  const std::string l = line(SETBEGIN1 + 4 + i);
  long p = rt::INSTR(l, "=");
  if (p == 0) p = 38;
  std::string out;
  COPYTOTA(rt::LEFT(l, p - 1), i, out);
  BARTEXT(i) = out + "\xB3" + LAYOUTNAME(i);
}

FontMenu font_menu(const std::string& menu) {
  static const FontMenu menus[] = {{1, 0, 1, 8}, {2, 1, 52, 3}, {3, 52, 16, 10}, {4, 16, 26, 4}};
  const std::string u = rt::UCASE(menu);
  for (std::int32_t k = 0; k < 4; ++k)
    if (!PROMPT(117 + k).empty() && u == rt::UCASE(PROMPT(117 + k))) return menus[k];
  return {};
}

bool has_second_block() {
  if (SETBEGIN2 > 0) return true;
  tell(SETUPNAME + " has no second BEGIN line: page order and conversion vocabularies cannot be set.");
  return false;
}

}  // namespace seteditor

using seteditor::line;

namespace {

constexpr int kReadingTime = 4000;  // how long a message that matters stands, unless a key ends it

// The items of prompt-file menu k (1..4).
void READMENU(std::int32_t k) {
  const std::int32_t base = MENUFIRST(k);
  BARCOUNT = MENUCOUNT(k);
  for (std::int32_t i = 1; i <= BARCOUNT && BARTEXT.in_bounds(i); ++i) {
    BARTEXT(i) = MENUITEM1(base + i);
    BARVALUE(i) = MENUITEM2(base + i);
    if (!BARNOTE.in_bounds(i)) continue;
    BARNOTE(i) = MENUITEM3(base + i);
    if (k == 4) {
      LAYOUTNAME(i) = BARTEXT(i);
      LAYOUTHELP(i) = BARVALUE(i);
    }
  }
}

// Ends a value: from the last character backwards, the characters a file or folder name cannot end
// with become blanks (a drive's root "C:\" keeps its backslash); then the value is trimmed.
void clean_end(std::string& value) {
  static const std::string rejected = "?*.#,;\\|/_ =+[]<>\"";
  for (long k = static_cast<long>(value.size()); k >= 1; --k) {
    if (rejected.find(value[k - 1]) == std::string::npos) break;
    if (k >= 2 && value.compare(k - 2, 2, ":\\") == 0) break;
    value[k - 1] = ' ';
  }
  value = rt::TRIM(value);
}

// Puts the table into the file target, whole or not at all (a new file beside it, every write and the
// close checked, then renamed over it); a failure is said with the file and the reason, and the old
// file stays as it was.
bool write_table(const std::string& target) {
  const int f = rt::FREEFILE();
  if (!rt::open_new_file(f, target)) return false;
  bool ok = true;
  for (std::int32_t n = 1; n <= SETLINECOUNT && ok; ++n) ok = rt::print_line(f, SETUPLINE[n]);
  return rt::commit_file(f) && ok;
}

}  // namespace

void dim_editor_tables() {
  BARTEXT.dim(0, 100);
  BARVALUE.dim(0, 100);
  BARNOTE.dim(0, 20);
  LAYOUTNAME.dim(0, 20);
  LAYOUTHELP.dim(0, 20);
  LAYOUTVAL.dim(0, 20);
  BARSTACK.dim(0, 7, 0, 10);
  BARMENUS.dim(0, 7, 0, 5);
  MENUCOUNT.dim(0, 5);
  MENUFIRST.dim(0, 5);
  FONTREC.dim(0, 100);
  FONTFILES.dim(0, 100);
  FONTPICK.dim(0, 100);
}

bool READSETU() {
  RT_TRAP(trap, "PROSETUP");
  trap.section("READSETU");
  SETLINECOUNT = SETBEGIN1 = SETBEGIN2 = SETNAMELINE = SETCHANGED = 0;
  SETUPLINE.assign(1, std::string());
  SETREADNAME = SETUPNAME;
  if (SETUPNAME.empty() || !platform::exists(SETUPNAME)) {
    NOFILE(SETUPNAME);
    return false;
  }
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, SETUPNAME, rt::FileMode::Input)) return false;
  const std::string name = rt::UCASE(platform::file_part(SETUPNAME));
  std::string l;
  while (!rt::at_eof(f) && rt::line_input(f, l)) {
    SETUPLINE.push_back(l);
    ++SETLINECOUNT;
    const std::string u = rt::UCASE(l);
    if (!name.empty() && (u.rfind(name, 0) == 0 || (SETBEGIN1 == 0 && seteditor::named_file(l) == name)))
      SETNAMELINE = SETLINECOUNT;
    if (u.rfind("BEGIN", 0) == 0) (SETBEGIN1 == 0 ? SETBEGIN1 : SETBEGIN2) = SETLINECOUNT;
  }
  rt::close_file(f);
  if (SETBEGIN1 == 0) {
    auto& con = platform::console();
    MESSAGE(SETUPNAME + " has no BEGIN line: the setup editor cannot change it. " + PROMPT(110), 1);
    con.flush();
    con.wait_key();
    MESSOFF();
    return false;
  }
  for (std::int32_t i = 1; i <= 18; ++i) rt::let(LAYOUTVAL(i), rt::VAL(FNSTRIP(line(SETBEGIN1 + 4 + i))));
  return true;
}

void PROSETUP() {
  RT_TRAP(trap, "PROSETUP");
  auto& con = platform::console();
  dim_editor_tables();
  pickbar_hand_over() = PickBarHandOver{WRITEMEN, PROGRAMC};

  BARLEVEL = 1;
  PUSHSCRE();
  BARTOP = 3, BARROWS = 6, BARLEFT = 3, BARWIDTH = 13;
  FETCHMENUS();
  if (!READSETU()) {
    POPSCREE();
    return;
  }
  for (;;) {
    trap.section("REPEET");
    BARACTION = 0;
    SHADE = rt::STRING_(80, '\xB1');
    SETCOLOR(1);
    for (std::int32_t row = 1; row <= STATUSROW - 1; ++row) {
      con.locate(row, 1);
      con.print(SHADE, false);
    }
    con.locate(STATUSROW, 1);
    con.print(rt::LEFT(SHADE, 78), false);
    BARITEM = 1;
    BARMENU = "MAIN";
    ROWCENTR(BARTOP - 1, " " + PROMPT(87) + " ");
    ROWCENTR(STATUSROW - 1, " " + PROMPT(74) + " ");
    seteditor::show_title();
    PIKBARM();

    // A switch of SET file: the pending changes belong to the file read, and may be saved there.
    const bool switched = BARACTION == 2;
    const std::string chosen = SETUPNAME;
    if (switched) SETUPNAME = SETREADNAME;
    if (SETCHANGED == 1) {
      con.beep();
      std::string answer;
      QUIKPUT(static_cast<std::int16_t>(STATUSROW - 1), 1, PROMPT(112) + " ", answer, "");
      if (seteditor::yes(PROMPT(112), answer)) SAVESETU();
    }
    if (!switched) break;
    SETUPNAME = chosen;
    if (!READSETU()) break;
    READALLF();
  }
  POPSCREE();
}

void WRITEMEN() {
  RT_TRAP(trap, "PROSETUP");
  trap.section("WRITEMEN");
  LISTMAX = 19;
  const std::string menu = rt::UCASE(BARMENU);
  if (menu == "MAIN") {
    READMENU(1);
  } else if (menu == "FONTS") {
    READALLF();
    READMENU(2);
    const std::string* const names[] = {&SETFONTNAME1, &SETFONTNAME2, &SETFONTNAME3};
    for (std::int32_t i = 1; i <= 3; ++i) BARVALUE(i) += " (" + *names[i - 1] + ")";
  } else if (const seteditor::FontMenu fm = seteditor::font_menu(menu); fm.level > 0) {
    // BARTEXT(BARITEM) is still the item picked in the menu before.
    if (fm.narrow > 0) SELECTFO(BARTEXT(BARITEM), fm.narrow);
    BUILDKLA(fm.start, fm.width, BARTEXT, BARCOUNT);
    BARITEM = LISTHIT;
  } else if (menu == "PROMPTS" || menu == "PROVOCAB" || menu == "SWITCHSETUP") {
    const std::string current = menu == "SWITCHSETUP" ? SETUPNAME : FNSTRIP(line(SETBEGIN1 + (menu == "PROMPTS" ? 1 : 2)));
    READDIRE(menu == "SWITCHSETUP" ? "*.SET" : menu + ".*", BARTEXT, BARCOUNT, current);
    BARITEM = LISTHIT;
  } else if (menu == "CONVOCAB") {
    std::string current = rt::UCASE(FNSTRIP(line(SETBEGIN2 + 2)));
    std::string delims = " +,";
    PARSVARS(current, delims);
    READDIRE("CONVOCAB.*", BARTEXT, BARCOUNT, current);
    for (std::int32_t i = 1; i <= BARCOUNT; ++i) {
      std::string item = rt::UCASE(rt::LSET(BARTEXT(i), 13));
      for (std::int32_t w = 1; w <= PARSEDCOUNT; ++w) {
        if (rt::INSTR(item, PARSED(w)) == 0) continue;
        item[12] = '\x04';
        BARVALUE(i) = PROMPT(109);
        BARITEM = i;
      }
      BARTEXT(i) = item;
    }
  } else if (menu == "PATHS") {
    READMENU(3);
    BARTEXT(1) = kept_value(line(SETBEGIN1 + 4));
    BARTEXT(2) = SETBEGIN2 > 0 ? FNSTRIP(line(SETBEGIN2 + 1)) : std::string();
    BARTEXT(3) = kept_value(line(SETBEGIN1 + 24));
  } else if (menu == "LAYOUT") {
    READMENU(4);
    for (std::int32_t i = 1; i <= 18; ++i) {
      BARVALUE(i) = LAYOUTHELP(i) + "(" + BARNOTE(i) + ")";
      seteditor::FIXLAYOU(i);
    }
    BARTOP = 3;  // the 18 items on rows 4 to 21, below the title row
  }
}

void COPYTOTA(const std::string& value, std::int32_t item, std::string& out) {
  RT_TRAP(trap, "PROSETUP");
  std::string v = value;
  if (item >= 14 && item <= 16) {
    const std::string field = rt::LSET(value, 12);
    v = OUTDEV == 1 ? rt::MID(field, 7, 6) : rt::LEFT(field, 6);
  }
  out = rt::RSET(rt::TRIM(v), 5);
}

void READDIRE(const std::string& pattern, rt::Array<std::string>& names, std::int32_t& count,
              const std::string& current) {
  RT_TRAP(trap, "PROSETUP");
  trap.section("READDIRE");
  const std::string key = rt::UCASE(platform::file_part(current));
  count = 0;
  LISTHIT = 0;
  // The folder search gives the names in order by name, without regard to letter case.
  for (const std::string& name : rt::DIR(pattern)) {
    if (count >= LISTMAX) {
      auto& con = platform::console();
      MESSAGE(rt::STR(LISTMAX) + " " + PROMPT(51) + " " + pattern + "  " + PROMPT(110), 1);
      con.flush();
      con.wait_key();
      MESSOFF();
      break;
    }
    ++count;
    names(count) = name;
  }
  for (std::int32_t i = 1; i <= count; ++i) {
    BARVALUE(i) = PROMPT(106);
    if (!key.empty() && rt::INSTR(rt::UCASE(names(i)), key) > 0) {
      BARVALUE(i) = PROMPT(109);
      LISTHIT = i;
    }
  }
}

bool NEWSETUP(std::string& value, std::int32_t n) {
  RT_TRAP(trap, "PROSETUP");
  trap.section("NEWSETUP");
  clean_end(value);
  if (value.empty() || n < 1 || n > SETLINECOUNT) return false;
  if (rt::INSTR(value, "=") > 0) {
    seteditor::tell(value + " : " + PROMPT(101));
    return false;
  }
  std::string& l = SETUPLINE[n];
  const long eq = rt::INSTR(l, "=");
  const long field = eq > 0 ? eq - 1 : 38;
  const std::string old = rt::LSET(rt::LEFT(l, field), field);
  if (n >= SETBEGIN1 + 18 && n <= SETBEGIN1 + 20) {
    if (value.size() > 6) {
      seteditor::tell(value + " : " + PROMPT(101));
      return false;
    }
    // The device's half is written whole: right-aligned into its first 5 columns as the standard
    // file has it, a 6-character value filling all six.
    std::string pair = rt::LSET(old, 12);
    const long at = OUTDEV == 1 ? 7 : 1;
    const std::string half = rt::UCASE(value);
    if (rt::TRIM(rt::MID(pair, at, 6)) == half) return true;
    rt::MID_SET(pair, at, half.size() == 6 ? half : rt::RSET(half, 5) + " ");
    value = rt::RTRIM(pair);
  }
  // The rest of the line: the "=" and the description, or what stands beyond the field of a line
  // without "=" (a value that outgrows such a line gets an "=" of its own, so the readers keep it whole).
  const bool fits = static_cast<long>(value.size()) <= field;
  std::string rest = rt::MID(l, field + 1);
  if (eq == 0 && !fits) rest = "=" + rest;
  if (!fits || rt::LSET(value, field) != old) {
    SETCHANGED = 1;
    l = fits ? rt::LSET(value, field) + rest : value + " " + rest;
  }
  return true;
}

void SAVESETU() {
  RT_TRAP(trap, "PROSETUP");
  trap.section("SAVESETU");
  auto& con = platform::console();
  const seteditor::MessageRow screen_row;  // the key row, as it was before the save
  for (;;) {
    std::string answer = SETUPNAME;
    PUTONE(PROMPT(107) + SETUPNAME + ")", answer, kNameLength);
    answer = rt::TRIM(answer);
    // The current name unchanged writes back to the file that was read; a typed name goes to the
    // current folder.
    std::string target = SETREADNAME, name = SETUPNAME;
    if (!answer.empty() && rt::UCASE(answer) != rt::UCASE(SETUPNAME)) {
      const std::string base = std::filesystem::path(std::string(platform::file_part(answer))).stem().string();
      name = target = rt::UCASE(base) + ".SET";
    }
    if (target.empty()) return;
    screen_row.show(PROMPT(102) + " " + name);
    if (platform::exists(target)) {
      // The question takes the same row: the name it asks about stands a second first.
      con.flush();
      con.pause_ms(1000);
      std::string key;
      QUIKPUT(static_cast<std::int16_t>(STATUSROW - 1), 1, PROMPT(108) + " ", key, "");
      if (key == platform::kKeyEsc) {
        screen_row.put_back();
        return;
      }
      if (!seteditor::yes(PROMPT(108), key)) continue;
    }
    if (SETNAMELINE == 0 && SETBEGIN1 > 2) SETNAMELINE = 2;
    // A name line that names this file stays as it is (the front end's editor keeps its description
    // there); one that names another file gets this file's name and keeps the description after it.
    const std::string kept_name_line = line(SETNAMELINE);
    const std::string file = std::string(platform::file_part(name));
    if (SETNAMELINE > 0 && seteditor::named_file(kept_name_line) != rt::UCASE(file)) {
      const long p = rt::INSTR(rt::UCASE(kept_name_line), ".SET");
      const std::string description = p > 0 ? rt::TRIM(rt::MID(kept_name_line, p + 4)) : std::string();
      SETUPLINE[SETNAMELINE] = file + (description.empty() ? "" : "  " + description);
    }
    if (!write_table(target)) {
      if (SETNAMELINE > 0) SETUPLINE[SETNAMELINE] = kept_name_line;
      // Why it was not written stands on the message line: long enough to be read this time.
      seteditor::MessageRow().hold(kReadingTime);
      screen_row.put_back();
      return;
    }
    SETUPNAME = name;
    SETREADNAME = target;
    SETCHANGED = 0;
    seteditor::show_title();
    screen_row.put_back();
    seteditor::tell("Setup file saved as " + shown_path(target), kReadingTime);
    return;
  }
}
