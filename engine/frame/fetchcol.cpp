// FETCHCOL: the console colour pairs from the colour file, or the default file when there is none.
//
// A damaged file (too short, a number too large for its place) is reported once, naming the file and
// line; reading stops there, what was read stays and the rest keeps its default, and the engine starts.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

namespace {

const std::int32_t kDefaultPairs[5][2] = {{7, 0}, {12, 0}, {10, 0}, {15, 3}, {1, 3}};

// The items of a text file as the input statement takes them: separated by commas and line ends,
// blanks around an item dropped, a quoted item without its quotes; empty lines give no item. Past the
// last item a read reports "Input past end" (62).
class ItemReader {
 public:
  explicit ItemReader(int file) : file_(file) {}
  bool next(std::string& item) {
    while (pos_ >= items_.size()) {
      if (rt::at_eof(file_)) {
        rt::raise(62);
        return false;
      }
      std::string line;
      if (!rt::line_input(file_, line)) return false;
      split(line);
    }
    item = items_[pos_++];
    return true;
  }

 private:
  void split(const std::string& line) {
    items_.clear();
    pos_ = 0;
    if (rt::TRIM(line).empty()) return;
    std::string cur;
    bool quoted = false;
    for (char ch : line) {
      if (ch == '"') quoted = !quoted;
      else if (ch == ',' && !quoted) {
        items_.push_back(rt::TRIM(cur));
        cur.clear();
      } else {
        cur += ch;
      }
    }
    items_.push_back(rt::TRIM(cur));
  }
  int file_;
  std::vector<std::string> items_;
  size_t pos_ = 0;
};

}  // namespace

void FETCHCOL(std::string name) {
  RT_TRAP(trap, "FETCHCOL");
  for (int i = 1; i <= 5; ++i) {
    COLOURS(i, 1) = kDefaultPairs[i - 1][0];
    COLOURS(i, 2) = kDefaultPairs[i - 1][1];
  }
  if (rt::file_exists(name)) {
    int f = rt::FREEFILE();
    if (rt::open_file(f, name, rt::FileMode::Input)) {
      rt::engine_file(f);
      trap.reading(f, name);
      // Line 1: version (text), then six numbers of which the fourth is the pair count.
      ItemReader in(f);
      std::string item;
      bool ok = in.next(item);
      double head[6] = {};
      for (int k = 0; ok && k < 6; ++k) {
        ok = in.next(item);
        if (ok) head[k] = rt::VAL(item);
      }
      std::int32_t count = 0;
      if (ok) rt::let(count, head[3]);
      ok = ok && !trap.damaged();
      COLOURCOUNT = count;
      // A file that ends early stops the reading: what was read stays, the rest keeps its defaults.
      // Pairs beyond the eighth have no place in the table and are read past.
      for (std::int32_t i = 1; ok && i <= count; ++i) {
        for (int half = 1; ok && half <= 2; ++half) {
          ok = in.next(item);
          if (ok && i <= 8) rt::let(COLOURS(i, half), rt::VAL(item));
          ok = ok && !trap.damaged();
        }
      }
      rt::close_file(f);
    }
    if (COLOURCOUNT < 5) COLOURCOUNT = 5;
    if (COLOURCOUNT > 8) COLOURCOUNT = 8;
  } else {
    NOFILE(name);
    COLOURCOUNT = 5;
    int f = rt::FREEFILE();
    if (rt::open_new_file(f, name)) {
      rt::print_line(f, "7005,0,0,0,5,0,0");
      for (int i = 1; i <= 5; ++i) rt::print_line(f, rt::STR_TRIM(COLOURS(i, 1)) + "," + rt::STR_TRIM(COLOURS(i, 2)));
      rt::close_file(f);
    }
  }
}
