// WIDTHTAB: the character widths of one setup font, for measuring text in 300-dpi dots.
//
// The font's printer selection string (FONTSPEC) is looked up in pdffonts.dat, whose metric field is
// either a pitch in characters per inch (every character then has the same width) or the name of a
// metric file in the font folder. A metric file holds the widths of codes 32..254 in scalable units:
// 4.41 units per 1/1000 em, so that size / 1058.4 turns them into dots at a size in points. It comes
// in two forms: binary (534 bytes: ESC ")s80W", an 80-byte PCL font header, 223 little-endian 16-bit
// widths, two spare bytes) and text (223 numbers separated by commas, blanks or line ends).
#include <cctype>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/setup/contcode.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/paths.h"

namespace {

constexpr int kFirstCode = 32;
constexpr int kCodes = 223;                 // codes 32..254
constexpr int kBinaryLength = 534;
constexpr int kHeaderLength = 80;
constexpr double kPitchEpsilon = 9.99999974738e-06;   // single-precision 0.00001
constexpr double kHeightEpsilon = 9.99999974738e-05;  // single-precision 0.0001
constexpr double kPointsDivisor = 1058.4000244140625; // single-precision 1058.4
constexpr double kDefaultPoints = 10;                 // a scalable font whose spec gives no size

void fill_widths(std::int32_t n, double width, int last) {
  for (int c = kFirstCode; c <= last; ++c) rt::let(CHARWIDTH(n, c), width);
}

// The binary form; false when the file is not in it.
bool read_binary(std::int32_t n, const std::string& file) {
  int f = rt::FREEFILE();
  if (!rt::open_file(f, file, rt::FileMode::Binary)) return true;  // reported; nothing more to read
  rt::engine_file(f);
  const std::int64_t length = rt::LOF(f);
  const std::string head = rt::get_bytes(f, 6);
  if (head != "\x1b)s80W" || length != kBinaryLength) {
    rt::close_file(f);
    return false;
  }
  rt::get_bytes(f, kHeaderLength);
  const std::string w = rt::get_bytes(f, 2 * kCodes);
  rt::close_file(f);
  for (int i = 0; i < kCodes; ++i) {
    const auto lo = static_cast<unsigned char>(w[static_cast<size_t>(2 * i)]);
    const auto hi = static_cast<unsigned char>(w[static_cast<size_t>(2 * i + 1)]);
    CHARWIDTH(n, kFirstCode + i) = static_cast<std::int16_t>(static_cast<std::uint16_t>((hi << 8) | lo));
  }
  return true;
}

bool starts_like_number(const std::string& t) {
  size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  return i < t.size() && (std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == '.');
}

// The text form. A file with fewer than 223 numbers, an item that is no number or a number too large
// for a width is reported once, naming the file and line; the widths read before it stay.
void read_text(std::int32_t n, const std::string& file, rt::Trap& trap) {
  int f = rt::FREEFILE();
  if (!rt::open_file(f, file, rt::FileMode::Input)) return;
  rt::engine_file(f);
  trap.reading(f, file);
  std::string line;
  int i = 0;
  while (i < kCodes && !trap.damaged()) {
    if (rt::at_eof(f)) {
      rt::raise(62);
      break;
    }
    if (!rt::line_input(f, line)) break;
    std::string item;
    for (char ch : line + " ") {
      if (ch != ',' && ch != ' ' && ch != '\t') {
        item += ch;
        continue;
      }
      std::string word;
      word.swap(item);
      if (word.empty() || i >= kCodes || trap.damaged()) continue;
      if (!starts_like_number(word)) {
        rt::raise(13);
        break;
      }
      rt::let(CHARWIDTH(n, kFirstCode + i), rt::VAL(word));
      ++i;
    }
  }
  rt::close_file(f);
}

}  // namespace

void WIDTHTAB(std::int32_t n) {
  RT_TRAP(trap, "WIDTHTAB");
  if (n < 1 || n > 3) {
    rt::raise(9);
    return;
  }
  // The spec as the SET file wrote it; FONTSPEC keeps the converted form.
  const std::string spec = FONTSPEC(n);
  CONTROLC(FONTSPEC(n), spec);

  // Its pdffonts.dat entry: a pitch or a metric file name. A width table is built as a run begins,
  // from the font table as it is then (the documents of the run look their fonts up in that reading).
  forget_pdf_fonts();
  PDFEQUIV(FONTSPEC(n), FONTPDFSIZE, FONTPDFNAME);
  const std::string metric = FONTPDFSIZE;
  const double pitch = rt::VAL(metric);

  FONTSIZE(n) = 1;
  if (std::fabs(pitch) > kPitchEpsilon) {
    // A fixed-pitch font: every character is one pitch wide.
    FONTWIDTH(n) = 300 / pitch;
    fill_widths(n, FONTWIDTH(n), 255);
  } else {
    // The file the field names must exist; the metric file read is its base name with ".MET".
    const std::string folder = FONTDIR.empty() ? std::string() : FONTDIR + "\\";
    const std::string found = platform::search_path(folder + metric);
    const std::string base = found.empty() ? std::string() : std::filesystem::path(found).stem().string();
    const std::string file = folder + base + ".MET";
    if (!rt::file_exists(file)) {
      missing_file(file);
      if (CHARWIDTH(n, kFirstCode) == 0) {
        // No table yet: rather than zero widths, which break every layout, measure the text as a
        // fixed-pitch font of the same size (the pitch of the spec, else 120 / points, else 10).
        double cpi = rt::VAL(FNFINDV(spec, "h"));
        if (cpi <= 0) {
          const double points = rt::VAL(FNFINDV(spec, "v"));
          cpi = points > kHeightEpsilon ? 120 / points : 10;
        }
        FONTWIDTH(n) = 300 / cpi;
        fill_widths(n, FONTWIDTH(n), 254);
      }
      return;  // no device mark: the table is built again at the next run
    }
    if (!read_binary(n, file)) read_text(n, file, trap);
    // Scalable units become dots through the size of the spec (a blank of 60 or less is in dots).
    const std::int32_t blank = CHARWIDTH(n, kFirstCode);
    if (blank > 60) {
      const double points = rt::VAL(FNFINDV(spec, "v"));
      if (points > kHeightEpsilon) {
        FONTSIZE(n) = points / kPointsDivisor;
      } else {
        const double cpi = rt::VAL(FNFINDV(spec, "h"));
        if (cpi != 0) {
          FONTWIDTH(n) = 300 / cpi;
          FONTSIZE(n) = FONTWIDTH(n) / blank;
        } else {
          FONTSIZE(n) = kDefaultPoints / kPointsDivisor;
        }
      }
    }
    FONTWIDTH(n) = FONTSIZE(n) * blank;
  }
  // The device the table was built for.
  CHARWIDTH(n, 255) = 1 + OUTDEV;
}
