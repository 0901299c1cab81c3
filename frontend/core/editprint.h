// The editor's listing for the printer and the preview: a header line with the file's name on the left
// and the date and time on the right, then the text wrapped to the usable width, page after page.
// Positions are millimetres from the page's top left corner; the caller measures text in its font.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorvel {

struct PrintedLine {
  double x = 0, y = 0;  // left end and top of the line, millimetres
  std::string text;     // bytes of the editor's text (Windows-1252), without line end
};

struct PrintPage {
  std::vector<PrintedLine> lines;
};

struct PrintSetup {
  double page_width = 210, page_height = 297;  // the printable area, millimetres
  double line_height = 5;                      // one line of the font, millimetres
  double letter_a_height = 2.5;                // half of it lifts each start, as the listing always did
  std::function<double(const std::string&)> width;  // drawn width of a text, millimetres
};

// Lines of text drawn from (x, y) aligned left (0), centred (1) or right (2) on x, wrapped where wider
// than max_width (when that is above 10 mm): at the last blank after the third character that makes the
// line fit; a line without one is drawn whole. Positions as the page's, margins included (20 mm).
std::vector<PrintedLine> PrintWrap(const std::string& text, double x, double y, int align, double max_width,
                                   const PrintSetup& setup);

// The whole listing: the header on every page, the text going on to a new page where a page is full.
std::vector<PrintPage> PrintPreview(const std::string& file_name, const std::string& date_time,
                                    const std::string& text, const PrintSetup& setup);

}  // namespace quorvel
