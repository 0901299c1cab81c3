// PRINTEXT: one text at a point on the current device, aligned by TEXTORIGIN.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

void PRINTEXT(const std::int32_t& x, const std::int32_t& y, std::string& text) {
  RT_TRAP(trap, "PRINTEXT");
  if (text.find_first_not_of(' ') == std::string::npos) return;  // blanks only (TRIM gives "")
  const std::string copy = text;
  FIXFONTS(text);
  const std::int32_t font = CURFONT >= 1 && CURFONT <= 3 ? CURFONT : 1;
  const std::int32_t h = rt::to_i32(FONTHEIGHT(font));
  const std::int32_t w = FNDLEN(copy, font);
  if (OUTDEV == 1) {
    std::int32_t px = x, py = y;
    TEXTLORG(px, py, w, h);
    PDFPRINT(px, py, text);
  } else if (OUTDEV == 2) {
    PMOVE(x, y);
    PLORG(TEXTORIGIN);
    PLABEL(text);
  } else if (OUTDEV == 3) {
    std::int32_t px = x, py = y;
    TEXTLORG(px, py, w, h);
    DXFTEXT(px, py, text);
  } else if (plot_open) {
    // The printer: its own codes in the text (underline, justification moves, font codes) stay, other
    // control bytes are dropped.
    std::int32_t px = x, py = y;
    TEXTLORG(px, py, w, h);
    TABXY(px, py);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c == 27) {
        size_t j = i + 1;
        while (j < text.size() && !(text[j] >= '@' && text[j] <= 'Z')) ++j;
        out += text.substr(i, j - i + 1);
        i = j;
      } else if (c >= 32) {
        out += static_cast<char>(c);
      }
    }
    rt::put_bytes(PAGEFILE, out);
  }
}
