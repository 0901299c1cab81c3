// In-memory console model and the batch back end.
#include "console.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <thread>

#include "clock.h"
#include "console_terminal.h"

namespace platform {

namespace {
void append_utf8(std::string& out, char32_t u);
}  // namespace

Console::Console(int rows) : rows_(std::max(rows, 3)) {
  pages_.assign(kPages, std::vector<Cell>(static_cast<size_t>(rows_) * kCols));
}

Console::~Console() = default;

Cell& Console::at(int page, int row, int col) {
  return pages_[page - 1][static_cast<size_t>(row - 1) * kCols + static_cast<size_t>(col - 1)];
}

const Cell& Console::cell(int page, int row, int col) const {
  static const Cell blank;
  if (page < 1 || page > kPages || row < 1 || row > rows_ || col < 1 || col > kCols) return blank;
  return pages_[page - 1][static_cast<size_t>(row - 1) * kCols + static_cast<size_t>(col - 1)];
}

void Console::locate(int row, int col) {
  if (row >= 1 && row <= rows_) row_ = row;
  if (col >= 1 && col <= kCols) col_ = col;
  on_locate(row_, col_);
}

void Console::color(int fg, int bg) {
  if (fg >= 0 && fg <= 15) attr_ = static_cast<std::uint8_t>((attr_ & 0xF0) | fg);
  if (bg >= 0 && bg <= 15) attr_ = static_cast<std::uint8_t>((attr_ & 0x0F) | (bg << 4));
}

void Console::line_feed() {
  col_ = 1;
  if (row_ < rows_) {
    ++row_;
    return;
  }
  auto& p = pages_[active_ - 1];
  std::copy(p.begin() + kCols, p.end(), p.begin());
  for (int c = 1; c <= kCols; ++c) at(active_, rows_, c) = Cell{' ', attr_};
}

void Console::put_char(std::uint8_t c) {
  switch (c) {
    case 7:
      beep();
      return;
    case 8:
      if (col_ > 1) --col_;
      return;
    case 9:
      do {
        put_char(' ');
      } while ((col_ - 1) % 8 != 0 && col_ != 1);
      return;
    case 10:
      line_feed();
      return;
    case 13:
      col_ = 1;
      return;
    default:
      break;
  }
  if (col_ > kCols) line_feed();
  at(active_, row_, col_) = Cell{c, attr_};
  ++col_;
}

void Console::print_text(std::string_view text, bool newline) {
  if (!names_in_utf8()) return print(text, newline);
  for (size_t i = 0; i < text.size();) {
    char32_t u = 0;
    if (const size_t n = name_character(text, i, u); n > 0) {
      if (col_ > kCols) line_feed();
      const int b = unicode_to_cp437(u);
      at(active_, row_, col_) = Cell{static_cast<std::uint8_t>(b >= 0 ? b : '?'), attr_, u};
      ++col_;
      i += n;
    } else {
      put_char(static_cast<std::uint8_t>(text[i++]));
    }
  }
  if (newline) line_feed();
  else if (col_ > kCols) line_feed();
  text_is_utf8_ = true;
  on_print(text, newline);
  text_is_utf8_ = false;
}

void Console::print(std::string_view text, bool newline) {
  for (char ch : text) put_char(static_cast<std::uint8_t>(ch));
  if (newline) line_feed();
  else if (col_ > kCols) line_feed();
  on_print(text, newline);
}

void Console::cls() {
  for (auto& c : pages_[active_ - 1]) c = Cell{' ', attr_};
  row_ = 1;
  col_ = 1;
  on_locate(row_, col_);
  on_change();
}

void Console::recolor(int count) {
  int r = row_, c = col_;
  for (int i = 0; i < count; ++i) {
    if (c > kCols) {
      c = 1;
      if (++r > rows_) break;
    }
    at(active_, r, c).attr = attr_;
    ++c;
  }
  on_change();
}

void Console::cursor(bool visible, int size_percent) {
  cursor_visible_ = visible;
  if (size_percent >= 1 && size_percent <= 100) cursor_size_ = size_percent;
  on_change();
}

void Console::set_active_page(int page) {
  if (page >= 1 && page <= kPages) active_ = page;
  on_change();
}

void Console::set_visible_page(int page) {
  if (page >= 1 && page <= kPages) visible_ = page;
  on_change();
}

void Console::copy_page(int from, int to) {
  if (from < 1 || from > kPages || to < 1 || to > kPages) return;
  pages_[to - 1] = pages_[from - 1];
  on_change();
}

Console::Snapshot Console::snapshot(int page) const {
  Snapshot s;
  if (page < 1 || page > kPages) page = active_;
  s.page = page;
  s.cells = pages_[page - 1];
  s.row = row_;
  s.col = col_;
  s.attr = attr_;
  s.cursor_visible = cursor_visible_;
  return s;
}

void Console::restore(const Snapshot& s) {
  if (s.page < 1 || s.page > kPages || s.cells.size() != pages_[s.page - 1].size()) return;
  pages_[s.page - 1] = s.cells;
  row_ = s.row;
  col_ = s.col;
  attr_ = s.attr;
  cursor_visible_ = s.cursor_visible;
  on_locate(row_, col_);
  on_change();
}

std::uint8_t Console::char_at(int row, int col) const { return cell(active_, row, col).ch; }

std::uint8_t Console::attr_at(int row, int col) const { return cell(active_, row, col).attr; }

std::string Console::text_at(int row, int col) const {
  const Cell& c = cell(active_, row, col);
  if (c.uc == 0) return std::string(1, static_cast<char>(c.ch));
  std::string out;
  append_utf8(out, c.uc);
  return out;
}

std::string Console::row_text(int row) const {
  std::string s;
  for (int c = 1; c <= kCols; ++c) s += static_cast<char>(char_at(row, c));
  return s;
}

void Console::mouse_on(int buttons, int events) {
  mouse_on_ = true;
  mouse_buttons_ = buttons;
  mouse_events_ = events;
}

void Console::mouse_off() { mouse_on_ = false; }

bool Console::wants_mouse(int event, int button) const {
  if (!mouse_on_ || !(mouse_events_ & event)) return false;
  // Moves and releases carry the buttons held (none for a plain move); presses and double clicks
  // count only for the chosen buttons.
  if (event == kMouseMove || event == kMouseRelease) return button == 0 || (mouse_buttons_ & button);
  return (mouse_buttons_ & button) != 0;
}

std::string mouse_key(int event, int button) {
  return std::string{'\xff', '\xff', static_cast<char>(event), static_cast<char>(button)};
}

bool is_letter_key(std::string_view key) {
  return key.size() >= 2 && key.size() <= 4 && static_cast<unsigned char>(key[0]) >= 0xC2 &&
         static_cast<unsigned char>(key[0]) != 0xFF;
}

bool is_mouse_key(std::string_view key) {
  return key.size() == 4 && static_cast<unsigned char>(key[0]) == 255 && static_cast<unsigned char>(key[1]) == 255;
}

void Console::pause_ms(int ms) { sleep_ms(ms); }

// ---------------------------------------------------------------------------------------------------

BatchConsole::BatchConsole(int rows, bool echo) : Console(rows), echo_(echo) {}

std::string BatchConsole::wait_key() {
  std::fflush(stdout);
  return kKeyEsc;
}

void BatchConsole::on_print(std::string_view text, bool newline) {
  if (!echo_) return;
  std::string out = text_is_utf8_ ? text_to_utf8(text) : cp437_to_utf8(text);
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (!text.empty()) line_open_ = true;
  // Whole lines go out at once: a run prints a dot per input line, and a system call for each would
  // cost more than reading the line.
  if (newline) {
    std::fputc('\n', stdout);
    line_open_ = false;
    std::fflush(stdout);
  }
}

void BatchConsole::flush() { std::fflush(stdout); }

void BatchConsole::on_locate(int, int) {
  // Text placed elsewhere on the screen starts a new output line.
  if (echo_ && line_open_) {
    std::fputc('\n', stdout);
    std::fflush(stdout);
    line_open_ = false;
  }
}

// ---------------------------------------------------------------------------------------------------

namespace {
std::unique_ptr<Console>& slot() {
  static std::unique_ptr<Console> c;
  return c;
}
}  // namespace

std::unique_ptr<Console> make_process_console() {
  if (auto t = TerminalConsole::open(0, 1)) return t;
  return std::make_unique<BatchConsole>();
}

Console& console() {
  auto& c = slot();
  if (!c) c = std::make_unique<BatchConsole>();
  return *c;
}

void set_console(std::unique_ptr<Console> c) { slot() = std::move(c); }

namespace {
const char32_t high[128] = {
      0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
      0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
      0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
      0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
      0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
      0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
      0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
      0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
      0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
      0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// The pictures of the control codes 0..31 on a console screen.
const char32_t low[32] = {0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
                          0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
                          0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};

void append_utf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Characters a terminal shows in two columns (East Asian wide and full-width forms, most emoji) or in
// none (combining marks, joiners): a name holding them is shown byte by byte instead.
bool single_column(char32_t u) {
  struct Range {
    char32_t a, b;
  };
  static const Range not_one[] = {
      {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0E31, 0x0E3A},
      {0x1100, 0x115F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x206F},
      {0x20D0, 0x20FF}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xA000, 0xA4CF},
      {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFE30, 0xFE4F}, {0xFEFF, 0xFEFF},
      {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F000, 0x1FAFF}, {0x20000, 0x3FFFD}, {0xE0000, 0xE0FFF}};
  if (u < 0xA0) return false;  // control characters of the second half: not letters of a name
  for (const Range& r : not_one)
    if (u >= r.a && u <= r.b) return false;
  return true;
}

int& utf8_setting() {
  static int on = -1;  // -1: not read yet
  return on;
}
}  // namespace

bool names_in_utf8() {
  int& on = utf8_setting();
  if (on < 0) {
    // The first of LC_ALL, LC_CTYPE and LANG that is set names the encoding; none, C or POSIX leave
    // UTF-8, which is what the terminal back end writes.
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
      if (const char* v = std::getenv(name); v && *v) {
        locale = v;
        break;
      }
    std::string lower;
    for (char c : locale) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool plain = lower.empty() || lower == "c" || lower == "posix";
    on = plain || lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos ? 1 : 0;
  }
  return on == 1;
}

void set_names_in_utf8(bool on) { utf8_setting() = on ? 1 : 0; }

size_t name_character(std::string_view text, size_t i, char32_t& u) {
  if (i >= text.size() || !names_in_utf8()) return 0;
  const auto b0 = static_cast<unsigned char>(text[i]);
  size_t n = 0;
  char32_t v = 0, least = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) n = 2, v = b0 & 0x1F, least = 0x80;
  else if (b0 >= 0xE0 && b0 <= 0xEF) n = 3, v = b0 & 0x0F, least = 0x800;
  else if (b0 >= 0xF0 && b0 <= 0xF4) n = 4, v = b0 & 0x07, least = 0x10000;
  else return 0;
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    v = (v << 6) | (b & 0x3F);
  }
  if (v < least || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF) || !single_column(v)) return 0;
  u = v;
  return n;
}

size_t text_cells(std::string_view text) {
  size_t cells = 0;
  for (size_t i = 0; i < text.size(); ++cells) {
    char32_t u = 0;
    const size_t n = name_character(text, i, u);
    i += n > 0 ? n : 1;
  }
  return cells;
}

std::string cut_text(std::string_view text, size_t cells) {
  size_t i = 0;
  for (size_t c = 0; i < text.size() && c < cells; ++c) {
    char32_t u = 0;
    const size_t n = name_character(text, i, u);
    i += n > 0 ? n : 1;
  }
  return std::string(text.substr(0, i));
}

std::string tail_text(std::string_view text, size_t cells) {
  const size_t all = text_cells(text);
  if (all <= cells) return std::string(text);
  return std::string(text.substr(cut_text(text, all - cells).size()));
}

std::string text_to_utf8(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    char32_t u = 0;
    if (const size_t n = name_character(text, i, u); n > 0) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      const auto b = static_cast<unsigned char>(text[i++]);
      append_utf8(out, b < 128 ? b : high[b - 128]);
    }
  }
  return out;
}

std::string cp437_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    auto b = static_cast<unsigned char>(ch);
    append_utf8(out, b < 128 ? b : high[b - 128]);
  }
  return out;
}

std::string cp437_glyph(std::uint8_t b) {
  std::string out;
  append_utf8(out, b < 32 ? low[b] : b == 127 ? char32_t{0x2302} : b < 128 ? b : high[b - 128]);
  return out;
}

std::string cell_glyph(const Cell& cell) {
  if (cell.uc == 0) return cp437_glyph(cell.ch);
  std::string out;
  append_utf8(out, cell.uc);
  return out;
}

int unicode_to_cp437(char32_t u) {
  if (u < 0x80) return static_cast<int>(u);
  for (int i = 0; i < 128; ++i)
    if (high[i] == u) return 128 + i;
  return -1;
}

}  // namespace platform
