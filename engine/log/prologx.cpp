// The log's drawing primitives and text geometry: thick rules, dotted lines, cleaned texts, stacked
// column titles, the depth band of a record's text, numbers after markers, graph offsets and zones.
// Each hides the four devices behind one call.
//
// Printer bytes go into the hole's one printer stream, and only while it is open; numbers in them are
// written as the sheet's are (no blank inside an escape sequence, which would end it for a printer).
// Offsets worked out from the input are kept within +-32000 dots.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/convert/convert.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"

namespace {

std::string number(std::int64_t n) { return rt::STR_TRIM(n); }

// The hole's attribute records, and of each its depth and whether it is a point ("@" after the first
// character), worked out once.
struct Records {
  std::vector<std::string> text;
  std::vector<double> depth;
  std::vector<bool> point;
  void index() {
    depth.assign(text.size(), 0);
    point.assign(text.size(), false);
    for (size_t i = 0; i < text.size(); ++i) {
      const std::string z = rt::MID(text[i], 2);
      depth[i] = rt::VAL(z);
      point[i] = z.find('@') != std::string::npos;
    }
  }
};

Records& records() {
  static Records r;
  return r;
}

bool held(std::int32_t n) { return n >= 1 && static_cast<size_t>(n) <= records().text.size(); }

}  // namespace

const std::string& log_record(std::int32_t n) {
  static const std::string none;
  if (!held(n)) return none;
  return records().text[static_cast<size_t>(n) - 1];
}

void load_log_records(std::int32_t count) {
  records().text.assign(static_cast<size_t>(std::max(count, 0)), std::string());
  for (std::int32_t n = 1; n <= count; ++n) PIREAD(records().text[static_cast<size_t>(n) - 1], n, AWORKBASE + WORKSECOND);
  records().index();
}

void forget_log_records() { records() = Records(); }

void set_log_records(std::vector<std::string> r) {
  records().text = std::move(r);
  records().index();
}

void RULE4(const std::int16_t& x1, const std::int16_t& x2, const std::int16_t& y) {
  RT_TRAP(trap, "RULE4");
  const std::int32_t a = x1, b = x2, wy = y;
  if (OUTDEV == 1) {
    PDFRULE4(a - 2, b + 2, wy, 4);
  } else if (OUTDEV == 2) {
    for (std::int32_t i = 0; i <= 3; ++i) {
      PPENUP();
      PPLOT(a, wy + i);
      PPLOT(b, wy + i);
    }
  } else if (OUTDEV == 3) {
    for (std::int32_t i = 0; i <= 3; ++i) DXFLINE(a, wy + i, b, wy + i);
  } else if (plot_open) {
    TABXY(a - 2, wy);
    rt::put_bytes(PAGEFILE, "\x1b*c" + number(b - a + 5) + "a5b0P");
  }
}

void BORDER4(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2) {
  RT_TRAP(trap, "BORDER4");
  const std::int32_t wx = x;
  if (OUTDEV == 1) {
    const std::int32_t a = y1, b = y2;
    PDFBORDE4(wx, a, b, 4);  // in the caller's order
    return;
  }
  const std::int32_t a = std::min(y1, y2), b = std::max(y1, y2);
  if (OUTDEV == 2) {
    for (std::int32_t i = 0; i <= 3; ++i) {
      PPENUP();
      PPLOT(wx + i, a);
      PPLOT(wx + i, b);
    }
  } else if (OUTDEV == 3) {
    for (std::int32_t i = 0; i <= 3; ++i) DXFLINE(wx + i, a, wx + i, b);
  } else if (plot_open) {
    TABXY(wx, a);
    rt::put_bytes(PAGEFILE, "\x1b*c5a" + number(b - a) + "b0P");
  }
}

void DOTLINE(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2) {
  RT_TRAP(trap, "DOTLINE");
  const std::int32_t wx = x, a = std::min(y1, y2), b = std::max(y1, y2);
  if (a == b) return;
  if (OUTDEV == 1) {
    FPRINT("[1 3] 0 d");
    PDFBORDE(wx, a, b);
    FPRINT("[] 0 d");
  } else if (OUTDEV == 2) {
    PPENWIDT(0.08);
    PPENUP();
    PPLOT(wx, a);
    PPLOT(wx, b);
  } else if (OUTDEV == 3) {
    DXFLINE(wx, a, wx, b);
  } else if (plot_open) {
    TABXY(wx, a);
    rt::put_bytes(PAGEFILE, "\x1b*c2a" + number(b - a) + "b1g3P");
  }
}

void WASHTEXT(std::string& text) {
  RT_TRAP(trap, "WASHTEXT");
  std::int32_t count = 0;
  FNUNDERL(text, count);
  for (const std::string* code : {&SYMCODE, &BREAKCODE, &HARDSPCODE, &INDONCODE, &INDOFFCODE})
    if (!code->empty()) REPLAZE(text, *code, " ");
}

void WRITELAB(const std::int16_t& x, const std::string& text, std::int32_t room) {
  RT_TRAP(trap, "WRITELAB");
  std::string delims = " ";
  PARSVARS(text, delims);
  std::vector<std::string> words;
  for (std::int32_t i = 1; i <= PARSEDCOUNT && i <= PARSED.ubound(); ++i) words.push_back(PARSED(i));
  const bool in_block = PAGECOUNT == PAGENO || FOOTODD == 1;
  for (size_t k = 0; k < words.size(); ++k) {
    const double i = static_cast<double>(k + 1);
    const double y = in_block ? i * LAYOUTPITCH + TITLETOP - 1.2 * LOGPOINTSIZE + 2
                              : PAGELENGTH - (NAMEROWS - i) * LAYOUTPITCH - 40;
    std::string word = words[k];
    WASHTEXT(word);
    const std::int32_t wx = x, wy = static_cast<std::int32_t>(rt::round_even(std::clamp(y, -32000.0, 32000.0)));
    std::int32_t width = 0;
    if (room > 0 && fit_word(word, CURFONT, room, width)) {
      // Narrowed or cut: centred by its drawn width.
      const std::int32_t kept = TEXTORIGIN;
      TEXTORIGIN = 1;
      PRINTEXT(wx - static_cast<std::int32_t>(rt::round_even(width / 2.0)), wy, word);
      TEXTORIGIN = kept;
      continue;
    }
    PRINTEXT(wx, wy, word);
  }
}

bool fit_word(std::string& word, std::int32_t font, std::int32_t room, std::int32_t& width) {
  const std::int32_t full = FNDLEN(word, font);
  width = full;
  if (full <= room || room <= 0) return false;
  const std::string fitted = fit_text(word, font, room, false);
  // The drawn width: the visible characters at the group's hundredths.
  std::string visible = fitted;
  double percent = 100;
  if (!fitted.empty() && fitted[0] == '\x15') {
    const size_t end = fitted.find('\x15', 1);
    if (end != std::string::npos) {
      percent = rt::VAL(fitted.substr(1, end - 1));
      visible = fitted.substr(end + 1);
    }
  }
  word = fitted;
  width = static_cast<std::int32_t>(std::ceil(FNDLEN(visible, font) * percent / 100));
  return true;
}

void TEXTLINE(double& top, double& bottom, const std::int16_t& rec) {
  RT_TRAP(trap, "TEXTLINE");
  // A scale without text lines per unit gives the text no height rather than an endless band.
  const double half = UNITSPERLINE > 0 ? (ATTRROWFIELDS(rec) - 0.5) / UNITSPERLINE / 2 : 0;
  top = TEXTDEPTH(rec) - half - QUARTERLINE;
  bottom = TEXTDEPTH(rec) + half + QUARTERLINE;
}

void DNEXTVAL(const std::int32_t& pos, const std::string& text, double& value) {
  RT_TRAP(trap, "DNEXTVAL");
  std::string rest = rt::MID(text, std::max<std::int32_t>(pos + 3, 1));
  value = rt::VAL(FNCOMMA(rest));
}

double FNXSHIFT(const std::string& value, const double& max, const double& width) {
  RT_TRAP(trap, "FNXSHIFT");
  const double v = rt::VAL(value);
  double r = 0;
  if (LOGPOS > 0) {
    // log(1) is 0: a maximum of 1 gives no scale, as a maximum of 0 does.
    if (v > 0 && max > 0 && max != 1) r = std::log(v) / std::log(max);
  } else if (max != 0) {
    r = v / max;
  }
  const double shift = width * r;
  return std::isfinite(shift) ? std::clamp(shift, -32000.0, 32000.0) : 0;
}

void ZONELINE(double& top, double& bottom, const std::int16_t& rec) {
  RT_TRAP(trap, "ZONELINE");
  const Records& r = records();
  bottom = held(rec) ? r.depth[static_cast<size_t>(rec) - 1] : 0;
  top = FIRSTPAGEDEPTH;
  if (held(rec) && r.point[static_cast<size_t>(rec) - 1]) {
    top = bottom;
    return;
  }
  for (std::int32_t n = rec; n > ATTRSTART(ATTRNO) + 1;) {
    --n;
    if (!held(n)) break;
    if (!r.point[static_cast<size_t>(n) - 1]) {
      top = r.depth[static_cast<size_t>(n) - 1];
      break;
    }
  }
  if (top > bottom) top = bottom;
}
