// The logo's placement: PDFLOGOH writes the stream that saves the graphics state and applies the SET
// file's matrix, moved to the logo reference point by ADJUSTMA.
#include <vector>

#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"

namespace {

// A plain decimal number as a matrix entry takes it: sign, digits, at most one point.
bool is_plain_number(const std::string& t) {
  size_t i = t[0] == '-' || t[0] == '+' ? 1 : 0;
  bool digit = false, point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      digit = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

// PDFLOGOH: the placement stream " q" and the matrix line; its reference goes first in LOGOCONTENT.
void PDFLOGOH() {
  RT_TRAP_NONE(trap, "PDFLOGOH");
  std::string m = rt::TRIM(LOGOMATRIX);
  if (rt::INSTR(m, " cm") == 0) m = "1 0 0 1 0 0 cm";
  std::int32_t p = static_cast<std::int32_t>(rt::INSTR(m, " cm"));
  ADJUSTMA(m, p);
  NEWSTREA();
  FPRINT(" q");
  FPRINT(m);
  CLOSESTR();
  LOGOCONTENT = " " + std::to_string(PDFOBJECT - 1) + " 0 R " + LOGOCONTENT;
}

// ADJUSTMA: e grows by (A3SHIFT + LOGOX) dots and f shrinks by LOGOY dots, in points, each written
// with two decimals; the text from " cm" on is kept. A matrix that is not six plain numbers before
// " cm" becomes the unit matrix, so that the content stream always gets a whole "cm" operator.
void ADJUSTMA(std::string& m, const std::int32_t& p) {
  RT_TRAP(trap, "ADJUSTMA");
  if (p < 1 || p > static_cast<std::int32_t>(m.size())) {
    m = "1 0 0 1 0 0 cm";
    ADJUSTMA(m, 12);
    return;
  }
  std::string head = m.substr(0, static_cast<size_t>(p - 1));
  const std::string rest = m.substr(static_cast<size_t>(p - 1));
  std::vector<size_t> starts;
  for (size_t i = 0; i < head.size(); ++i)
    if (head[i] != ' ' && (i == 0 || head[i - 1] == ' ')) starts.push_back(i);
  bool plain = starts.size() == 6;
  for (size_t k = 0; plain && k < 6; ++k) {
    size_t end = head.find(' ', starts[k]);
    plain = is_plain_number(head.substr(starts[k], end == std::string::npos ? std::string::npos : end - starts[k]));
  }
  if (!plain) {
    head = "1 0 0 1 0 0";
    starts = {0, 2, 4, 6, 8, 10};
  }
  const double dot = static_cast<double>(0.24f);  // dots to points, as a single-precision constant
  const double e = rt::VAL(head.substr(starts[4])) + (static_cast<double>(A3SHIFT) + LOGOX) * dot;
  const double f = rt::VAL(head.substr(starts[5])) - static_cast<double>(LOGOY) * dot;
  m = head.substr(0, starts[4]) + " " + rt::TRIM(FNRANDCE(e)) + " " + rt::TRIM(FNRANDCE(f)) + rest;
}
