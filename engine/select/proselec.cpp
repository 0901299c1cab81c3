// The selection screen of an interactive run: the holes of the catalogue on a grid, the answer line
// (GINPUT, NEWPROGR) on which the user chooses holes by their codes, ranges or ALL, the scale and
// summary questions, and the coder for the chosen holes. Passes go on until an answer chooses nothing.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/proselec.h"
#include "engine/select/select.h"
#include "platform/console.h"

namespace {

constexpr long kEntry = 10;

struct Screen {
  std::int32_t rows = 1;             // R: rows of a grid column
  std::vector<std::string> entries;  // the shown entries, in grid order
  size_t hidden = 0;                 // entries of the catalogue after them, which the grid has no room for
  bool not_found = false;
  std::string search;  // the text that matched nothing, for the message
};

void prelim(Screen& s) {
  // A console of 5 rows or fewer still gets one row per grid column.
  s.rows = std::max<std::int32_t>(1, CONROWS - 5);
  PICKGRIDROW = 3, PICKGRIDCOL = 10, PICKCOLW = 14, PICKCOLX = 7;
  platform::console().cls();
}

void show_file(Screen& s) {
  auto& con = platform::console();
  OUTLIST.clear();
  HOLELIST.clear();
  INFILE.clear();
  PROFILECODE.clear();
  // The title and its rule stay on rows 1 and 2: a long input path shows its end.
  const std::string title = fit_paths(PROMPT(36) + "  \"" + SOURCENAME + "\"", {SOURCENAME}, 79);
  con.locate(1, 1);
  con.print_text(title, false);
  con.locate(2, 1);
  con.print(std::string(platform::text_cells(title), '='), false);
  const long capacity = 5L * s.rows;
  s.entries.clear();
  for (size_t at = 0; at + kEntry <= HOLECATALOG.size() && static_cast<long>(s.entries.size()) < capacity;
       at += kEntry)
    s.entries.push_back(HOLECATALOG.substr(at, kEntry));
  s.hidden = HOLECATALOG.size() / kEntry - s.entries.size();
  // The capacity message stands on the row of the answer line, which blanks it: it stays a second.
  if (static_cast<long>(HOLECATALOG.size() / kEntry) > capacity)
    show_message(" " + std::to_string(capacity) + " " + PROMPT(1), 1);
  for (size_t k = 0; k < s.entries.size(); ++k) {
    con.locate(PICKGRIDROW + static_cast<std::int32_t>(k % static_cast<size_t>(s.rows)),
               PICKGRIDCOL + static_cast<std::int32_t>(k / static_cast<size_t>(s.rows)) * PICKCOLW);
    con.print(s.entries[k].substr(0, 6), false);
    HOLELIST += s.entries[k];
  }
}

// Index (from 0) of the first shown entry that holds text, -1 when none.
long find1fil(Screen& s, const std::string& text) {
  for (size_t k = 0; k < s.entries.size(); ++k)
    if (rt::INSTR(s.entries[k], text) > 0) return static_cast<long>(k);
  s.not_found = true;
  s.search = text;
  return -1;
}

// Chooses the entry that holds text when none chosen does, else unchooses that chosen entry.
void test1fil(Screen& s, const std::string& text) {
  if (const long p = rt::INSTR(INFILE, text); p > 0) {
    INFILE.erase(static_cast<size_t>(kEntry * ((p - 1) / kEntry)), kEntry);
    return;
  }
  if (const long k = find1fil(s, text); k >= 0) INFILE += s.entries[static_cast<size_t>(k)];
}

void test_set(Screen& s, long first, long last) {
  for (long k = first; k <= last && !s.not_found; ++k) test1fil(s, s.entries[static_cast<size_t>(k)]);
}

void show_pic(const Screen& s) {
  auto& con = platform::console();
  for (size_t j = 0; j < s.entries.size(); ++j) {
    std::string mark(6, ' ');
    if (const long p = rt::INSTR(INFILE, s.entries[j]); p > 0) {
      mark = "<====";
      const std::string n = std::to_string((p - 1) / kEntry + 1) + "   ";
      mark.replace(2, 3, n.substr(0, 3));
    }
    con.locate(PICKGRIDROW + static_cast<std::int32_t>(j % static_cast<size_t>(s.rows)),
               PICKGRIDCOL + PICKCOLX + static_cast<std::int32_t>(j / static_cast<size_t>(s.rows)) * PICKCOLW);
    con.print(mark, false);
  }
}

void pick_file(Screen& s) {
  auto& con = platform::console();
  INFILE.clear();
  for (;;) {
    s.not_found = false;
    GINPUT(static_cast<std::int16_t>(CONROWS - 1), 1, PROMPT(44) + ":");
    std::string answer = TYPEDTEXT;
    TYPEDTEXT.clear();
    answer = rt::UCASE(rt::TRIM(answer));
    if (answer.empty()) return;
    if (answer == "0") {
      INFILE.clear();
      show_pic(s);
      continue;
    }
    const long count = static_cast<long>(s.entries.size());
    if (answer == "ALL" || answer == "ALS") {
      test_set(s, 0, count - 1);
      // ALL is every hole of the file, also those the grid has no room for (chosen, or unchosen, with
      // the first of them; they show no mark).
      if (s.hidden > 0 && !s.not_found) {
        const size_t first = s.entries.size() * kEntry;
        const std::string hole = HOLECATALOG.substr(first, kEntry);
        const bool choose = rt::INSTR(INFILE, hole) == 0;
        for (size_t at = first; at + kEntry <= HOLECATALOG.size(); at += kEntry) {
          const std::string entry = HOLECATALOG.substr(at, kEntry);
          const long p = rt::INSTR(INFILE, entry);
          if (choose && p == 0) INFILE += entry;
          if (!choose && p > 0) INFILE.erase(static_cast<size_t>(kEntry * ((p - 1) / kEntry)), kEntry);
        }
      }
    } else if (answer.find(',') != std::string::npos) {
      const std::string first = answer.substr(0, answer.find(','));
      const std::string last = answer.substr(answer.rfind(',') + 1);
      const long a = find1fil(s, first);
      const long b = s.not_found ? -1 : find1fil(s, last);
      if (!s.not_found) test_set(s, std::min(a, b), std::max(a, b));
    } else {
      test1fil(s, answer);
    }
    if (s.not_found) {
      MESSAGE(s.search + " " + PROMPT(43), 1);
      con.flush();
      con.wait_key();
      con.locate(CONROWS - 1, 1);
      con.print(rt::SPACE(78), false);
      continue;
    }
    show_pic(s);
  }
}

void copies() {
  if (INFILE.empty()) return;
  auto& con = platform::console();
  for (;;) {
    if (SHEETMODE == 2) {
      CLEARPRO();
      return;
    }
    con.locate(STATUSROW - 1, 1);
    con.print(rt::SPACE(75), false);
    std::string answer = " ";
    PUTONE(PROMPT(45), answer);
    const double value = std::nearbyint(rt::VAL(answer));
    // The question comes back on the same row: the refusal stands a second first.
    if (value < 0 || value > 10000 || std::isnan(value)) {
      show_message(PROMPT(46), 1);
      continue;
    }
    FORCEDSCALE = static_cast<std::int32_t>(value);
    break;
  }
  SUMMARYKEY.clear();
  std::string answer = "N";
  PUTONE(PROMPT(52), answer);
  if (rt::INSTR(PROMPT(52), "(" + rt::UCASE(answer)) > 0) SUMMARYKEY = "|SUMMARY|";
  CLEARPRO();
}

}  // namespace

void selection_screen() {
  RT_TRAP(trap, "PROSELEC");
  for (;;) {
    trap.step("0010");
    Screen s;
    prelim(s);
    show_file(s);
    pick_file(s);
    if (INFILE.empty()) return;
    trap.step("0011");
    copies();
    PROCODE();
    SETCOLOR(4);
  }
}

void GINPUT(std::int16_t row, std::int16_t col, const std::string& prompt) {
  RT_TRAP(trap, "GINPUT");
  auto& con = platform::console();
  con.locate(row, 1);
  con.print(rt::SPACE(78), false);
  TYPEDCOL = static_cast<std::int16_t>(std::min<size_t>(prompt.size() + 2, 78));
  con.locate(row, col);
  con.print(prompt, false);
  std::string key;
  do {
    NEWPROGR(key);
  } while (key != "\r" && key != "\x1B");
}

void NEWPROGR(std::string& key) {
  RT_TRAP(trap, "NEWPROGR");
  auto& con = platform::console();
  con.flush();
  key = con.wait_key();
  // Without a person at the console (or once the terminal's input has closed) the line ends as with Esc.
  if (!con.interactive()) key = "\x1B";
  // The typed text keeps every character; the row shows as much of its end as fits up to column 79.
  auto echo = [&](size_t blank_after) {
    const size_t room = static_cast<size_t>(std::max(1, 79 - TYPEDCOL));
    const std::string shown = TYPEDTEXT.size() > room ? TYPEDTEXT.substr(TYPEDTEXT.size() - room) : TYPEDTEXT;
    con.locate(CONROWS - 1, TYPEDCOL + 1);
    con.print(shown + std::string(blank_after, ' '), false);
    con.locate(CONROWS - 1, TYPEDCOL + 1 + static_cast<int>(shown.size()));
  };
  if (key == "\x1B") {
    TYPEDTEXT.clear();
    return;
  }
  if (key.size() != 1) return;
  const auto c = static_cast<unsigned char>(key[0]);
  if (c >= 30 && c <= 126) {
    TYPEDTEXT += key;
    echo(0);
    key.clear();
  } else if (c == 8) {
    if (!TYPEDTEXT.empty()) TYPEDTEXT.pop_back();
    echo(1);
  }
}
