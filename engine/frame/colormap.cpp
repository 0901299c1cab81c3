// COLORMAP: the colour chooser. A grid of the 256 combinations of the console's 16 foreground colours
// (rows 1..16) and 16 background colours (columns 3..18), and the list of colour pairs 1..COLOURCOUNT,
// each name in its own colours. In the pair phase Up and Down choose a pair; Enter moves to the grid,
// where the arrow keys move the cursor (stopping at the edges), Enter stores the combination in the pair
// and Esc goes back leaving it unchanged. Esc in the pair phase ends.
//
// Each marker stays until the next key: the chooser waits for the key (a closed input answers Esc, so
// the chooser ends instead of waiting for ever).
#include <algorithm>

#include "engine/frame/globals.h"
#include "engine/frame/pikbar.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

namespace {

// Reads one key: Enter and Esc give 13 and 27; Up and Down change vertical (the pair, or the foreground
// in the grid), Left and Right change horizontal (the background). Other keys give 0.
int READKEYS(std::int32_t& vertical, std::int32_t& horizontal) {
  const std::string k = platform::console().wait_key();
  const int code = k.empty() ? 0 : static_cast<unsigned char>(k[0]);
  if (code == 13 || code == 27) return code;
  if (platform::is_mouse_key(k) || k.size() != 2) return 0;
  switch (static_cast<unsigned char>(k[1])) {
    case 72: --vertical; break;
    case 80: ++vertical; break;
    case 75: --horizontal; break;
    case 77: ++horizontal; break;
    default: break;
  }
  return 0;
}

void put(std::int32_t row, std::int32_t col, const std::string& text, std::int32_t fg, std::int32_t bg) {
  auto& con = platform::console();
  con.locate(row, col);
  con.color(fg, bg);
  con.print(text, false);
}

}  // namespace

void COLORMAP() {
  RT_TRAP(trap, "COLORMAP");
  auto& con = platform::console();
  con.cls();
  con.cursor(false);
  con.locate(STATUSROW - 1, 5);
  con.print(" " + PROMPT(74) + " ", false);
  for (std::int32_t f = 0; f <= 15; ++f)
    for (std::int32_t b = 0; b <= 15; ++b) put(f + 1, b + 3, "0", f, b);
  for (std::int32_t i = 1; i <= COLOURCOUNT; ++i) {
    put(i + 2, 25, "  ", 7, 0);
    put(i + 2, 27, COLOURNAME(i), COLOURS(i, 1), COLOURS(i, 2));
  }
  std::int32_t s = 1, back = 0;
  for (;;) {
    // Pair phase.
    const std::int32_t i = s;
    const std::string name = COLOURNAME(i);
    put(i + 2, 25, "\xCD\x10", 15, 12);
    put(i + 2, 27, name, COLOURS(i, 1), COLOURS(i, 2));
    con.flush();
    const int key = READKEYS(s, back);
    put(i + 2, 25, "  ", 7, 0);
    put(i + 2, 27, name, COLOURS(i, 1), COLOURS(i, 2));
    if (s < 1) s = COLOURCOUNT;
    if (s > COLOURCOUNT) s = 1;
    if (key == 27) break;
    if (key != 13) continue;
    // Grid phase.
    std::int32_t f = COLOURS(i, 1), b = COLOURS(i, 2);
    for (;;) {
      put(i + 2, 25, "->", 7, 0);
      put(i + 2, 27, name, f, b);
      put(f + 1, b + 3, "\x08", f, b);
      con.flush();
      const std::int32_t cell_f = f, cell_b = b;
      const int k = READKEYS(f, b);
      put(cell_f + 1, cell_b + 3, "0", cell_f, cell_b);
      f = std::clamp(f, 0, 15);
      b = std::clamp(b, 0, 15);
      if (k == 27) break;
      if (k == 13) {
        COLOURS(i, 1) = f;
        COLOURS(i, 2) = b;
        break;
      }
    }
    s = i;
  }
  con.color(COLOURS(1, 1), COLOURS(1, 2));
  con.cls();
  con.flush();
}
