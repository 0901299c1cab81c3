// The editor's printed listing.
#include "frontend/core/editprint.h"

namespace quorvel {

namespace {
constexpr double kMargin = 20;  // left, right, top and bottom margin, millimetres
}

std::vector<PrintedLine> PrintWrap(const std::string& text, double x, double y, int align, double max_width,
                                   const PrintSetup& setup) {
  std::vector<PrintedLine> out;
  double top = y + kMargin - setup.letter_a_height / 2;
  std::string rest = text;
  while (!rest.empty()) {
    const size_t eol = rest.find("\r\n");
    std::string line = rest.substr(0, eol);
    rest = eol == std::string::npos ? std::string() : rest.substr(eol + 2);
    // Too wide: break at the last blank after the third character where the line fits (at the first such
    // blank when none fits); the rest goes on on the next line.
    if (max_width > 10 && setup.width(line) > max_width) {
      size_t cut = std::string::npos, smallest = std::string::npos;
      for (size_t b = line.rfind(' '); b != std::string::npos && b >= 3; b = line.rfind(' ', b - 1)) {
        smallest = b;
        if (setup.width(line.substr(0, b)) <= max_width) {
          cut = b;
          break;
        }
      }
      if (cut == std::string::npos) cut = smallest;
      if (cut != std::string::npos) {
        rest = line.substr(cut + 1) + (eol == std::string::npos ? "" : "\r\n") + rest;
        line = line.substr(0, cut);
      }
    }
    const double left = x + kMargin - setup.width(line) * align / 2;
    out.push_back({left, top, line});
    top += setup.line_height;
  }
  return out;
}

std::vector<PrintPage> PrintPreview(const std::string& file_name, const std::string& date_time, const std::string& text,
                                    const PrintSetup& setup) {
  const double w = setup.page_width - 2 * kMargin;
  std::vector<PrintPage> pages;
  auto new_page = [&] {
    pages.emplace_back();
    for (auto& l : PrintWrap(file_name, 0, -10, 0, w / 2, setup)) pages.back().lines.push_back(l);
    for (auto& l : PrintWrap(date_time, w, -10, 2, w / 2, setup)) pages.back().lines.push_back(l);
  };
  new_page();
  // The text as one listing; a line below the bottom margin goes to the next page, at the top margin.
  const double bottom = setup.page_height - kMargin;
  double shift = 0;
  for (PrintedLine l : PrintWrap(text, 0, 0, 0, w, setup)) {
    l.y -= shift;
    if (l.y + setup.line_height > bottom && l.y > kMargin) {
      new_page();
      const double first = kMargin - setup.letter_a_height / 2;
      shift += l.y - first;
      l.y = first;
    }
    pages.back().lines.push_back(l);
  }
  return pages;
}

}  // namespace quorvel
