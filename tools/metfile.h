// Width tables of the engine's font folder: from the standard font metrics (AFM) to the readable width
// sources under data/src/LJ4, and from those to the binary metric files (.MET) the engine reads.
//
// A metric file is 534 bytes: ESC ")s80W", an 80-byte PCL font header (scalable, symbol set 10U, the
// font's style, stroke weight, typeface and name), the widths of codes 32..254 as little-endian 16-bit
// numbers in units of 1/4410 em (4.41 per 1/1000 em, so that the engine's size / 1058.4 gives 300-dpi
// dots), and two spare bytes.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace metrics {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 254;
constexpr int kCodes = kLastCode - kFirstCode + 1;

// The PDF writer shows every text at 94.482 % of its font's width (the printer's typeface is narrower
// than the standard PDF fonts that stand in for it), so the width sources carry the standard metrics
// narrowed by this factor: a measured width is then the width shown.
constexpr double kShownWidth = 0.94482;

// One line of data/src/LJ4/fonts.txt.
struct FontEntry {
  std::string file;  // metric file name without extension
  std::string afm;   // font metrics name, e.g. Helvetica-Bold
  int style = 0, weight = 0, typeface = 0;
};

// One line of data/src/cp437.txt: the glyph of a code, and the glyph whose width stands in for it.
struct CharEntry {
  int code = 0;
  std::string glyph, substitute;
};

struct Afm {
  std::string family;
  bool fixed_pitch = false;
  int x_height = 0, cap_height = 0;
  std::map<std::string, double> widths;  // by glyph name, in 1/1000 em
};

// A readable width source: header fields and one width (1/1000 em, as shown) per code 32..254.
struct WidthTable {
  std::string name;  // font name in the PCL header, capitals
  int style = 0, weight = 0, typeface = 0, spacing = 1, x_height = 0, cap_height = 0;
  std::array<double, kCodes> widths{};
};

// Readers; each throws std::runtime_error naming the file and line of anything it cannot use.
std::vector<FontEntry> read_font_list(const std::filesystem::path& file);
std::vector<CharEntry> read_charset(const std::filesystem::path& file);
Afm read_afm(const std::filesystem::path& file);
WidthTable parse_width_source(const std::string& text, const std::string& what);

// The width source of a font: every code of the character set measured with the AFM widths, each
// narrowed by kShownWidth.
std::string width_source(const FontEntry& font, const Afm& afm, const std::vector<CharEntry>& charset);

// The 534 bytes of the binary metric file.
std::string met_bytes(const WidthTable& table);

// 1/1000 em to metric units, rounded to the nearest unit.
int metric_units(double thousandths);

std::string read_text_file(const std::filesystem::path& file);

}  // namespace metrics
