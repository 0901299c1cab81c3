// MSVLX: the running text of a word-processor document (a compound document file, recognised by its
// first 24 bytes) as the plain text file "workfile.txt", which the conversion then reads instead.
//
// The text starts at byte 1536 (at 2560 when the 32 bytes at 1536 hold six NUL bytes or more) and ends
// at the first run of six NUL bytes. It is read in windows of 2048 bytes, each with 512 bytes of
// look-ahead, so that a field or a replacement that straddles a window's end is handled in that window
// (which then grows, and the next window starts after it). In each window the field codes go (from the
// field-open character 19 through the separator 20, or an embedded object's field through its end
// 1 + 21, whole), then the field ends 21; a tab becomes six blanks and a paragraph end (CR) CR LF. A
// paragraph longer than a line of 75 characters is broken after a blank into lines of CR LF, a tab and
// at most 67 characters, which the conversion joins again as continuation lines. The file begins with
// the line "WORDPAD".
#include <algorithm>
#include <string>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"

namespace {

constexpr std::int32_t kTextStart = 1536;
constexpr std::int32_t kLateTextStart = 2560;
constexpr long kWindow = 2048;
constexpr long kLineWidth = 75;
constexpr long kBrokenLineWidth = 67;  // after the tab that begins a broken line
const std::string kTextEnd(6, '\0');

// The window grows to end at buffer position e (from 1); the next window starts that much later.
void extend_window(long e) {
  if (e <= WPLEN) return;
  WPPOS += static_cast<std::int32_t>(e - WPLEN);
  WPLEN = static_cast<std::int16_t>(e);
}

// At most WPOVERLAP look-ahead bytes stay behind the window.
void limit_look_ahead() {
  const size_t most = static_cast<size_t>(WPLEN) + static_cast<size_t>(WPOVERLAP);
  if (WPBUF.size() > most) WPBUF.resize(most);
}

// Writes characters from..to (from 1) of the window, without NUL bytes.
void write_piece(int file, long from, long to) {
  if (to < from) return;
  std::string piece = rt::MID(WPBUF, from, to - from + 1);
  std::erase(piece, '\0');
  if (!piece.empty()) rt::print_line(file, piece, false);
}

// The edits of one window: field codes, field ends, tabs, paragraph ends.
void edit_window() {
  WPLEN = static_cast<std::int16_t>(std::min<long>(kWindow, static_cast<long>(WPBUF.size())));
  const std::string open = rt::CHR(19), object_end = rt::CHR(1) + rt::CHR(21), separator = rt::CHR(20);
  // The choice is made once per window: an object field after the first field opening strips every
  // field of the window up to the next object end.
  if (const long f = rt::INSTR(WPBUF, open); f > 0) {
    if (rt::INSTR(f, WPBUF, object_end) > 0) BASTRIP(open, object_end);
    else if (rt::INSTR(f, WPBUF, separator) > 0) BASTRIP(open, separator);
  }
  BAREPLAC(rt::CHR(21), std::string());
  BAREPLAC(rt::CHR(9), std::string(6, ' '));
  BAREPLAC(rt::CHR(13), rt::CHR(13) + rt::CHR(10));
}

// Writes the window in pieces: up to each paragraph end, and at a blank where a line is full. width is
// what is left of the output line, carried from window to window.
void write_window(int file, long& width) {
  long s = 0, b = 0, k = 0;
  while (k < WPLEN) {
    ++k;
    const char c = WPBUF[static_cast<size_t>(k - 1)];
    if (c == ' ') b = k;
    if (c == '\r') {
      write_piece(file, s + 1, k);
      s = k;
      b = 0;
      width = kLineWidth;
    } else if (k == WPLEN) {
      // The window ends within a paragraph; all of it is written, its last character too.
      write_piece(file, s + 1, WPLEN);
      width -= WPLEN - s;
    } else if (k - s >= width && b > 0) {
      // The line is broken after the blank, which it keeps.
      write_piece(file, s + 1, b);
      rt::print_line(file, "\r\n\t", false);
      s = k = b;
      b = 0;
      width = kBrokenLineWidth;
    }
  }
}

}  // namespace

void BAREPLAC(const std::string& find, const std::string& replacement) {
  RT_TRAP(trap, "BAREPLAC");
  if (find.empty()) return;
  const long flen = static_cast<long>(find.size()), rlen = static_cast<long>(replacement.size());
  long from = 1;
  while (true) {
    const long p = rt::INSTR(from, WPBUF, find);
    if (p == 0 || p > WPLEN) return;
    const long e = p + flen - 1;
    extend_window(e);
    WPBUF = rt::LEFT(WPBUF, p - 1) + replacement + rt::MID(WPBUF, e + 1);
    WPLEN = static_cast<std::int16_t>(WPLEN + rlen - flen);
    limit_look_ahead();
    // The search goes on one character after the start of the replacement: of two field ends in a
    // row, the second stays.
    from = p + 1;
  }
}

void BASTRIP(const std::string& open, const std::string& close) {
  RT_TRAP(trap, "BASTRIP");
  if (open.empty() || close.empty()) return;
  long from = 1;
  while (true) {
    const long p = rt::INSTR(from, WPBUF, open);
    if (p == 0 || p > WPLEN) return;
    const long q = rt::INSTR(p, WPBUF, close);
    if (q == 0) return;  // not closed: the rest of the window stays
    const long e = q + static_cast<long>(close.size()) - 1;
    extend_window(e);
    WPBUF = rt::LEFT(WPBUF, p - 1) + rt::MID(WPBUF, e + 1);
    WPLEN = static_cast<std::int16_t>(WPLEN - (e - p + 1));
    limit_look_ahead();
    // The search goes on one character after the stretch removed: an opening right after it stays.
    from = p + 1;
  }
}

void MSVLX() {
  RT_TRAP(trap, "MSVLX");
  const int in = rt::FREEFILE();
  if (!rt::open_file(in, SOURCENAME, rt::FileMode::Binary)) return;
  const int out = rt::FREEFILE();
  if (!rt::open_file(out, "workfile.txt", rt::FileMode::Output)) {
    rt::close_file(in);
    return;
  }
  rt::print_line(out, "WORDPAD");
  const std::int64_t length = rt::LOF(in);

  // Where the text starts: a block of NUL bytes at 1536 means a later start.
  rt::seek(in, kTextStart + 1);
  const std::string head = rt::get_bytes(in, 32);
  WPPOS = std::count(head.begin(), head.end(), '\0') >= 6 ? kLateTextStart : kTextStart;
  WPOVERLAP = 512;
  long width = kLineWidth;
  // Every window to the end of the text, also when a document has no closing run of NUL bytes.
  while (WPPOS < length) {
    rt::seek(in, static_cast<std::int64_t>(WPPOS) + 1);
    WPBUF = rt::get_bytes(in, static_cast<size_t>(kWindow + WPOVERLAP));
    WPPOS += kWindow;
    if (WPBUF.empty()) break;
    const long end = rt::INSTR(WPBUF, kTextEnd);
    if (end > 0) WPBUF = rt::LEFT(WPBUF, end - 1);
    edit_window();
    write_window(out, width);
    if (end > 0 && end <= kWindow) break;
  }
  rt::close_file(in);
  rt::close_file(out);
}
