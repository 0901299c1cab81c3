// The PDF writer's blocks: the file and object layer, page assembly, page resources and fonts, page
// tree, catalogue, cross-reference table and trailer, path drawing and text.
//
// Every byte goes through FPRINT or SPRINT, whose running count PDFBYTES gives the object offsets: the
// file is never re-read or repositioned. Every line ends with CR LF.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace {

const std::string kCrLf = "\r\n";

// Refuses the document in progress, once, with a message: nothing more is written to it, and
// ASSEMBLE removes the file instead of finishing it.
void refuse(const std::string& why) {
  if (pdf_refused) return;
  pdf_refused = true;
  platform::console().print("PDF not written - " + why + ": " + pdf_document_name, true);
}

// The digits of a number, without sign or blank.
std::string digits(std::int64_t n) { return std::to_string(n < 0 ? -n : n); }

// Number operands joined into one operator line: a blank stands between every two of them, also
// where the next one begins with a minus sign instead of its own blank.
std::string operands(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty() && !p.empty() && p[0] != ' ') out += ' ';
    out += p;
  }
  return out;
}

// FNRANDCE of a whole number of hundredths (dot positions scaled by 0.24 are exact in hundredths).
std::string hundredths(std::int64_t h) { return FNRANDCE(static_cast<double>(h) / 100.0); }

// Takes the next object number; refuses the document when the offsets table has no room for it.
bool take_object_number() {
  ++PDFOBJECT;
  if (PDFOBJECT > PDFOFFSET.ubound()) {
    refuse("more than " + std::to_string(PDFOFFSET.ubound()) + " objects");
    return false;
  }
  return true;
}

// A line after the counted part of the file (cross-reference table and trailer).
void write_uncounted(const std::string& line) {
  if (!pdf_refused) rt::print_line(PDFFILE, line);
}

// Ends a refused document: the file written so far is closed and removed.
void discard_document() {
  if (rt::is_open(PDFFILE)) {
    std::string path = rt::file_path(PDFFILE);
    rt::close_file(PDFFILE);
    rt::kill_file(path);
  }
  PDFBYTES = 0;
}

// --- page assembly ---

bool leaf_begun(long i) { return i >= 1 && i <= LEAFCOUNT && i <= LEAFCONTENT.ubound(); }

// Writes one page made of the lists of the given leaves, in that order. A log-only page whose leaf
// was never begun (a log pass that had nothing left to draw) is left out rather than written blank.
void write_page(std::initializer_list<long> leaves, bool log_only) {
  if (log_only && !leaf_begun(*leaves.begin())) return;
  PAGECONTENT.clear();
  PAGEPATTERN.clear();
  PAGEFILL.clear();
  PAGEEXTRA.clear();
  LOGPAGE = log_only ? -1 : 0;
  for (long i : leaves) {
    if (!leaf_begun(i)) continue;
    PAGECONTENT += LEAFCONTENT(i);
    PAGEPATTERN += LEAFPATTERN(i);
    PAGEFILL += LEAFFONT(i);
    PAGEEXTRA += LEAFXOBJECT(i);
  }
  WRITEPAG();
}

}  // namespace

// ===================================================================== file and object layer

// OPENLEAF: begins a leaf; the first leaf of a document opens the file and writes the header.
void OPENLEAF(const std::string& file) {
  RT_TRAP(trap, "OPENLEAF");
  if (PDFBYTES == 0) {
    pdf_refused = false;
    pdf_document_name = file;
    PDFFILE = PAGEFILE;
    if (!rt::open_file(PDFFILE, file, rt::FileMode::Output)) refuse("the file cannot be created");
    FPRINT("%PDF-1.3");
    // The signature: the product word drawn in code-page-437 box characters over three comment lines.
    FPRINT("\x25\xD2\xD2\xC9\xCD\xBB\xD2        ");
    FPRINT("\x25\xBA\xBA\xCC\xCD\xBC\xBA \xDB\xDB TRAX");
    FPRINT("\x25\xC8\xBC\xC8\xCD\xCD\xC8        ");
    platform::LocalTime t = platform::now();
    auto two = [](int v) { return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10); };
    FPRINT("% " + VERSION + " " + two(t.month) + "-" + two(t.day) + "-" + std::to_string(t.year));

    LEAFCOUNT = PDFOBJECT = LOGODONE = SYMBOLCOUNT = PAGESOBJ = 0;
    PDFOFFSET.clear();
    LEAFCONTENT.clear();
    LEAFPATTERN.clear();
    LEAFFONT.clear();
    LEAFXOBJECT.clear();
    UNDERLINE.clear();
    SYMBOLUSED.clear();
    KIDSLIST.clear();
    // A colour run cannot continue from one document into the next.
    TEXTRGBON = 0;
  }
  ++LEAFCOUNT;
  if (LEAFCOUNT > LEAFCONTENT.ubound()) refuse("more than " + std::to_string(LEAFCONTENT.ubound()) + " pages");
  CURCONTENT.clear();
  CURXOBJECT.clear();
  CURFILL.clear();
  CUREXTRA.clear();
  FONTLIST.clear();
  UNDERCOUNT = PDFLASTFONT = FONTSDONE = PAGESOBJ = 0;
}

// CLOSELEA: stores the lists of the current leaf.
void CLOSELEA() {
  RT_TRAP(trap, "CLOSELEA");
  if (!leaf_begun(LEAFCOUNT)) return;
  LEAFCONTENT(LEAFCOUNT) = CURCONTENT;
  LEAFPATTERN(LEAFCOUNT) = CURXOBJECT;
  LEAFFONT(LEAFCOUNT) = CURFILL;
  LEAFXOBJECT(LEAFCOUNT) = CUREXTRA;
}

// NEWSTREA: begins a content stream of the current leaf.
void NEWSTREA() {
  RT_TRAP(trap, "NEWSTREA");
  LOGNEXTO();
  CURCONTENT += FNOBJREF(PDFOBJECT) + kCrLf;
  FPRINT("<<");
  OPENSTRE();
}

// OPENSTRE: ends a stream dictionary with its indirect length and starts the data.
void OPENSTRE() {
  RT_TRAP(trap, "OPENSTRE");
  FPRINT("/Length " + FNOBJREF(PDFOBJECT + 1));
  FPRINT(">>");
  FPRINT("stream");
  STREAMSTART = PDFBYTES;
}

// CLOSESTR: ends the stream and writes its length as the next object.
void CLOSESTR() {
  RT_TRAP(trap, "CLOSESTR");
  std::int32_t length = PDFBYTES - STREAMSTART;
  FPRINT("endstream");
  FPRINT("endobj");
  LOGNEXTO();
  FPRINT(digits(length));
  FPRINT("endobj");
}

// LOGNEXTO: begins the next object: an empty line, its number, its offset, its label.
void LOGNEXTO() {
  RT_TRAP(trap, "LOGNEXTO");
  FPRINT(BLANKLINE);
  if (take_object_number()) PDFOFFSET(PDFOBJECT) = PDFBYTES;
  FPRINT(FNOBJLAB(PDFOBJECT));
}

// FPRINT: one line and CR LF, counted.
void FPRINT(const std::string& line) {
  RT_TRAP(trap, "FPRINT");
  PDFBYTES += static_cast<std::int32_t>(line.size()) + 2;
  if (pdf_refused) return;
  if (!rt::print_line(PDFFILE, line)) refuse("the file cannot be written");
}

// SPRINT: text without a line end, counted.
void SPRINT(const std::string& text) {
  RT_TRAP(trap, "SPRINT");
  PDFBYTES += static_cast<std::int32_t>(text.size());
  if (pdf_refused || text.empty()) return;
  if (!rt::print_line(PDFFILE, text, false)) refuse("the file cannot be written");
}

std::string FNOBJLAB(const std::int32_t& n) {
  RT_TRAP(trap, "FNOBJLAB");
  return digits(n) + " 0 obj";
}

std::string FNOBJREF(const std::int32_t& n) {
  RT_TRAP(trap, "FNOBJREF");
  return digits(n) + " 0 R";
}

// FNZEROFI: value zero-filled to width digits (only the last width digits of a longer value).
std::string FNZEROFI(const std::int32_t& width, const std::int32_t& value) {
  RT_TRAP(trap, "FNZEROFI");
  if (width <= 0) return {};
  return rt::RIGHT(std::string(static_cast<size_t>(width), '0') + digits(value), width);
}

// FNOID: the number that follows key in text; 0 when key does not occur.
std::int32_t FNOID(const std::string& text, const std::string& key) {
  RT_TRAP(trap, "FNOID");
  long p = rt::INSTR(text, key);
  if (p == 0) return 0;
  return rt::to_i32(rt::VAL(FNATRIM(rt::MID(text, p + static_cast<long>(key.size())))));
}

// ===================================================================== page assembly

// ASSEMBLE: the pages of the document, then the closing objects; closes the file.
void ASSEMBLE() {
  RT_TRAP(trap, "ASSEMBLE");
  CRLF = kCrLf;
  PAGEDONE = 0;
  const long k = PAGECOUNT;
  if (PDFBYTES == 0) return;  // no document in progress
  const bool a3 = PAPER == "A3";
  const long rest = COMPRESSLOG % 10;  // takes the sign of COMPRESSLOG
  for (long i = 1; i <= k && !pdf_refused; ++i) {
    if (ATTRCOUNT == 0) {
      write_page({i}, false);
    } else if (COMPRESSLOG == 0) {
      if (a3) {
        write_page({k + i, i}, false);
      } else if (LOGFIRST != 0) {
        write_page({k + i}, true);
        write_page({i}, false);
      } else {
        write_page({i}, false);
        write_page({k + i}, true);
      }
    } else if (rest == 0) {
      write_page({k + i, i}, false);
    } else if (a3) {
      write_page({k + i, 2 * k + i, i}, false);
    } else if (LOGFIRST != 0) {
      write_page({2 * k + i}, true);
      write_page({k + i, i}, false);
    } else {
      write_page({k + i, i}, false);
      write_page({2 * k + i}, true);
    }
  }
  WRITEPAR();
  WRITEOUT();
  WRITECAT();
  WRITEXRE();
  WRITETRA();
  if (pdf_refused) {
    discard_document();
    return;
  }
  rt::close_file(PDFFILE);
  PDFBYTES = 0;
}

// WRITEPAG: one page: its fill patterns, its page object, its resources.
void WRITEPAG() {
  RT_TRAP(trap, "WRITEPAG");
  PAGEPATRES = LOGOPATTERN;
  CRLF = kCrLf;
  std::string delims = "\r\n";
  PARSVARS(PAGEFILL, delims);
  std::vector<std::string> names;
  for (long i = 1; i <= PARSEDCOUNT; ++i) names.push_back(PARSED(i));
  for (const std::string& name : names) {
    FILLNAME = name;
    WRITESHA();
  }

  LOGNEXTO();
  const std::int32_t page = PDFOBJECT;
  KIDSLIST += FNOBJREF(page) + kCrLf;
  if (PAGESOBJ == 0) {
    take_object_number();  // reserved for the page tree, written at the end
    PAGESOBJ = PDFOBJECT;
  }
  FPRINT("<<");
  FPRINT("/Type /Page");
  FPRINT("/Parent " + FNOBJREF(PAGESOBJ));
  FPRINT("/Resources " + FNOBJREF(PDFOBJECT + 1));
  if (LOGPAGE != 0)
    FPRINT("/Contents [" + kCrLf + PAGECONTENT + "] %");
  else
    FPRINT("/Contents [" + LOGOCONTENT + kCrLf + PAGECONTENT + "] %");
  FPRINT(">>");
  FPRINT("endobj");
  WRITERES();
  ++PAGEDONE;
}

// WRITESHA: the objects of the fill pattern FILLNAME. The writer has no pattern set yet and nothing
// registers a pattern for a leaf, so there is nothing to write.
void WRITESHA() { RT_TRAP(trap, "WRITESHA"); }

// WRITERES: the resources object of a page; on the first page also the font and encoding objects.
void WRITERES() {
  RT_TRAP(trap, "WRITERES");
  const std::int32_t n = std::clamp<std::int32_t>(PDFFONTCOUNT, 0, static_cast<std::int32_t>(FONTSPEC.ubound()));
  LOGNEXTO();
  const std::int32_t r = PDFOBJECT;
  const std::int32_t colour_space = FONTSDONE == 0 ? r + 2 * n + 1 : r + 1;
  FPRINT("<<");
  FPRINT("/ProcSet [/PDF /Text /ImageB /ImageC ");
  FPRINT(LOGOPROCSET + " ]");
  FPRINT("/ExtGState <<" + LOGOEXTGSTATE + ">>");
  FPRINT("/ColorSpace <<" + LOGOCOLORSPACE + " /Catch " + FNOBJREF(colour_space) + ">>");
  FPRINT("/Pattern <<" + kCrLf + PAGEPATRES + ">>");
  FPRINT("/Shading <<" + LOGOSHADING + ">>");
  FPRINT("/XObject <<" + kCrLf + PAGEPATTERN + LOGOXOBJECT + ">>");
  if (FONTSDONE == 0) {
    FONTENTRIES = LOGOFONT + kCrLf;
    for (std::int32_t i = 1; i <= n; ++i) FONTENTRIES += "/Ff" + digits(i) + " " + FNOBJREF(i + PDFOBJECT) + kCrLf;
  }
  if (n > 0) FPRINT("/Font <<" + kCrLf + FONTENTRIES + ">>");
  FPRINT(">>");
  FPRINT("endobj");

  if (FONTSDONE == 0) {
    std::string base;
    for (std::int32_t i = 1; i <= n; ++i) {
      std::string size;
      PDFEQUIV(FONTSPEC(i), size, FONTPDFNAME);
      LOGNEXTO();
      FONTLIST += rt::LSET(digits(PDFOBJECT), 5);
      size_t blank = PDFFONTREC.find(' ');
      base = blank == std::string::npos ? PDFFONTREC : PDFFONTREC.substr(blank + 1);
      FPRINT("<< /Type /Font");
      FPRINT("/Subtype /Type1");
      FPRINT("/BaseFont /" + FONTPDFNAME);
      FPRINT("/FirstChar 32");
      FPRINT("/LastChar 255");
      FPRINT("/Encoding " + FNOBJREF(n + PDFOBJECT));
      FPRINT(">>");
      FPRINT("endobj");
    }
    // A font table without a base encoding would leave the key without a value.
    if (rt::TRIM(base).empty()) base = "/WinAnsiEncoding";
    for (std::int32_t i = 1; i <= n; ++i) {
      LOGNEXTO();
      FPRINT("<< /Type /Encoding");
      FPRINT("/BaseEncoding " + base);
      FPRINT("/Differences [");
      FPRINT(PDFWIDTHS + "]");
      FPRINT(">>");
      FPRINT("endobj");
    }
    FONTSDONE = 1;
  }

  LOGNEXTO();
  FPRINT("[/Pattern /DeviceRGB ");
  FPRINT(" ]");
  FPRINT("endobj");
}

// ===================================================================== page tree, catalogue, xref, trailer

// WRITEPAR: the page-tree node, at the number the first page reserved.
void WRITEPAR() {
  RT_TRAP(trap, "WRITEPAR");
  FPRINT(BLANKLINE);
  if (PAGESOBJ == 0) {  // a document without pages still needs its page tree
    take_object_number();
    PAGESOBJ = PDFOBJECT;
  }
  if (PAGESOBJ <= PDFOFFSET.ubound()) PDFOFFSET(PAGESOBJ) = PDFBYTES;
  FPRINT(FNOBJLAB(PAGESOBJ));
  PAGESREF = FNOBJREF(PAGESOBJ);
  FPRINT("<<");
  FPRINT("/Type /Pages");
  FPRINT("/Count " + rt::STR(PAGEDONE));
  FPRINT("/Kids [" + kCrLf + KIDSLIST + "]");
  FPRINT(std::string("/MediaBox [") + " 0 " + " 0 " + (PAPER == "A3" ? " 1190.0 " : " 595.00 ") + " 841.00 " + "]");
  FPRINT(">>");
  FPRINT("endobj");
}

// WRITEOUT: the (empty) outlines object.
void WRITEOUT() {
  RT_TRAP(trap, "WRITEOUT");
  LOGNEXTO();
  OUTLINESREF = FNOBJREF(PDFOBJECT);
  FPRINT("<<");
  FPRINT("/Type /Outlines");
  FPRINT("/Count 0");
  FPRINT(">>");
  FPRINT("endobj");
}

// WRITECAT: the catalogue.
void WRITECAT() {
  RT_TRAP(trap, "WRITECAT");
  LOGNEXTO();
  ROOTREF = FNOBJREF(PDFOBJECT);
  FPRINT("<<");
  FPRINT("/Type /Catalog");
  FPRINT("/Pages " + PAGESREF);
  FPRINT("/Outlines " + OUTLINESREF);
  FPRINT(PAGEEXTRA);
  FPRINT(">>");
  FPRINT("endobj");
}

// WRITEXRE: the cross-reference table, one subsection from object 0. A number that no object took
// is a free entry; the free entries form the chain that starts at object 0.
void WRITEXRE() {
  RT_TRAP(trap, "WRITEXRE");
  FPRINT(BLANKLINE);
  STARTXREF = PDFBYTES;
  if (pdf_refused) return;
  write_uncounted("xref");
  write_uncounted("0" + rt::print_number(static_cast<std::int64_t>(PDFOBJECT) + 1));
  std::vector<std::int32_t> free_numbers;
  for (std::int32_t n = 1; n <= PDFOBJECT; ++n)
    if (PDFOFFSET(n) == 0) free_numbers.push_back(n);
  free_numbers.push_back(0);  // the last free entry points back to object 0
  size_t next_free = 0;
  write_uncounted(FNZEROFI(10, free_numbers[next_free]) + " 65535 f");
  for (std::int32_t n = 1; n <= PDFOBJECT; ++n) {
    if (PDFOFFSET(n) != 0) {
      write_uncounted(FNZEROFI(10, PDFOFFSET(n)) + " " + FNZEROFI(5, 0) + " n");
    } else {
      ++next_free;
      write_uncounted(FNZEROFI(10, free_numbers[next_free]) + " " + FNZEROFI(5, 0) + " f");
    }
  }
}

// WRITETRA: the trailer and the two comment lines the merge reads back.
void WRITETRA() {
  RT_TRAP(trap, "WRITETRA");
  FPRINT(BLANKLINE);
  write_uncounted("trailer");
  write_uncounted("<<");
  write_uncounted("/Size" + rt::print_number(static_cast<std::int64_t>(PDFOBJECT) + 1));
  write_uncounted("/Root " + ROOTREF);
  write_uncounted(">>");
  write_uncounted("%logolist ");
  write_uncounted("%fontlist " + FONTLIST);
  write_uncounted("startxref");
  write_uncounted(digits(STARTXREF));
  write_uncounted("%%EOF");
}

// ===================================================================== coordinates and paths

// FNPDFX: the PDF x of dot x, x * 0.24 + 18 points (exact in hundredths).
std::string FNPDFX(const std::int32_t& x) {
  RT_TRAP(trap, "FNPDFX");
  return hundredths(24LL * x + 1800);
}

// FNPDFY: the PDF y of dot y, 807 - y * 0.24 points.
std::string FNPDFY(const std::int32_t& y) {
  RT_TRAP(trap, "FNPDFY");
  return hundredths(80700 - 24LL * y);
}

void PDFMOVE(const std::int32_t& x, const std::int32_t& y) {
  RT_TRAP(trap, "PDFMOVE");
  FPRINT(FNPDFX(x) + " " + FNPDFY(y) + " m");
}

void PDFLINE(const std::int32_t& x, const std::int32_t& y) {
  RT_TRAP(trap, "PDFLINE");
  FPRINT(FNPDFX(x) + " " + FNPDFY(y) + " l");
}

// PDFRULE: a thin horizontal rule from x1 to x2 at y.
void PDFRULE(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y) {
  RT_TRAP(trap, "PDFRULE");
  FPRINT(".12 w");
  PDFMOVE(x1, y);
  PDFLINE(x2, y);
  FPRINT("S");
}

// PDFBORDE: a thin vertical rule from y1 to y2 at x.
void PDFBORDE(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2) {
  RT_TRAP(trap, "PDFBORDE");
  FPRINT(".12 w");
  PDFMOVE(x, y1);
  PDFLINE(x, y2);
  FPRINT("S");
}

// PDFRULE4: a horizontal rule w dots wide.
void PDFRULE4(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y, const std::int32_t& w) {
  RT_TRAP(trap, "PDFRULE4");
  FPRINT(hundredths(24LL * w) + " w");
  PDFMOVE(x1, y);
  PDFLINE(x2, y);
  FPRINT("S");
}

// PDFBORDE4: a vertical rule w dots wide.
void PDFBORDE4(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2, const std::int32_t& w) {
  RT_TRAP(trap, "PDFBORDE4");
  FPRINT(hundredths(24LL * w) + " w");
  PDFMOVE(x, y1);
  PDFLINE(x, y2);
  FPRINT("S");
}

// PDFBAR: a bar with top left corner (x, y), filled in the bar colour, its pattern, or both.
void PDFBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "PDFBAR");
  if (LOGBARFLAG1 == 0) {
    LOGBARFLAG1 = 2;
    LOGBARRGB1 = "0 0 0";
  }
  const std::string rect =
      operands({FNPDFX(x), FNPDFY(y + h), hundredths(24LL * w), hundredths(24LL * h)}) + " re";
  FPRINT("q");
  RGBTEXT = LOGBARRGB2.empty() ? LOGBARRGB1 : LOGBARRGB2;
  RGBFLAG = LOGBARFLAG2 > 0 ? LOGBARFLAG2 : LOGBARFLAG1;
  if (RGBFLAG & 1) {
    FPRINT(RGBTEXT + " rg");
    FPRINT(rect);
    FPRINT("f");
  }
  if (RGBFLAG & 2) {
    if (RGBFLAG & 1) RGBTEXT = "0 0 0";
    FPRINT("/Catch cs");
    FPRINT(RGBTEXT + " " + PATTERNNAME + " scn");
    FPRINT(rect);
    FPRINT("f");
  }
  FPRINT("Q");
}

// PDFARROW: a filled and stroked triangle: base 15 dots wide at (x, y), tip d dots below it.
void PDFARROW(const std::int32_t& x, const std::int32_t& y, const std::int32_t& d) {
  RT_TRAP(trap, "PDFARROW");
  const std::int32_t bx = x + 15;
  const std::int32_t tx = rt::to_i32(x + 7.5);
  const std::int32_t ty = y + d;
  FPRINT(FNPDFX(x) + " " + FNPDFY(y) + " m");
  FPRINT(FNPDFX(bx) + " " + FNPDFY(y) + " l");
  FPRINT(FNPDFX(tx) + " " + FNPDFY(ty) + " l");
  FPRINT("b");
}

// RGB2PDF: the fill operator of a colour value (red, green, blue, flag bytes, lowest first) and its flag.
void RGB2PDF(const std::int32_t& rgb, std::string& out, std::int16_t& flag) {
  RT_TRAP(trap, "RGB2PDF");
  const std::uint32_t v = static_cast<std::uint32_t>(rgb);
  flag = static_cast<std::int16_t>((v >> 24) & 0xFF);
  out = operands({FNFIXN((v & 0xFF) / 255.0, 3), FNFIXN(((v >> 8) & 0xFF) / 255.0, 3),
                  FNFIXN(((v >> 16) & 0xFF) / 255.0, 3)}) +
        " rg";
}

// ===================================================================== text

// PDFPRINT: one text object at dot (x, y), y the baseline. The text's marks become operators: the
// horizontal-scaling group, the printer's underline codes and cursor moves, font switches and colour
// runs. text comes back as the string shown between "(" and ") Tj".
void PDFPRINT(const std::int32_t& x, const std::int32_t& y, std::string& text) {
  RT_TRAP(trap, "PDFPRINT");
  const std::string group_mark(1, '\x15');
  std::string scale = " 94.482 Tz";
  long g1 = rt::INSTR(text, group_mark);
  if (g1 > 0) {
    long g2 = rt::INSTR(g1 + 1, text, group_mark);
    if (g2 > 0) {
      scale = FNRANDCE(rt::VAL(rt::MID(text, g1 + 1, g2 - g1 - 1)) * static_cast<double>(0.94482f)) + " Tz";
      text = rt::MID(text, g2 + 1);
    } else {
      text.erase(static_cast<size_t>(g1 - 1), 1);  // a lone mark scales nothing
    }
  }

  LOGUNDER(x, y, text);

  // Every backslash and parenthesis is escaped, so no text can end the string early or run it on.
  REPLAZE(text, "\\", "\\\\");
  REPLAZE(text, "(", "\\(");
  REPLAZE(text, ")", "\\)");
  REPLAZE(text, ULINEON, "");
  REPLAZE(text, ULINEOFF, "");

  FPRINT("BT");
  if (PDFLASTFONT != CURFONT) {
    std::string size = FNRANDCE(rt::VAL(FNPOINTS(FONTSPEC(CURFONT))));
    FPRINT(operands({"/Ff" + digits(CURFONT), size}) + " Tf ");
    PDFLASTFONT = CURFONT;
  }

  long p = FONTSWCODE.empty() ? 0 : rt::INSTR(text, FONTSWCODE);
  while (p > 0) {
    CURFONT = CURFONT == 1 ? 2 : 1;
    std::string size = FNFINDV(FONTSPEC(CURFONT), "v");
    if (p == 1) {
      FPRINT("/Ff" + digits(CURFONT) + " " + size + " Tf ");
      text.erase(0, 1);
      PDFLASTFONT = CURFONT;
      p = rt::INSTR(1, text, FONTSWCODE);  // a second mark at the start acts too
    } else {
      text.replace(static_cast<size_t>(p - 1), 1, ") Tj /Ff" + digits(CURFONT) + " " + size + " Tf (");
      PDFLASTFONT = CURFONT;
      p = rt::INSTR(p + 1, text, FONTSWCODE);
    }
  }

  FPRINT(FNPDFX(x) + " " + FNPDFY(y) + " Td");
  FPRINT(scale);

  // Colour runs. A run may go on over several texts; each text object sets the run's colour again
  // where it starts inside a run and ends in black, so the colour never reaches later drawing, another
  // stream or another leaf on the same page.
  std::string show = "(";
  if (!TEXTRGB.empty()) {
    if (TEXTRGBON != 0) show = TEXTRGB + " rg (";
    long c = CTRL25.empty() ? 0 : rt::INSTR(text, CTRL25);
    while (c > 0) {
      TEXTRGBON = TEXTRGBON == 0 ? -1 : 0;
      text.replace(static_cast<size_t>(c - 1), 1, TEXTRGBON != 0 ? ") Tj " + TEXTRGB + " rg (" : ") Tj 0.0 g (");
      c = rt::INSTR(c, text, CTRL25);
    }
  }
  show += text + ") Tj";
  if (!TEXTRGB.empty() && TEXTRGBON != 0) show += " 0.0 g";
  FPRINT(show);
  FPRINT("ET");
}

// LOGUNDER: removes the printer's cursor moves and underline codes from text and records where each
// underlined stretch starts and ends, measured on the text as it will be shown.
void LOGUNDER(const std::int32_t& x, const std::int32_t& y, std::string& text) {
  RT_TRAP(trap, "LOGUNDER");
  const std::string esc(1, '\x1b');
  std::string t = text;

  // Cursor moves: ESC "*p" digits "X". One without its "X" loses the sequence and its number.
  for (long p = rt::INSTR(t, esc + "*p"); p > 0; p = rt::INSTR(t, esc + "*p")) {
    long q = rt::INSTR(p, t, "X");
    if (q == 0) {
      q = p + 2;
      while (q < static_cast<long>(t.size()) && std::string("+-.0123456789").find(t[static_cast<size_t>(q)]) != std::string::npos) ++q;
    }
    t.erase(static_cast<size_t>(p - 1), static_cast<size_t>(q - p + 1));
  }

  ULINEOFF = esc + "&d@";
  ULINEON = esc + "&dD";
  const long slots = UNDERLINE.ubound() / 3;  // room for the runs of one leaf
  for (long p = rt::INSTR(t, ULINEON); p > 0; p = rt::INSTR(t, ULINEON)) {
    t.erase(static_cast<size_t>(p - 1), ULINEON.size());
    std::int32_t start = x + FNDLEN(rt::LEFT(t, p - 1), CURFONT);
    std::int32_t end;
    long q = rt::INSTR(p, t, ULINEOFF);
    if (q > 0) {
      t.erase(static_cast<size_t>(q - 1), ULINEOFF.size());
      end = x + FNDLEN(rt::LEFT(t, q - 1), CURFONT);
    } else {
      end = x + FNDLEN(t, CURFONT);
    }
    // Runs beyond the table's room are not recorded; their text is still shown.
    if (UNDERCOUNT >= slots) continue;
    ++UNDERCOUNT;
    UNDERLINE(3 * UNDERCOUNT - 2) = y;
    UNDERLINE(3 * UNDERCOUNT - 1) = start;
    UNDERLINE(3 * UNDERCOUNT) = end;
  }
  text = t;
}

// PDFUNDER: the recorded underlines of the leaf, as rules 4 dots wide, 5 dots below the baseline.
void PDFUNDER() {
  RT_TRAP(trap, "PDFUNDER");
  if (UNDERCOUNT <= 0) return;
  NEWSTREA();
  for (std::int32_t n = 1; n <= UNDERCOUNT; ++n) PDFRULE4(UNDERLINE(3 * n - 1), UNDERLINE(3 * n), UNDERLINE(3 * n - 2) + 5, 4);
  CLOSESTR();
}
