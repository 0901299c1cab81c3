// PROGRAMC: what a pick in the console SET editor does, menu by menu; FNCULL.
//
// Faults this code does not let through:
//  - the folder questions are pre-filled with the value as the SET reader takes it (trimmed, inner
//    blanks kept), so Enter alone keeps "C:\My Data" as it is; the value and name questions take the
//    whole typed text, not its first 24 characters;
//  - the logo items are pre-filled with the current device's half of the line, not both halves run
//    together;
//  - without a second "BEGIN" line the page order and the conversion vocabularies say so and store
//    nothing.
#include <algorithm>
#include <vector>

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

using seteditor::CURFONT;
using seteditor::line;

namespace {

// Bounds of layout item i and their texts.
struct Limits {
  std::int32_t lo = 0, hi = 0;
  std::string lo_text, hi_text;
};

Limits LIMITS(std::int32_t i) {
  std::int32_t page = LAYOUTVAL(2);
  if (page == 0) page = 3200;
  Limits b;
  switch (i) {
    case 1: b.lo = 0, b.hi = 2; break;
    case 3: b.lo = -200, b.hi = 1500 - LAYOUTVAL(4); break;
    case 4: b.lo = -100, b.hi = 1500 - LAYOUTVAL(3); break;
    case 5: b.lo = -390, b.hi = 1200 - LAYOUTVAL(6); break;
    case 6: b.lo = 0, b.hi = 1200 - LAYOUTVAL(5); break;
    case 7: b.lo = 300, b.hi = page - 900 - LAYOUTVAL(8); break;
    case 8: b.lo = 300, b.hi = page - 900 - LAYOUTVAL(7); break;
    case 9: b.lo = 0, b.hi = 812; break;
    case 10: b.lo = -575, b.hi = 985; break;
    case 11: b.lo = -450, b.hi = 960; break;
    case 12: b.lo = 300, b.hi = 1200; break;
    case 13: b.lo = 0, b.hi = 10; break;
    case 14: b.lo = 0, b.hi = 32767; break;
    case 15: b.lo = -500, b.hi = 2000; break;
    case 16: b.lo = -500, b.hi = page; break;
    case 17: b.lo = 0, b.hi = 2000; break;
    case 18: b.lo = 3, b.hi = 9; break;
    default: break;
  }
  auto text = [](std::int32_t v) { return v > 0 ? rt::STR_TRIM(v) : rt::STR(v); };
  b.lo_text = text(b.lo);
  b.hi_text = text(b.hi);
  if (i == 2) b.lo_text = "A4", b.hi_text = "A3";
  return b;
}

void layout_pick() {
  const std::int32_t i = BARITEM, n = SETBEGIN1 + 4 + i;
  const Limits b = LIMITS(i);
  std::string answer = FNSTRIP(line(n));
  if (i >= 14 && i <= 16) {
    const std::string pair = rt::LSET(rt::LEFT(line(n), std::max(rt::INSTR(line(n), "=") - 1, 0L)), 12);
    answer = rt::TRIM(OUTDEV == 1 ? rt::MID(pair, 7, 6) : rt::LEFT(pair, 6));
  }
  PUTONE(PROMPT(111) + " " + LAYOUTHELP(i) + "(" + b.lo_text + ".." + b.hi_text + ")", answer, kWholeEntry);
  if (rt::TRIM(answer).empty()) return;
  std::int32_t v = 0;
  rt::let(v, rt::VAL(answer));
  if (v < b.lo || v > b.hi) {
    seteditor::tell(PROMPT(101));
    return;
  }
  std::string value = rt::UCASE(answer);
  if (!NEWSETUP(value, n)) return;
  seteditor::FIXLAYOU(i);
  LAYOUTVAL(i) = v;
}

void paths_pick() {
  const std::int32_t item = BARITEM;
  std::int32_t n = 0;
  if (item == 1) n = SETBEGIN1 + 4;
  else if (item == 2 && seteditor::has_second_block()) n = SETBEGIN2 + 1;
  else if (item == 3) n = SETBEGIN1 + 24;
  if (n == 0) return;
  std::string answer = kept_value(line(n));
  PUTONE(PROMPT(106) + " " + BARVALUE(item), answer, kNameLength);
  NEWSETUP(answer, n);
  if (item == 3 && SETCHANGED > 0) {
    READALLF();
    WRITEMEN();
  }
  if (!rt::TRIM(answer).empty()) BARTEXT(item) = item == 2 ? FNSTRIP(line(n)) : kept_value(line(n));
  // The message line as the editor's screen has it: the shade and the key row.
  auto& con = platform::console();
  SETCOLOR(1);
  con.locate(STATUSROW - 1, 1);
  con.print(rt::STRING_(78, '\xB1'), false);
  ROWCENTR(STATUSROW - 1, " " + PROMPT(74) + " ");
}

void convocab_pick() {
  std::string& picked = BARTEXT(BARITEM);
  picked = rt::LSET(picked, 13);
  picked[12] = rt::INSTR(picked, "\x04") == 0 ? '\x04' : ' ';
  std::string list;
  for (std::int32_t i = 1; i <= BARCOUNT; ++i) {
    const std::string& item = BARTEXT(i);
    if (rt::INSTR(item, "\x04") > 0) {
      const long dot = rt::INSTR(item, ".");
      if (dot > 0) list += rt::RTRIM(rt::MID(rt::LEFT(item, 12), dot + 1, 3)) + ",";
      BARVALUE(i) = PROMPT(109);
    } else {
      BARVALUE(i) = PROMPT(106);
    }
  }
  if (!list.empty()) {
    std::string value = rt::UCASE(list);
    NEWSETUP(value, SETBEGIN2 + 2);
  }
  BARACTION = 0;
}

// Writes the console colour pairs into the colour file.
void COLORS() {
  COLOURCOUNT = 4;
  COLORMAP();
  COLOURCOUNT = 5;
  const int f = rt::FREEFILE();
  if (!rt::open_new_file(f, "PROCOLOR.CUS")) return;
  std::int32_t version = 0;
  rt::let(version, rt::VAL(VERSION));
  rt::print_line(f, rt::STR_TRIM(version) + ",0,1,0," + rt::STR_TRIM(COLOURCOUNT) + ",0,0");
  for (std::int32_t i = 1; i <= COLOURCOUNT; ++i)
    rt::print_line(f, rt::STR_TRIM(COLOURS(i, 1)) + "," + rt::STR_TRIM(COLOURS(i, 2)));
  rt::close_file(f);
}

// A size picked in the last font menu: the font goes into the slot being edited (CURFONT) and the
// slot's two SET lines. The font is the first in choice whose size column is the one picked (the
// slots are in choice too, so two fonts may show the same size). A scalable font asks for its size; a
// size out of range stores nothing and the menu stays open.
void size_pick() {
  const std::string picked = rt::LSET(BARTEXT(BARITEM), 4);
  std::int32_t r = FONTPICK(BARITEM);
  for (std::int32_t i = 1; i <= FONTPICKCOUNT; ++i) {
    if (rt::MID(FONTREC(FONTPICK(i)), 26, 4) == picked) {
      r = FONTPICK(i);
      break;
    }
  }
  const std::int32_t slot = (CURFONT - 23) / 2;
  std::string rec = FONTREC(r);
  if (rt::MID(rec, 46, 1) == "S") {
    std::string size = rt::MID(rt::STR(rt::VAL(BARTEXT(BARITEM))), 2);
    PUTONE(PROMPT(121) + " " + PROMPT(106) + " " + PROMPT(120), size, kWholeEntry);
    const double points = rt::VAL(size);
    if (!(points > 6 && points < 16)) {
      seteditor::tell(size + " " + PROMPT(120) + " : " + PROMPT(101));
      BARACTION = 0;
      return;
    }
    const std::string old = rt::MID(rec, 26, 4), fresh = rt::RSET(size, 4);
    REPLAZE(rec, rt::TRIM(old) + "v", fresh + "v");
    REPLAZE(rec, old, fresh);
    FONTREC(slot) = rec;
  }
  std::string name = rt::MID(rec, 34, 12);
  std::string codes = rt::LSET(rt::MID(rec, 47), 39);
  if (CURFONT == 29) REPLAZE(codes, "(", ")");
  else REPLAZE(codes, ")", "(");
  NEWSETUP(name, SETBEGIN1 + CURFONT);
  NEWSETUP(codes, SETBEGIN1 + CURFONT + 1);
  BARACTION = 3;
}

std::vector<std::int32_t> fonts_in_choice() {
  std::vector<std::int32_t> v;
  for (std::int32_t i = 1; i <= FONTPICKCOUNT; ++i) v.push_back(FONTPICK(i));
  return v;
}

// A pick in a menu that opens another: MAIN and the font menus.
void branch_pick() {
  const std::string menu = rt::UCASE(BARMENU);
  std::string next;
  bool action = false;  // a full-screen action instead of a menu
  if (menu == "MAIN") {
    switch (BARITEM) {
      case 1: next = "FONTS"; break;
      case 2: next = "PROMPTS"; break;
      case 3: next = "PROVOCAB"; break;
      case 4:
        if (seteditor::has_second_block()) next = "CONVOCAB";
        break;
      case 5: next = "PATHS"; break;
      case 6: next = "LAYOUT"; break;
      case 7:
      case 8: action = true; break;
      case 9: next = "SWITCHSETUP"; break;
      default: break;
    }
  }
  std::int32_t keep_item = 0;  // the font menus take their highlight from the list they build
  if (menu == "FONTS" && BARITEM >= 1 && BARITEM <= 3) {
    const std::int32_t slots[] = {SETFONT1, SETFONT2, SETFONT3};
    FONTCUR = slots[BARITEM - 1];
    CURFONT = 23 + 2 * BARITEM;
    next = PROMPT(117);
    keep_item = BARITEM;
  } else if (const seteditor::FontMenu fm = seteditor::font_menu(menu); fm.level >= 1 && fm.level <= 3) {
    next = PROMPT(117 + fm.level);
    keep_item = BARITEM;
  }
  if (next.empty() && !action) return;
  const std::int32_t picked = BARITEM;
  // The fonts in choice at this menu; a deeper font menu narrows them, and they come back when it is left.
  const std::vector<std::int32_t> choice = fonts_in_choice();
  if (!PUSHSCRE()) return;
  if (action) {
    if (picked == 7) COLORS();
    else SAVESETU();
  } else {
    BARMENU = next;
    BARITEM = keep_item > 0 ? keep_item : 1;
    PIKBARM();
  }
  POPSCREE();
  if (const seteditor::FontMenu fm = seteditor::font_menu(BARMENU); fm.level > 0) {
    FONTPICKCOUNT = static_cast<std::int32_t>(choice.size());
    for (std::int32_t i = 1; i <= FONTPICKCOUNT; ++i) FONTPICK(i) = choice[static_cast<size_t>(i - 1)];
    BUILDKLA(fm.start, fm.width, BARTEXT, BARCOUNT);
    BARITEM = LISTHIT;
  } else {
    WRITEMEN();
  }
}

}  // namespace

void PROGRAMC() {
  RT_TRAP(trap, "PROGRAMC");
  const std::string menu = rt::UCASE(BARMENU);
  if (menu == "LAYOUT") {
    layout_pick();
  } else if (menu == "PATHS") {
    paths_pick();
  } else if (menu == "PROMPTS" || menu == "PROVOCAB") {
    std::string value = BARTEXT(BARITEM);
    NEWSETUP(value, SETBEGIN1 + (menu == "PROMPTS" ? 1 : 2));
    BARACTION = 1;
  } else if (menu == "SWITCHSETUP") {
    std::string name = BARTEXT(BARITEM);
    SETUPNAME = FNCULL(name);
    BARACTION = 2;
  } else if (menu == "CONVOCAB") {
    convocab_pick();
  } else if (seteditor::font_menu(menu).level == 4) {
    size_pick();
  } else {
    branch_pick();
  }
}

void SELECTFO(const std::string& key, std::int32_t start) {
  RT_TRAP(trap, "PROGRAMC");
  const std::int32_t n = FONTPICKCOUNT;
  FONTPICKCOUNT = 0;
  for (std::int32_t i = 1; i <= n; ++i)
    if (rt::INSTR(start, FONTREC(FONTPICK(i)), key) == start) FONTPICK(++FONTPICKCOUNT) = FONTPICK(i);
}

void BUILDKLA(std::int32_t start, std::int32_t width, rt::Array<std::string>& items, std::int32_t& count) {
  RT_TRAP(trap, "PROGRAMC");
  count = 0;
  LISTHIT = 1;
  std::vector<std::string> seen;
  for (std::int32_t i = 1; i <= FONTPICKCOUNT; ++i) {
    const std::string field = rt::LSET(rt::MID(FONTREC(FONTPICK(i)), start, width), width);
    std::int32_t j = 1;
    if (rt::TRIM(field).empty()) {
      j = 1;
    } else if (auto at = std::find(seen.begin(), seen.end(), field); at != seen.end()) {
      j = static_cast<std::int32_t>(at - seen.begin()) + 1;
    } else {
      seen.push_back(field);
      ++count;
      const long slash = rt::INSTR(field, "/");
      items(count) = slash > 0 ? rt::LEFT(field, slash - 1) : field;
      BARVALUE(count) = PROMPT(106) + " " + BARMENU;
      j = count;
    }
    if (FONTPICK(i) == FONTCUR) {
      BARVALUE(j) = PROMPT(109) + " " + BARMENU;
      LISTHIT = j;
    }
  }
}

std::string FNCULL(std::string& s) {
  RT_TRAP(trap, "PROGRAMC");
  s = rt::TRIM(s);
  for (size_t p; (p = s.find("  ")) != std::string::npos;) s.erase(p, 1);
  return s;
}
