// PICKFTCH: the console file picker. The remembered input files in a framed list, a row taken into the
// "Filemask = " field, and the listing of what a mask or a folder matches, until an existing file is
// chosen (it goes on top of the remembered files) or the user cancels ("NIL").
// PAINTBOX recolours cells and keeps their characters (the picker's highlight bar).
#include <algorithm>
#include <cstdlib>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/run/picker.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"
#include "platform/paths.h"

void PAINTBOX(const std::int32_t& first, const std::int32_t& last, const std::int32_t& first_col,
              const std::int32_t& last_col, const std::int32_t& top, const std::int32_t& left, std::int32_t& entry) {
  RT_TRAP(trap, "PAINTBOX");
  const bool inverse = entry <= 0;
  entry = std::abs(entry);
  if (entry > COLOURS.ubound(1)) return;
  const std::int32_t fg = COLOURS(entry, inverse ? 2 : 1), bg = COLOURS(entry, inverse ? 1 : 2);
  auto& con = platform::console();
  con.color(fg, bg);
  for (std::int32_t r = first; r <= last; ++r) {
    con.locate(top + r, left + first_col);
    con.recolor(last_col - first_col + 1);
  }
}

namespace {

constexpr std::int32_t kSlots = 90;       // display slots, and the most entries a listing shows
constexpr size_t kSlotLength = 259;       // longest name a slot holds
constexpr std::int32_t kNormal = 1, kBar = 4;
constexpr int kInputRow = 22, kInputCol = 3, kInputCells = 76;
constexpr int kNoteRow = 10, kKeyRow = 24;  // the row above the heading; the key row below the field

// The keys of the list and of the Filemask field, on the key row.
constexpr const char* kListKeys = "Up Down Home End: move   Enter: take the name   Esc: back";
constexpr const char* kFieldKeys = "Enter: open the file, or list a folder or mask (*, ?)   F3: last   Esc: back";

// A text centred on a row between the background's edges (columns 2 to 79); an empty text blanks it.
void centred(int row, const std::string& text) {
  auto& con = platform::console();
  if (row > con.rows()) return;
  const std::string t = text.substr(0, 78);
  const size_t left = (78 - t.size()) / 2;
  con.locate(row, 2);
  con.print(std::string(left, ' ') + t + std::string(78 - left - t.size(), ' '), false);
}

// The picker's display list and its key loop.
class Picker {
 public:
  Picker() : slots_(kSlots + 1) {}

  // Copies the remembered files into the display slots.
  void show_remembered(const std::vector<std::string>& list, std::int32_t count) {
    BARCOUNT = std::min(count, kSlots);
    for (std::int32_t i = 1; i <= kSlots; ++i)
      slots_[i] = i <= BARCOUNT ? list[static_cast<size_t>(i)].substr(0, kSlotLength) : std::string();
  }

  // Lets the user take a row: the slot's name, or false when the list was left with Esc.
  bool pick_a_row(std::string& name) {
    offset_ = 0;
    SETCOLOR(kNormal);
    std::int32_t top = BARTOP, left = BARLEFT, height = BARROWS + 2, width = BARWIDTH + 2;
    DRAW1BOX(top, left, height, width);
    centred(kKeyRow, kListKeys);
    show_file();
    std::int32_t chosen = pick_line();
    if (chosen == 0) return false;
    name = chosen >= 1 && chosen <= kSlots ? slots_[chosen] : std::string();
    return true;
  }

  // Lists what a mask matches: folder part + name of each entry (no hidden ones, the first 90 by
  // name), in the order of the folder search: by name without regard to letter case. Slots beyond
  // the listing are emptied, so no name of an earlier list can be taken from a row that shows nothing.
  void make_a_list(const std::string& mask) {
    BARCOUNT = 0;
    bool cut = false;
    if (!mask.empty()) {
      const char last = mask.back();
      const std::string pattern = last == '\\' || last == '/' ? mask + "*" : mask;
      const std::string folder(platform::folder_part(mask));
      const auto entries = platform::list_matching(pattern, kSlots + 1, false);
      cut = entries.size() > static_cast<size_t>(kSlots);
      for (const auto& e : entries)
        if (BARCOUNT < kSlots) slots_[++BARCOUNT] = (folder + e.name).substr(0, kSlotLength);
    }
    for (std::int32_t i = BARCOUNT + 1; i <= kSlots; ++i) slots_[i].clear();
    // A list cut at the slots says so above the heading, and how to see the rest.
    SETCOLOR(kNormal);
    centred(kNoteRow, cut ? "Only the first " + std::to_string(kSlots) +
                                " names are listed: narrow the file mask (e.g. B*.TXT)"
                          : std::string());
    auto& con = platform::console();
    con.locate(kInputRow, kInputCol);
    con.print(rt::SPACE(kInputCells), false);
  }

 private:
  // The entries that fall on the box's rows, padded to its width; a longer one shows its end.
  void show_file() {
    SETCOLOR(kNormal);
    auto& con = platform::console();
    for (std::int32_t i = 1; i <= BARCOUNT; ++i) {
      const std::int32_t row = i - offset_;
      if (row < 1 || row > BARROWS) continue;
      // A name too long for the row shows its end, which tells the entries of a deep folder apart.
      // Names show in the terminal's encoding ("Ärger süd.txt"): the row is measured in cells.
      std::string shown = platform::cut_text(path_end(slots_[i], BARWIDTH), static_cast<size_t>(BARWIDTH));
      shown += std::string(static_cast<size_t>(BARWIDTH) - platform::text_cells(shown), ' ');
      con.locate(BARTOP + row, BARLEFT + 1);
      con.print_text(shown, false);
    }
  }

  void paint(std::int32_t row, std::int32_t entry) {
    PAINTBOX(row, row, 1, BARWIDTH, BARTOP, BARLEFT, entry);
  }

  // Moves the bar to BARRIGHT, scrolling by one entry at the box's edges while entries remain there.
  void show_bright() {
    if (BARRIGHT == previous_) return;
    paint(previous_, kNormal);
    if (BARRIGHT > BARROWS) {
      if (BARCOUNT - BARROWS > offset_) {
        ++offset_;
        show_file();
      }
      BARRIGHT = BARROWS;
    } else if (BARRIGHT < 1) {
      if (offset_ > 0) {
        --offset_;
        show_file();
      }
      BARRIGHT = 1;
    }
    paint(BARRIGHT, kBar);
    previous_ = BARRIGHT;
  }

  // The list's key loop; the number of the slot taken, 0 for Esc.
  std::int32_t pick_line() {
    auto& con = platform::console();
    BARRIGHT = previous_ = 1;
    paint(BARRIGHT, kBar);
    con.mouse_on(3, platform::kMousePress | platform::kMouseDouble);
    for (;;) {
      con.flush();
      std::string k = con.wait_key();
      // Without a person at the console no key will come: the list is left as with Esc.
      if (!con.interactive()) k = "\x1B";
      if (platform::is_mouse_key(k)) {
        const int row = con.mouse_row() - BARTOP, col = con.mouse_col();
        if (row < 1 || row > BARROWS || col <= BARLEFT || col > BARLEFT + BARWIDTH) continue;
        BARRIGHT = row;
        show_bright();
        break;
      }
      if (k == "\r") break;
      if (k == "\x1B") return 0;
      if (k.size() != 2 || k[0] != '\0') continue;
      switch (static_cast<unsigned char>(k[1])) {
        case 72: --BARRIGHT; show_bright(); break;
        case 80: ++BARRIGHT; show_bright(); break;
        case 79:  // End: the last entry, on the last row when the list is longer than the box
          if (BARRIGHT < BARROWS) {
            offset_ = std::max(0, BARCOUNT - BARROWS);
            show_file();
            BARRIGHT = std::clamp(BARCOUNT - offset_, 1, BARROWS);
            show_bright();
          }
          break;
        case 71:
          if (BARRIGHT > 1) {
            offset_ = 0;
            show_file();
            BARRIGHT = 1;
            show_bright();
          }
          break;
        default: break;
      }
    }
    paint(BARRIGHT, kNormal);
    return offset_ + BARRIGHT;
  }

  std::vector<std::string> slots_;
  std::int32_t offset_ = 0;
  std::int32_t previous_ = 1;
};

}  // namespace

void PICKFTCH(std::string& result) {
  RT_TRAP(trap, "PICKFTCH");
  auto& con = platform::console();
  BARLEFT = 2, BARTOP = 12, BARROWS = 8, BARWIDTH = 76;
  SETCOLOR(kNormal);
  for (int row = BARTOP - 2; row <= BARTOP - 1; ++row) {
    con.locate(row, 2);
    con.print(rt::SPACE(78), false);
  }
  con.locate(BARTOP - 1, BARWIDTH / 2 + BARLEFT - 16);
  con.print("SELECT [drive:\\][path\\]filename", false);

  std::vector<std::string> remembered;
  std::int32_t count = 0;
  POPFILES(remembered, count);
  Picker picker;
  picker.show_remembered(remembered, count);
  result.clear();
  for (;;) {
    std::string mask;
    if (!picker.pick_a_row(mask)) {
      result = "NIL";
      return;
    }
    mask = rt::TRIM(mask);
    std::string hint;
    SETCOLOR(kNormal);
    centred(kKeyRow, kFieldKeys);
    PICKPUT1(kInputRow, kInputCol, "Filemask = ", mask, hint);
    mask = rt::TRIM(mask);
    SETCOLOR(kBar);
    con.locate(kInputRow, kInputCol);
    con.recolor(kInputCells);
    if (mask.empty()) {
      result = "NIL";
      return;
    }
    if (mask.find_first_of("?*") != std::string::npos) {
      picker.make_a_list(mask);
      continue;
    }
    if (platform::exists(mask) && !platform::is_folder(mask)) {
      PUSHFILE(remembered, count, mask);
      result = rt::TRIM(mask);
      return;
    }
    if (platform::is_folder(mask)) {
      const char last = mask.back();
      if (last != '\\' && last != '/') mask += "\\";
      picker.make_a_list(mask + "*.*");
      continue;
    }
    // The message stays on the input row (a long mask shows its end) until a key is pressed.
    const std::string message = fit_paths("Cant find filemask ! " + mask, {mask}, kInputCells);
    con.locate(kInputRow, kInputCol);
    con.print_text(message, false);
    con.flush();
    con.wait_key();
    con.locate(kInputRow, kInputCol);
    con.print(rt::SPACE(static_cast<long>(platform::text_cells(message))), false);
  }
}
