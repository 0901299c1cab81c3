// PIKBARM, PUSHSCRE, POPSCREE: the pick-bar menu and the menu stack.
//
// Faults this code does not let through:
//  - item texts are cut so that the value column keeps at least 10 columns: a long item (a long file
//    name) would leave it none, and the shade strip would be asked for a negative count of characters;
//  - Enter with no item highlighted (a file menu whose current file is not listed) does nothing until
//    Up or Down has highlighted one, instead of handing item 0 to the editor;
//  - a push beyond level 7 is refused: the context table holds levels 0..7 and the console 8 pages.
#include "engine/frame/pikbar.h"

#include <algorithm>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

PickBarHandOver& pickbar_hand_over() {
  static PickBarHandOver h;
  return h;
}

namespace {

constexpr std::int32_t kMostItems = 19;
constexpr std::int32_t kLastItemRow = 21;
constexpr std::int32_t kLeastValueField = 10;
constexpr std::int32_t kDeepestLevel = 7;

std::vector<std::string> value_lines(std::int32_t f);

// Draws row r of the menu whose item column is w wide: the item in pair 4 when highlighted (else pair
// 1), upper-cased, then from column BARRIGHT + 2 to 79 the value ("< " and the value) for the
// highlighted item or the shade strip for the others.
void ROWSHOW(std::int32_t r, std::int32_t w) {
  auto& con = platform::console();
  const std::int32_t i = r - BARROW;
  SETCOLOR(i == BARITEM ? 4 : 1);
  con.locate(r, BARLEFT + 1);
  con.print(rt::UCASE(rt::LSET(BARTEXT(i), w)), false);
  SETCOLOR(1);
  con.locate(r, BARRIGHT + 2);
  const std::int32_t f = std::max(78 - BARRIGHT, 2);
  if (i == BARITEM) con.print(rt::LSET(value_lines(f).front(), f), false);
  else con.print(" \xB0" + rt::STRING_(f - 2, '\xB1'), false);
}

// The highlighted item's value as it shows beside the menu: "< " and the value, folded at blanks into
// lines of the f columns before the screen's edge (the lines after the first indented by two).
std::vector<std::string> value_lines(std::int32_t f) {
  std::vector<std::string> lines = fold_words(BARVALUE(BARITEM), static_cast<size_t>(std::max(f - 2, 1)));
  if (lines.empty()) lines.emplace_back();
  for (size_t k = 0; k < lines.size(); ++k) lines[k] = (k == 0 ? "< " : "  ") + lines[k];
  return lines;
}

void SHOWPAGE(std::int32_t w) {
  for (std::int32_t r = BARTOP + 1; r <= BARTOP + BARCOUNT; ++r) ROWSHOW(r, w);
  // A value longer than its row goes on over the rows of the items below it, where their shade strips
  // stand; where the menu has too few rows below, it is cut after a word with a mark. Nothing is cut
  // at the screen's edge.
  const std::int32_t f = std::max(78 - BARRIGHT, 2);
  std::vector<std::string> lines = value_lines(f);
  const std::int32_t row = BARROW + BARITEM;
  if (lines.size() > 1 && BARITEM >= 1 && BARITEM <= BARCOUNT) {
    auto& con = platform::console();
    SETCOLOR(1);
    const auto room = static_cast<size_t>(std::max(1, BARBOTTOM - row + 1));
    if (lines.size() > room) {
      lines.resize(room);
      std::string& last = lines.back();
      while (static_cast<std::int32_t>(last.size()) + 4 > f && last.find(' ', 2) != std::string::npos)
        last = rt::RTRIM(last.substr(0, last.rfind(' ')));
      if (static_cast<std::int32_t>(last.size()) + 4 > f) last.resize(static_cast<size_t>(std::max(f - 4, 0)));
      last += " ...";
    }
    for (size_t k = 0; k < lines.size(); ++k) {
      con.locate(row + static_cast<std::int32_t>(k), BARRIGHT + 2);
      con.print(rt::LSET(lines[k], f), false);
    }
  }
  platform::console().flush();
}

void call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

void PIKBARM() {
  RT_TRAP(trap, "PIKBARM");
  auto& con = platform::console();
  call(pickbar_hand_over().writemen);
  if (BARCOUNT < 1) return;
  BARROW = BARTOP;
  std::int32_t w = BARWIDTH;
  const std::int32_t listed = std::min<std::int32_t>(BARCOUNT, static_cast<std::int32_t>(BARTEXT.ubound()));
  for (std::int32_t i = 1; i <= listed; ++i) w = std::max(w, static_cast<std::int32_t>(BARTEXT(i).size()));
  w = std::max<std::int32_t>(1, std::min(w, 78 - kLeastValueField - BARLEFT));
  if (BARCOUNT > kMostItems) BARCOUNT = kMostItems;
  const std::int32_t n = BARCOUNT;
  while (n + BARTOP > kLastItemRow) {
    --BARTOP;
    --BARROW;
  }
  BARBOTTOM = BARTOP + n;
  BARRIGHT = BARLEFT + w;
  std::int32_t height = n + 2, width = w + 2;
  BOX(BARTOP, BARLEFT, height, width);
  DROPSHAD(BARTOP, BARLEFT, n + 2, w + 2);
  SHOWPAGE(w);
  con.mouse_on(platform::kMouseLeft | platform::kMouseRight, platform::kMouseDouble | platform::kMousePress);

  // Picks item BARITEM; true when the outcome leaves this menu.
  auto pick = [&]() {
    ROWSHOW(BARROW + BARITEM, w);
    con.flush();
    call(pickbar_hand_over().programc);
    if (BARACTION == 3 && BARLEVEL > 2) return true;
    if (BARACTION == 2) return true;
    if (BARACTION == 1 && BARLEVEL > 1) return true;
    BARACTION = 0;
    return false;
  };

  for (;;) {
    const std::string k = con.wait_key();
    if (platform::is_mouse_key(k)) {
      const std::int32_t row = con.mouse_row(), col = con.mouse_col();
      if (col >= BARLEFT + 1 && col <= BARRIGHT && row >= BARTOP + 1 && row <= BARBOTTOM) {
        BARITEM = row - BARROW;
        if (pick()) return;
      }
    } else if (k == "\r") {
      if (BARITEM >= 1 && BARITEM <= BARCOUNT && pick()) return;
    } else if (k == platform::kKeyEsc) {
      if (BARLEVEL > 2) BARACTION = 3;
      BARITEM = 0;
      return;
    } else if (k.size() == 2 && k[0] == '\0') {
      if (k[1] == 72) {
        --BARITEM;
        if (BARITEM < 1 || BARITEM > BARCOUNT) BARITEM = BARCOUNT;
      } else if (k[1] == 80) {
        ++BARITEM;
        if (BARITEM > BARCOUNT || BARITEM < 1) BARITEM = 1;
      }
    }
    SHOWPAGE(w);
  }
}

bool PUSHSCRE() {
  RT_TRAP(trap, "PUSHSCRE");
  const std::int32_t level = BARLEVEL;
  if (level < 1 || level > kDeepestLevel) return false;
  const std::int32_t saved[] = {BARCOUNT, BARITEM, BARTOP, BARLEFT, BARBOTTOM, BARRIGHT, BARROW};
  for (std::int32_t slot = 1; slot <= 7; ++slot) BARSTACK(level, slot) = saved[slot - 1];
  BARMENUS(level, 1) = BARMENU;
  auto& con = platform::console();
  con.copy_page(level, level + 1);
  BARLEVEL = level + 1;
  con.set_active_page(BARLEVEL);
  con.set_visible_page(BARLEVEL);
  BARLEFT += 5;
  BARTOP = BARTOP + BARITEM + 1;
  return true;
}

void POPSCREE() {
  RT_TRAP(trap, "POPSCREE");
  if (BARLEVEL <= 1) return;
  const std::int32_t level = --BARLEVEL;
  std::int32_t* const restored[] = {&BARCOUNT, &BARITEM, &BARTOP, &BARLEFT, &BARBOTTOM, &BARRIGHT, &BARROW};
  for (std::int32_t slot = 1; slot <= 7; ++slot) *restored[slot - 1] = BARSTACK(level, slot);
  BARMENU = BARMENUS(level, 1);
  auto& con = platform::console();
  con.set_active_page(level);
  con.set_visible_page(level);
  con.flush();
}
