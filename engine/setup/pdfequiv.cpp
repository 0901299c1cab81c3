// PDFEQUIV: the PDF base font and the metric field of a printer font, from the font table pdffonts.dat.
//
// pdffonts.dat: a first item "n /Encoding /BaseEncodingName" (n = the count of table lines), n table
// lines of fixed-width entries "key(6) name:metric(10)", a line with the count m of difference lines,
// and m lines of a PDF /Differences array. Everything after them is not read. The base encoding and the
// difference lines go into every PDF as they stand, so a base encoding that is no PDF name, or a
// difference line of anything but codes and glyph names, is said once (file and line) and not used.
// That, and a missing table, is written in ERROR.LOG once and ends the run with exit code 1.
#include <filesystem>
#include <set>
#include <string_view>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

// The fonts every PDF reader has. The writer gives its fonts no widths and no descriptors, which
// PDF allows only for these, so any other name would make a file that readers render wrongly.
const char* const kStandardFonts[] = {
    "Times-Roman", "Times-Bold",        "Times-Italic",      "Times-BoldItalic",
    "Helvetica",   "Helvetica-Bold",    "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Courier",     "Courier-Bold",      "Courier-Oblique",   "Courier-BoldOblique",
    "Symbol",      "ZapfDingbats"};

bool is_standard_font(const std::string& name) {
  for (const char* f : kStandardFonts)
    if (name == f) return true;
  return false;
}

// The standard font that stands in for a printer font the table cannot name: the family by the PCL
// typeface number (Times, Courier and Letter Gothic, anything else Helvetica), the variant by style.
std::string standard_font(char style, const std::string& typeface) {
  int v = style == 's' ? 1 : style == 'b' ? 2 : style == 'B' ? 3 : 0;
  if (typeface == "4101") {
    const char* n[] = {"Times-Roman", "Times-Italic", "Times-Bold", "Times-BoldItalic"};
    return n[v];
  }
  if (typeface == "4099" || typeface == "4102") {
    const char* n[] = {"Courier", "Courier-Oblique", "Courier-Bold", "Courier-BoldOblique"};
    return n[v];
  }
  const char* n[] = {"Helvetica", "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique"};
  return n[v];
}

// True for a PDF name: "/" and at least one character that is neither blank nor delimiter.
bool pdf_name(std::string_view t) {
  if (t.size() < 2 || t[0] != '/') return false;
  for (char c : t.substr(1)) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 33 || u > 126 || std::string_view("()<>[]{}/%").find(c) != std::string_view::npos) return false;
  }
  return true;
}

// True for a line of the /Differences array: codes and glyph names only.
bool differences_line(const std::string& line) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
    if (j == i) break;
    const std::string_view token = std::string_view(line).substr(i, j - i);
    if (!pdf_name(token) && token.find_first_not_of("0123456789") != std::string_view::npos) return false;
    i = j;
  }
  return true;
}

// Says a damaged line of the table once in a run: its bytes would break the PDF they were written into.
void say_damage(const std::string& file, std::int64_t line, const std::string& what) {
  static std::set<std::string> said;
  const std::string text = file + " line " + std::to_string(line) + ": " + what;
  if (!said.insert(text).second) return;
  platform::console().print(text, true);
  rt::fault_logged(text);
}

// A count from the table, kept within what a loop can sensibly run to.
long count_of(const std::string& item) {
  double v = rt::round_even(rt::VAL(item));
  if (v < 0) return 0;
  if (v > 1e6) return 1000000;
  return static_cast<long>(v);
}

// The table as read from pdffonts.dat: once in a run, since every font of every document looks it up.
struct PdfFontTable {
  bool read = false;
  std::string record;       // PDFFONTREC
  std::string differences;  // PDFWIDTHS
  std::string entries;      // the table lines joined
};

PdfFontTable& pdf_font_table() {
  static PdfFontTable t;
  return t;
}

// Reads pdffonts.dat of the current folder into t. False when there is nothing to look the font up in:
// a missing table is said (name stays as it was), one that cannot be opened gives the standard font.
bool read_table(rt::Trap& trap, PdfFontTable& t, char style, const std::string& typeface, std::string& name) {
  platform::Console& con = platform::console();
  std::error_code ec;
  std::string file = std::filesystem::current_path(ec).string() + "/pdffonts.dat";
  if (!rt::file_exists(file)) {
    con.beep();
    const std::string said = (PROMPT.in_bounds(38) ? PROMPT(38) : std::string()) + " " + file;
    con.print(said, true);
    rt::fault_logged_once(said);
    con.pause_ms(2000);
    // Nothing to look the font up in: the metric field and the font name stay as they were.
    return false;
  }

  trap.step("0003");
  int f = rt::FREEFILE();
  if (!rt::open_file(f, file, rt::FileMode::Input)) {
    name = standard_font(style, typeface);
    return false;
  }
  rt::engine_file(f);
  // A read past the end is reported once, naming the file and line; nothing more is read after it.
  trap.reading(f, "pdffonts.dat");
  bool readable = true;
  auto item = [&](std::string& out) { return readable && (readable = rt::input_item(f, out)); };
  auto line = [&](std::string& out) { return readable && (readable = rt::line_input(f, out)); };
  std::string head;
  item(head);
  long n = count_of(head);
  size_t slash = head.find('/');
  t.record = slash == std::string::npos ? std::string() : rt::RTRIM(head.substr(slash));
  // The base encoding (after the first blank, else the whole) goes into every PDF as one name.
  if (const size_t blank = t.record.find(' ');
      !t.record.empty() && !pdf_name(blank == std::string::npos ? t.record : t.record.substr(blank + 1))) {
    say_damage("pdffonts.dat", 1, "the base encoding is no PDF name; /WinAnsiEncoding is used.");
    t.record = "/Encoding /WinAnsiEncoding";
  }

  trap.step("0004");
  std::string l;
  t.entries.clear();
  for (long i = 0; i < n && line(l); ++i) t.entries += l;

  trap.step("0005");
  std::string count;
  long m = item(count) ? count_of(count) : 0;
  t.differences.clear();
  for (long i = 0; i < m && line(l); ++i) {
    // A line of anything but codes and names would end the array, or the font, in the PDF.
    if (differences_line(l)) t.differences += l + "\r\n";
    else
      say_damage("pdffonts.dat", rt::line_number(f), "a /Differences line of more than codes and glyph names is left out.");
  }
  rt::close_file(f);
  t.read = true;
  return true;
}

}  // namespace

void forget_pdf_fonts() { pdf_font_table() = PdfFontTable{}; }

void PDFEQUIV(std::string& spec, std::string& size, std::string& name) {
  RT_TRAP(trap, "PDFEQUIV");
  platform::Console& con = platform::console();

  // The key: style letter and typeface number of the selection code.
  trap.step("0001");
  double s = rt::round_even(rt::VAL(FNFINDV(spec, "s")));
  double b = rt::round_even(rt::VAL(FNFINDV(spec, "b")));
  std::string typeface = FNFINDV(spec, "T");
  char style = s > 0 ? (b > 0 ? 'B' : 's') : (b > 0 ? 'b' : 'm');
  std::string key = std::string(1, style) + typeface;

  trap.step("0002");
  PdfFontTable& t = pdf_font_table();
  if (!t.read && !read_table(trap, t, style, typeface, name)) return;
  PDFFONTREC = t.record;
  PDFWIDTHS = t.differences;
  const std::string& table = t.entries;

  // The entry: the key anywhere in the joined table; else the same style of typeface 4148, the
  // typeface of the standard fonts; else the table's first entry.
  trap.step("0006");
  std::string used_key = key;
  long p = typeface.empty() ? 0 : rt::INSTR(table, key);
  if (p == 0) {
    used_key = std::string(1, style) + "4148";
    p = rt::INSTR(table, used_key);
  }
  trap.step("0007");
  long c = rt::INSTR(p + 6, table, ":");
  std::string found;
  if (c > 0) {
    found = rt::TRIM(rt::MID(table, p + 6, c - p - 6));
    size = rt::TRIM(rt::MID(table, c + 1, 10));
  } else {
    size.clear();
  }

  trap.step("0008");
  if (is_standard_font(found)) {
    name = found;
    if (used_key != key || p == 0) con.print("Font " + key + " not in pdffonts.dat - using " + name, true);
    return;
  }
  name = standard_font(style, typeface);
  con.print("Font " + key + ": " +
                (found.empty() ? std::string("no PDF font name in pdffonts.dat") : found + " is no standard PDF font") +
                " - using " + name,
            true);
}
