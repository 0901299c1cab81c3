// The PDF writer's blocks: the file and object layer, page assembly, page resources and fonts, page
// tree, catalogue, cross-reference table and trailer, path drawing and text, hatch and shade patterns,
// symbol images, the logo import and the reader of the logo's PDF file.
//
// Every byte goes through FPRINT or SPRINT, whose running count PDFBYTES gives the object offsets: the
// file is never re-read or repositioned. Every line ends with CR LF.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <set>
#include <vector>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/paths.h"

// Refuses the document in progress, once, with a message: nothing more is written to it, and
// ASSEMBLE removes the file instead of finishing it.
void refuse_document(const std::string& why) {
  if (pdf_refused) return;
  pdf_refused = true;
  pdf_refusal = "PDF not written - " + why + ": " + pdf_document_name;
  show_message(pdf_refusal, 0, {pdf_document_name});
}

// The reason given when a line cannot be written: the writer's own words for a failed write.
std::string cannot_write() {
  const std::string why = rt::write_failure(PDFFILE);
  return why.empty() ? "the file cannot be written" : "the file cannot be written (" + why + ")";
}

void make_room_for_object(std::int32_t n) {
  // A quarter more at a time: a large table that is found short by a little takes a little more room.
  if (PDFOFFSET.exists() && n > PDFOFFSET.ubound())
    PDFOFFSET.grow(std::max<long>(n, PDFOFFSET.ubound() + PDFOFFSET.ubound() / 4));
}

namespace {
std::int64_t objects_written = 0;
}  // namespace

std::int64_t take_objects_written() {
  const std::int64_t n = objects_written;
  objects_written = 0;
  return n;
}

// Ends a refused document: the new file written so far is removed; a file of that name stays as it was.
void discard_document() {
  if (rt::is_open(PDFFILE)) rt::abandon_file(PDFFILE);
  PDFBYTES = 0;
}

namespace {

const std::string kCrLf = "\r\n";

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

// FNRANDCE of a whole number of hundredths (dot positions scaled by 0.24 are exact in hundredths):
// h / 100 rounds back to h itself, so the text is made from h without the rounding.
std::string hundredths(std::int64_t h) { return hundredths_text(h); }

// Takes the next object number; the offsets table grows as needed (one number per object).
bool take_object_number() {
  ++PDFOBJECT;
  make_room_for_object(PDFOBJECT);
  return PDFOBJECT <= PDFOFFSET.ubound();
}

// A line after the counted part of the file (cross-reference table and trailer).
void write_uncounted(const std::string& line) {
  if (!pdf_refused) rt::print_line(PDFFILE, line);
}

// Forgets the logo of an earlier file or of a failed import, so that no page names logo objects
// that its file lacks.
void clear_logo_results() {
  for (std::string* t : {&LOGOCONTENT, &LOGORESOURCES, &LOGOPROCSET, &LOGOEXTGSTATE, &LOGOCOLORSPACE, &LOGOPATTERN,
                         &LOGOSHADING, &LOGOXOBJECT, &LOGOFONT})
    t->clear();
  LOGOLASTOBJ = LOGOPAGESOBJ = 0;
  LOGOINKRIGHT = -1;
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

// The first four lines of every file: the version line and the signature, the product word drawn in
// code-page-437 box characters over three comment lines.
void write_signature() {
  FPRINT("%PDF-1.3");
  FPRINT("\x25\xD2\xD2\xC9\xCD\xBB\xD2        ");
  FPRINT("\x25\xBA\xBA\xCC\xCD\xBC\xBA \xDB\xDB TRAX");
  FPRINT("\x25\xC8\xBC\xC8\xCD\xCD\xC8        ");
}

// OPENLEAF: begins a leaf; the first leaf of a document opens the file and writes the header.
void OPENLEAF(const std::string& file) {
  RT_TRAP(trap, "OPENLEAF");
  if (PDFBYTES == 0) {
    pdf_refused = false;
    pdf_document_name = file;
    PDFFILE = PAGEFILE;
    if (!rt::open_new_file(PDFFILE, file)) refuse_document("the file cannot be created");
    write_signature();
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
    // Nor can the logo: its objects are imported into each file anew.
    clear_logo_results();
  }
  ++LEAFCOUNT;
  if (LEAFCOUNT > LEAFCONTENT.ubound()) refuse_document("more than " + std::to_string(LEAFCONTENT.ubound()) + " pages");
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
void FPRINT(std::string_view line) {
  RT_TRAP(trap, "FPRINT");
  PDFBYTES += static_cast<std::int32_t>(line.size()) + 2;
  if (pdf_refused) return;
  // A line and its CR LF go to the file in one write (most lines are short operators).
  char buf[256];
  bool written;
  if (line.size() + 2 <= sizeof buf) {
    std::memcpy(buf, line.data(), line.size());
    buf[line.size()] = '\r';
    buf[line.size() + 1] = '\n';
    written = rt::print_line(PDFFILE, std::string_view(buf, line.size() + 2), false);
  } else {
    written = rt::print_line(PDFFILE, line);
  }
  if (!written) refuse_document(cannot_write());
}

// SPRINT: text without a line end, counted.
void SPRINT(std::string_view text) {
  RT_TRAP(trap, "SPRINT");
  PDFBYTES += static_cast<std::int32_t>(text.size());
  if (pdf_refused || text.empty()) return;
  if (!rt::print_line(PDFFILE, text, false)) refuse_document(cannot_write());
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
  std::string text(static_cast<size_t>(width), '0');
  std::int64_t v = value < 0 ? -static_cast<std::int64_t>(value) : value;
  for (size_t c = text.size(); c-- > 0 && v > 0; v /= 10) text[c] = static_cast<char>('0' + v % 10);
  return text;
}

// FNOID: the number that follows key in text; 0 when key does not occur, -1 when the number is too
// large for an object number or a length (a damaged file, which the caller refuses).
std::int32_t FNOID(const std::string& text, const std::string& key) {
  RT_TRAP(trap, "FNOID");
  long p = rt::INSTR(text, key);
  if (p == 0) return 0;
  // VAL(FNATRIM(MID(text, p + LEN(key)))) without the copies: what follows the key, from its first
  // byte above blank (VAL stops at the first byte that is no part of a number, so the end needs no trim).
  std::string_view rest(text);
  rest.remove_prefix(std::min(rest.size(), static_cast<size_t>(p - 1) + key.size()));
  while (!rest.empty() && static_cast<unsigned char>(rest.front()) <= 32) rest.remove_prefix(1);
  return rt::to_i32_or(rt::VAL(rest), -1);
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
  // The document takes the place of the file of its name only now, whole; a failure there is said.
  if (!rt::commit_file(PDFFILE)) pdf_refused = true;
  PDFBYTES = 0;
}

// WRITEPAG: one page: its fill patterns, its page object, its resources.
void WRITEPAG() {
  RT_TRAP(trap, "WRITEPAG");
  PAGEPATRES = LOGOPATTERN;
  CRLF = kCrLf;
  std::string delims = "\r\n";
  PARSVARS(PAGEFILL, delims);
  // A pattern that two leaves of the page both use is written once: a name may stand only once in
  // the page's /Pattern dictionary.
  std::vector<std::string> names;
  for (long i = 1; i <= PARSEDCOUNT; ++i)
    if (std::find(names.begin(), names.end(), PARSED(i)) == names.end()) names.push_back(PARSED(i));
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
      // Without a font table the name stays as it was, which may be none yet: a name-less font
      // would make the file unreadable, so the standard font stands in.
      FPRINT("/BaseFont /" + (FONTPDFNAME.empty() ? std::string("Helvetica") : FONTPDFNAME));
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
  objects_written += PDFOBJECT;
  write_uncounted("xref");
  write_uncounted("0" + rt::print_number(static_cast<std::int64_t>(PDFOBJECT) + 1));
  std::vector<std::int32_t> free_numbers;
  for (std::int32_t n = 1; n <= PDFOBJECT; ++n)
    if (PDFOFFSET(n) == 0) free_numbers.push_back(n);
  free_numbers.push_back(0);  // the last free entry points back to object 0
  size_t next_free = 0;
  // The entries (FNZEROFI(10, offset or next free number), generation, kind, CR LF) go to the file
  // in blocks of up to 64 KB: few writes, and no table of a joined file of many holes held whole.
  constexpr size_t kBlockEntries = 3276;
  std::string block;
  block.reserve(20 * kBlockEntries);
  const auto entry = [&block](std::int32_t value, const char* rest) {
    char at[20];
    std::int64_t v = value < 0 ? -static_cast<std::int64_t>(value) : value;
    for (int c = 9; c >= 0; --c, v /= 10) at[c] = static_cast<char>('0' + v % 10);
    std::memcpy(at + 10, rest, 10);
    block.append(at, 20);
    if (block.size() >= 20 * kBlockEntries) {
      if (!pdf_refused) rt::print_line(PDFFILE, block, false);
      block.clear();
    }
  };
  entry(free_numbers[next_free], " 65535 f\r\n");
  for (std::int32_t n = 1; n <= PDFOBJECT; ++n) {
    if (PDFOFFSET(n) != 0) {
      entry(PDFOFFSET(n), " 00000 n\r\n");
    } else {
      ++next_free;
      entry(free_numbers[next_free], " 00000 f\r\n");
    }
  }
  if (!pdf_refused && !block.empty()) rt::print_line(PDFFILE, block, false);
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

namespace {

// Puts "x y op" at out and returns its end: the PDF position of dot (x, y) as FNPDFX and FNPDFY
// write it, and an operator (at most 52 characters for an operator of 4).
char* put_point(char* out, std::int32_t x, std::int32_t y, std::string_view op) {
  out = put_hundredths(out, 24LL * x + 1800);
  *out++ = ' ';
  out = put_hundredths(out, 80700 - 24LL * y);
  *out++ = ' ';
  return std::copy(op.begin(), op.end(), out);
}

// The line "x y op", made on the stack (every line of a drawing is written so).
void point_line(std::int32_t x, std::int32_t y, std::string_view op) {
  char buf[64];
  FPRINT(std::string_view(buf, static_cast<size_t>(put_point(buf, x, y, op) - buf)));
}

char* put_crlf(char* out) {
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

// A stroked segment from (x1, y1) to (x2, y2): the line width operator width ("... w"), the move,
// the line and "S", written as one block (the bytes of FPRINT of each line).
void stroke_segment(std::string_view width, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  char buf[192];
  if (width.size() > 64) {  // a width operator is a number and " w": never so long
    FPRINT(width);
    point_line(x1, y1, "m");
    point_line(x2, y2, "l");
    FPRINT("S");
    return;
  }
  char* end = put_crlf(std::copy(width.begin(), width.end(), buf));
  end = put_crlf(put_point(end, x1, y1, "m"));
  end = put_crlf(put_point(end, x2, y2, "l"));
  *end++ = 'S';
  end = put_crlf(end);
  SPRINT(std::string_view(buf, static_cast<size_t>(end - buf)));
}

}  // namespace

void PDFMOVE(const std::int32_t& x, const std::int32_t& y) {
  RT_TRAP(trap, "PDFMOVE");
  point_line(x, y, "m");
}

void PDFLINE(const std::int32_t& x, const std::int32_t& y) {
  RT_TRAP(trap, "PDFLINE");
  point_line(x, y, "l");
}

// PDFRULE: a thin horizontal rule from x1 to x2 at y.
void PDFRULE(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y) {
  RT_TRAP(trap, "PDFRULE");
  stroke_segment(".12 w", x1, y, x2, y);
}

// PDFBORDE: a thin vertical rule from y1 to y2 at x.
void PDFBORDE(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2) {
  RT_TRAP(trap, "PDFBORDE");
  stroke_segment(".12 w", x, y1, x, y2);
}

// PDFRULE4: a horizontal rule w dots wide.
void PDFRULE4(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y, const std::int32_t& w) {
  RT_TRAP(trap, "PDFRULE4");
  stroke_segment(hundredths(24LL * w) + " w", x1, y, x2, y);
}

// PDFBORDE4: a vertical rule w dots wide.
void PDFBORDE4(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2, const std::int32_t& w) {
  RT_TRAP(trap, "PDFBORDE4");
  stroke_segment(hundredths(24LL * w) + " w", x, y1, x, y2);
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
  point_line(x, y, "m");
  point_line(bx, y, "l");
  point_line(tx, ty, "l");
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
  // (Each replacement is looked for only when its first byte occurs: most texts hold none of them.)
  if (std::any_of(text.begin(), text.end(), [](char c) { return c == '\\' || c == '(' || c == ')'; })) {
    REPLAZE(text, "\\", "\\\\");
    REPLAZE(text, "(", "\\(");
    REPLAZE(text, ")", "\\)");
  }
  if (text.find('\x1b') != std::string::npos) {  // the underline codes begin with ESC
    REPLAZE(text, ULINEON, "");
    REPLAZE(text, ULINEOFF, "");
  }

  // The text object's lines are gathered and written as one block (the bytes of FPRINT of each).
  std::string block;
  block.reserve(2 * text.size() + 160);  // room for the lines below, so it grows seldom
  const auto line = [&block](std::string_view l) {
    block += l;
    block += "\r\n";
  };
  line("BT");
  if (PDFLASTFONT != CURFONT || TEXTPOINTS > 0) {
    std::string size = FNRANDCE(TEXTPOINTS > 0 ? TEXTPOINTS : rt::VAL(FNPOINTS(FONTSPEC(CURFONT))));
    line(operands({"/Ff" + digits(CURFONT), size}) + " Tf ");
    // A text set in another size than its font's own: the next text selects its font again.
    PDFLASTFONT = TEXTPOINTS > 0 ? -1 : CURFONT;
  }

  long p = FONTSWCODE.empty() ? 0 : rt::INSTR(text, FONTSWCODE);
  while (p > 0) {
    CURFONT = CURFONT == 1 ? 2 : 1;
    std::string size = FNFINDV(FONTSPEC(CURFONT), "v");
    if (p == 1) {
      line("/Ff" + digits(CURFONT) + " " + size + " Tf ");
      text.erase(0, 1);
      PDFLASTFONT = CURFONT;
      p = rt::INSTR(1, text, FONTSWCODE);  // a second mark at the start acts too
    } else {
      text.replace(static_cast<size_t>(p - 1), 1, ") Tj /Ff" + digits(CURFONT) + " " + size + " Tf (");
      PDFLASTFONT = CURFONT;
      p = rt::INSTR(p + 1, text, FONTSWCODE);
    }
  }

  char point[64];
  line(std::string_view(point, static_cast<size_t>(put_point(point, x, y, "Td") - point)));
  line(scale);

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
  line(show);
  line("ET");
  SPRINT(block);
}

// LOGUNDER: removes the printer's cursor moves and underline codes from text and records where each
// underlined stretch starts and ends, measured on the text as it will be shown.
void LOGUNDER(const std::int32_t& x, const std::int32_t& y, std::string& text) {
  RT_TRAP(trap, "LOGUNDER");
  const std::string esc(1, '\x1b');
  if (text.find('\x1b') == std::string::npos) {  // no cursor move and no underline: the text stays
    ULINEOFF = esc + "&d@";
    ULINEON = esc + "&dD";
    return;
  }
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

// ===================================================================== hatch and shade patterns

// ADDPDFSH: registers the fill pattern PATTERNNAME for the current leaf, once.
void ADDPDFSH() {
  RT_TRAP(trap, "ADDPDFSH");
  // The entry ends with its blank and line end, so "/Shade2" is not taken for "/Shade28".
  const std::string entry = PATTERNNAME + " " + kCrLf;
  if (rt::INSTR(CURFILL, entry) == 0) CURFILL += entry;
}

// WRITESHA: the pattern FILLNAME as an uncoloured tiling pattern (its object, the stream's length and
// its resources), one unit a 300-dpi dot; its entry goes to the page's PAGEPATRES.
void WRITESHA() {
  RT_TRAP(trap, "WRITESHA");
  static const std::vector<std::pair<std::string, std::vector<std::string>>> kTiles = {
      {"/Hatch1", {"0 8 m", "16 8 l"}},
      {"/Hatch2", {"8 0 m", "8 16 l"}},
      {"/Hatch3", {"0 0 m", "16 16 l"}},
      {"/Hatch4", {"0 16 m", "16 0 l"}},
      {"/Hatch5", {"8 0 m", "8 16 l", "0 8 m", "16 8 l"}},
      {"/Hatch6", {"0 16 m", "16 0 l", "0 0 m", "16 16 l"}},
      {"/Shade2", {"0 0 .5 .5 re", "4 8 .5 .5 re"}},
      {"/Shade7", {"0 0 .5 .5 re", "4 4 .5 .5 re"}},
      {"/Shade16", {"0 0 1 1 re", "4 4 1 1 re"}},
      {"/Shade28", {"0 0 2 2 re", "4 4 2 2 re"}},
      {"/Shade45", {"0 0 3 3 re", "4 4 3 3 re"}},
      {"/Shade68", {"0 0 4 4 re", "4 4 4 4 re"}},
      {"/Shade75", {"0 0 5 5 re", "4 4 5 5 re"}},
      {"/Shade100", {"0 0 8 8 re"}},
  };
  LOGNEXTO();
  const std::int32_t p = PDFOBJECT;
  const std::string group = rt::LEFT(FILLNAME, 2);
  PAGEPATRES += FILLNAME + " " + FNOBJREF(p) + kCrLf;
  FPRINT("<<");
  FPRINT("/Type /Pattern");
  FPRINT("/PatternType 1");
  FPRINT("/PaintType 2");
  FPRINT("/TilingType 1");
  FPRINT("/ImageMask true");
  if (FILLNAME == "/Shade2") {
    FPRINT("/BBox [0 0 8 16]");
    FPRINT("/XStep  8");
    FPRINT("/YStep 16");
  } else if (group == "/S") {
    FPRINT("/BBox [0 0 9 9]");
    FPRINT("/XStep  8");
    FPRINT("/YStep  8");
  } else {
    FPRINT("/BBox [-1 -1 17 17]");
    FPRINT("/XStep 16");
    FPRINT("/YStep 16");
  }
  FPRINT("/Resources " + FNOBJREF(p + 2));
  FPRINT("/Matrix [0.24 0 0 0.24 0 0 ]");
  OPENSTRE();
  if (group == "/H") FPRINT("1.00 w");
  for (const auto& [name, lines] : kTiles)
    if (name == FILLNAME)
      for (const std::string& line : lines) FPRINT(line);
  if (group == "/H") FPRINT("S");
  if (group == "/S") FPRINT("f");
  CLOSESTR();
  LOGNEXTO();
  FPRINT("<<");
  FPRINT("/ProcSet [ /PDF ]");
  FPRINT(">>");
  FPRINT("endobj");
}

// ===================================================================== symbol images

namespace {

// Most rows one image may have: a band taller than that is a fault of its caller, not a symbol.
constexpr long kMaxImageRows = 65535;

// Puts the 8 bytes of raster row slot s at out and returns their end: each word's low 16 bits
// inverted (a set pixel becomes a 0 sample, which the image mask paints), low byte first.
char* put_raster_row(char* out, long slot) {
  if (SYMBITS.in_bounds(2 + 4 * slot) && SYMBITS.in_bounds(5 + 4 * slot)) {
    const std::int32_t* bits = &SYMBITS(2 + 4 * slot);
    for (long k = 0; k < 4; ++k) {
      const std::uint32_t w = ~static_cast<std::uint32_t>(bits[k]);
      *out++ = static_cast<char>(w & 0xFF);
      *out++ = static_cast<char>((w >> 8) & 0xFF);
    }
    return out;
  }
  for (long k = 0; k < 4; ++k) {
    const long i = 2 + 4 * slot + k;
    const std::uint32_t w = ~static_cast<std::uint32_t>(SYMBITS.in_bounds(i) ? SYMBITS(i) : 0);
    *out++ = static_cast<char>(w & 0xFF);
    *out++ = static_cast<char>((w >> 8) & 0xFF);
  }
  return out;
}

// Writes raster rows first..last (ring slots r MOD 60) as the next image mask of the file, 64 pixels
// wide and as many rows high as it holds, and registers it for the current leaf. No rows, no image:
// SYMBOLNAME is then empty and the placement that follows draws nothing.
void write_symbol_image(long first, long last) {
  SYMBOLNAME.clear();
  if (last < first || last - first >= kMaxImageRows) return;
  LOGNEXTO();
  ++SYMBOLCOUNT;
  SYMBOLNAME = "/Symbol" + digits(SYMBOLCOUNT);
  CURXOBJECT += SYMBOLNAME + " " + FNOBJREF(PDFOBJECT) + kCrLf;
  FPRINT("<<");
  FPRINT("/Type /XObject");
  FPRINT("/Subtype /Image");
  FPRINT("/Name " + SYMBOLNAME);
  FPRINT("/Width 64");
  FPRINT("/Height " + digits(last - first + 1));
  FPRINT("/ImageMask true");
  FPRINT("/Decode [0 1]");
  FPRINT("/BitsPerComponent 1");
  OPENSTRE();
  // The rows written as one piece: eight bytes a row.
  std::string rows(static_cast<size_t>(last - first + 1) * 8, '\0');
  char* at = rows.data();
  for (long r = first; r <= last; ++r) at = put_raster_row(at, (r % 60 + 60) % 60);
  SPRINT(rows);
  FPRINT(BLANKLINE);
  CLOSESTR();
}

}  // namespace

// WRITESYM: the band RASTEREND..RASTERY of the symbol column as an image; raster row r covers the
// dot rows from HEADDOTS + r * RASTERSTEP.
void WRITESYM() {
  RT_TRAP(trap, "WRITESYM");
  SYMBOLNAME.clear();
  if (!(RASTERSTEP > 0)) return;
  const double first = std::floor((static_cast<double>(RASTEREND) - HEADDOTS) / RASTERSTEP);
  const double last = std::floor((static_cast<double>(RASTERY) - HEADDOTS) / RASTERSTEP);
  if (std::fabs(first) > 1e9 || std::fabs(last) > 1e9) return;
  write_symbol_image(static_cast<long>(first), static_cast<long>(last));
}

// WRITESAM: a sample symbol, the whole raster and its first row once more (61 rows).
void WRITESAM() {
  RT_TRAP(trap, "WRITESAM");
  write_symbol_image(0, 60);
}

// WRITESYMUSE: places the image written last, 30.72 points wide and as high as its band, with its
// bottom left corner at (RASTERX, RASTERY).
void WRITESYMUSE(const std::int32_t& n, const std::string& kind) {
  RT_TRAP(trap, "WRITESYMUSE");
  if (SYMBOLNAME.empty()) return;
  NEWSTREA();
  const std::string h = hundredths(24LL * (static_cast<std::int64_t>(RASTERY) - RASTEREND + 1));
  const std::string x = FNPDFX(RASTERX);
  const std::string y = kind == "SOIL" ? FNPDFY(RASTERY - PAGEORIGIN) : FNPDFY(RASTERY);
  const std::string place = "30.72 0 0 " + h + " " + x + " " + y + " cm";
  if (kind == "SOIL") {
    const std::int32_t c = SYMBOLRGB(n);
    if (c > 0) {
      RGB2PDF(c, SYMFILL, RGBFLAG);
      FPRINT(SYMFILL);
      if (RGBFLAG & 1) {  // the band filled in the colour
        FPRINT(x + " " + y + " 30.72 " + h + " re ");
        FPRINT("f");
      }
      if (RGBFLAG & 2) {  // the symbol in the colour, or black over the coloured band
        FPRINT("q");
        if (RGBFLAG & 1) FPRINT("0.0 g");
        FPRINT(place);
        FPRINT(SYMBOLNAME + " Do");
        FPRINT("Q");
      }
      FPRINT("0.0 g");
    } else {
      FPRINT("q");
      FPRINT(place);
      FPRINT(SYMBOLNAME + " Do");
      FPRINT("Q");
    }
  } else {
    FPRINT("q");
    FPRINT(SYMFILL);
    FPRINT(place);
    FPRINT(SYMBOLNAME + " Do");
    FPRINT("Q");
  }
  CLOSESTR();
}

// ===================================================================== reading the logo's PDF file

namespace {

constexpr size_t npos = std::string::npos;

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }
bool is_delimiter(char c) { return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr; }
bool is_regular(char c) { return !is_white(c) && !is_delimiter(c); }

// The position after the blanks, line ends and comments at pos.
size_t skip_white(const std::string& t, size_t pos) {
  while (pos < t.size()) {
    if (is_white(t[pos])) {
      ++pos;
    } else if (t[pos] == '%') {
      while (pos < t.size() && t[pos] != '\r' && t[pos] != '\n') ++pos;
    } else {
      break;
    }
  }
  return pos;
}

// The first occurrence of key from pos that stands as a token of its own: "/Font" is not found in
// "/FontFile", nor "obj" in "endobj".
size_t find_token(const std::string& t, const std::string& key, size_t pos = 0) {
  if (key.empty()) return npos;
  for (size_t p = t.find(key, pos); p != npos; p = t.find(key, p + 1)) {
    const size_t e = p + key.size();
    if (e < t.size() && is_regular(t[e])) continue;
    if (key[0] != '/' && p > 0 && is_regular(t[p - 1])) continue;
    return p;
  }
  return npos;
}

// An unsigned decimal number at pos; false when no digit stands there or it is too large.
bool read_number(const std::string& t, size_t& pos, std::int64_t& v) {
  size_t i = pos;
  v = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    v = v * 10 + (t[i] - '0');
    if (v > 0x7FFFFFFF) return false;
    ++i;
  }
  if (i == pos) return false;
  pos = i;
  return true;
}

// An indirect reference "n g R" at pos; end is the position after its "R".
bool read_reference(const std::string& t, size_t pos, std::int64_t& n, std::int64_t& gen, size_t& end) {
  size_t i = pos;
  if (!read_number(t, i, n) || i >= t.size() || !is_white(t[i])) return false;
  i = skip_white(t, i);
  if (!read_number(t, i, gen) || i >= t.size() || !is_white(t[i])) return false;
  i = skip_white(t, i);
  if (i >= t.size() || t[i] != 'R' || (i + 1 < t.size() && is_regular(t[i + 1]))) return false;
  end = i + 1;
  return true;
}

// The number that follows key in t (blanks, line ends and comments between). present tells whether
// the key occurs; v is -1 when no number follows it.
bool key_number(const std::string& t, const std::string& key, std::int64_t& v) {
  v = -1;
  size_t p = find_token(t, key);
  if (p == npos) return false;
  size_t i = skip_white(t, p + key.size());
  if (!read_number(t, i, v)) v = -1;
  return true;
}

// The position after the literal string that begins at pos, or npos when it does not end.
size_t skip_string(const std::string& t, size_t pos) {
  int depth = 0;
  for (size_t i = pos; i < t.size(); ++i) {
    if (t[i] == '\\') {
      ++i;
    } else if (t[i] == '(') {
      ++depth;
    } else if (t[i] == ')' && --depth == 0) {
      return i + 1;
    }
  }
  return npos;
}

// The position of the close that matches the open at pos, or npos. Strings, hex strings and
// comments are passed over, so a bracket inside them does not count, and no ">" of a hex string is
// taken for half of a ">>".
size_t match_close(const std::string& t, size_t pos, const std::string& open, const std::string& close) {
  int depth = 0;
  size_t i = pos;
  while (i < t.size()) {
    if (t.compare(i, open.size(), open) == 0) {
      ++depth;
      i += open.size();
    } else if (t.compare(i, close.size(), close) == 0) {
      if (--depth == 0) return i;
      i += close.size();
    } else if (t[i] == '(') {
      i = skip_string(t, i);
      if (i == npos) return npos;
    } else if (t[i] == '%') {
      while (i < t.size() && t[i] != '\r' && t[i] != '\n') ++i;
    } else if (t[i] == '<' || t[i] == '>') {
      if (i + 1 < t.size() && t[i + 1] == t[i]) {
        i += 2;  // a dictionary bracket of the other kind
      } else if (t[i] == '<') {
        size_t g = t.find('>', i);
        if (g == npos) return npos;
        i = g + 1;
      } else {
        ++i;
      }
    } else {
      ++i;
    }
  }
  return npos;
}

// count bytes of the file being read, from position pos (from 0); fewer at its end.
std::string read_at(std::int64_t pos, std::int64_t count) {
  if (pos < 0 || count <= 0) return {};
  rt::seek(PDFINFILE, pos + 1);
  return rt::get_bytes(PDFINFILE, static_cast<size_t>(count));
}

// The text of object n of the file being read; empty for a number the table does not hold. Only the
// values of dictionaries and arrays are looked for in it, so a long stream is not read to its end.
std::string object_text(std::int64_t n) {
  if (n <= 0 || n >= XREFCOUNT || !OBSTART.in_bounds(static_cast<long>(n)) || !OBLENG.in_bounds(static_cast<long>(n)))
    return {};
  if (OBLENG(static_cast<long>(n)) <= 0) return {};
  return read_at(OBSTART(static_cast<long>(n)), std::min<std::int32_t>(OBLENG(static_cast<long>(n)), 1 << 20));
}


// The right end of what a logo's content streams draw, in points of the logo's page: from the
// rectangles, path points and texts (a text as wide as 0.75 of its size a character, as wide as a
// bold font's capitals); -1 when a stream is compressed or draws anything this cannot place (a transformation,
// an image, a form, a shading, text moved by a matrix).
double logo_ink_right(const std::string& contents) {
  double right = -1;
  for (size_t at = skip_white(contents, 0); at < contents.size(); at = skip_white(contents, at)) {
    std::int64_t n = 0, gen = 0;
    size_t end = 0;
    if (!read_reference(contents, at, n, gen, end)) break;
    at = end;
    const std::string obj = object_text(n);
    const size_t s = obj.find("stream"), e = obj.rfind("endstream");
    if (s == npos || e == npos || e < s || obj.find("/Filter") < s) return -1;
    std::vector<double> nums;
    double size = 0, line_x = 0, text_x = 0;
    const std::string body = obj.substr(s + 6, e - s - 6);
    for (size_t i = 0; i < body.size();) {
      const char c = body[i];
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (c == '%') {
        while (i < body.size() && body[i] != '\n' && body[i] != '\r') ++i;
      } else if (c == '(' || c == '[') {
        // A string (or an array of them) shown by the operator after it: its characters counted.
        size_t chars = 0;
        int depth = 0;
        const bool array = c == '[';
        size_t j = i;
        for (; j < body.size(); ++j) {
          const char d = body[j];
          if (d == '\\') {
            ++j, ++chars;
          } else if (d == '(') {
            if (depth++ > 0) ++chars;
          } else if (d == ')') {
            if (--depth > 0) ++chars;
            if (depth == 0 && !array) break;
          } else if (d == ']' && array && depth == 0) {
            break;
          } else if (depth > 0) {
            ++chars;
          }
        }
        i = j + 1;
        right = std::max(right, text_x + static_cast<double>(chars) * size * 0.75);
        nums.clear();
      } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
        size_t j = i + 1;
        while (j < body.size() && (std::isdigit(static_cast<unsigned char>(body[j])) || body[j] == '.')) ++j;
        nums.push_back(rt::VAL(body.substr(i, j - i)));
        i = j;
      } else if (c == '/') {
        size_t j = i + 1;
        while (j < body.size() && !std::isspace(static_cast<unsigned char>(body[j])) && std::string("/[(<").find(body[j]) == npos) ++j;
        i = j;
      } else {
        size_t j = i;
        while (j < body.size() && std::isalpha(static_cast<unsigned char>(body[j])) ) ++j;
        if (j == i) j = i + 1;
        const std::string op = body.substr(i, j - i);
        i = j;
        if (op == "re" && nums.size() >= 4) {
          const double x = nums[nums.size() - 4], w = nums[nums.size() - 2];
          right = std::max({right, x, x + w});
        } else if ((op == "m" || op == "l") && nums.size() >= 2) {
          right = std::max(right, nums[nums.size() - 2]);
        } else if (op == "c" && nums.size() >= 6) {
          right = std::max({right, nums[nums.size() - 6], nums[nums.size() - 4], nums[nums.size() - 2]});
        } else if ((op == "v" || op == "y") && nums.size() >= 4) {
          right = std::max({right, nums[nums.size() - 4], nums[nums.size() - 2]});
        } else if (op == "Tf" && !nums.empty()) {
          size = nums.back();
        } else if (op == "BT") {
          line_x = text_x = 0;
        } else if ((op == "Td" || op == "TD") && nums.size() >= 2) {
          line_x += nums[nums.size() - 2];
          text_x = line_x;
        } else if (op == "cm" || op == "Tm" || op == "Do" || op == "BI" || op == "sh" || op == "Tz" || op == "Tc" ||
                   op == "Tw" || op == "'" || op == "\"") {
          return -1;
        }
        nums.clear();
      }
    }
  }
  return right;
}
}  // namespace

// READXREF: the cross-reference sections of the file on PDFINFILE, from the offset after "startxref"
// in tail back along the /Prev chain. The newest section's entry for a number is the one that counts
// (a newer free entry deletes an older object), as does the newest /Root. Free entries give no
// offset. Anything the reader cannot follow (a cross-reference stream, a /Prev chain that loops, a
// line that does not end, entries outside the file or beyond the tables) sets xref_error instead.
void READXREF(const std::string& tail) {
  RT_TRAP(trap, "READXREF");
  trap.step("0001");
  CRLF = kCrLf;
  xref_error.clear();
  xref_marks.clear();
  XREFOFFSET.clear();
  const std::int64_t length = rt::LOF(PDFINFILE);
  const std::int64_t limit = XREFOFFSET.ubound();  // the end mark needs the entry after the last number
  const std::string table_error = "Cannot read Xref table in ";
  const std::string too_many = "Too many objects (more than " + std::to_string(limit) + ") in ";

  size_t p = tail.rfind("startxref");
  size_t d = p == npos ? npos : skip_white(tail, p + 9);
  std::int64_t start = 0;
  if (d == npos || !read_number(tail, d, start)) {
    xref_error = "Cannot find Xrefstart in ";
    return;
  }
  std::vector<bool> seen(static_cast<size_t>(limit) + 1, false);
  std::set<std::int64_t> visited;
  std::int32_t endmark = 0;
  bool root_found = false;
  for (;;) {
    trap.step("0002");
    if (start <= 0 || start >= length) {
      xref_error = table_error;
      return;
    }
    if (!visited.insert(start).second) {
      xref_error = "Xref /Prev chain loops in ";
      return;
    }
    STARTXREF = static_cast<std::int32_t>(start);
    xref_marks.push_back(STARTXREF);
    endmark = std::max(endmark, STARTXREF);
    READPOS = STARTXREF;
    if (!GETNEXTL(READPOS, READLINE) || FNATRIM(READLINE) != "xref") {
      // "n 0 obj" where the table should stand: a cross-reference stream (PDF 1.5 and later).
      const std::string line = FNATRIM(READLINE);
      std::int64_t n = 0, gen = 0;
      size_t i = 0;
      const bool stream = read_number(line, i, n) && i < line.size() && is_white(line[i]) &&
                          (i = skip_white(line, i), read_number(line, i, gen)) &&
                          find_token(line, "obj", i) == skip_white(line, i);
      xref_error = stream ? "Cannot read cross-reference stream in " : table_error;
      return;
    }

    // Subsections "first count" and their entries, up to "trailer".
    trap.step("0003");
    for (;;) {
      const std::int32_t line_start = READPOS;
      if (!GETNEXTL(READPOS, READLINE)) {
        xref_error = table_error;
        return;
      }
      const std::string head = FNATRIM(READLINE);
      if (head.empty()) continue;  // an empty line before "trailer", as some programs write it
      if (head.rfind("trailer", 0) == 0) {
        READPOS = line_start;
        break;
      }
      std::int64_t first = 0, count = 0;
      size_t i = 0;
      if (!read_number(head, i, first) || (i = skip_white(head, i), !read_number(head, i, count)) ||
          skip_white(head, i) != head.size()) {
        xref_error = table_error;
        return;
      }
      if (first + count > limit) {
        xref_error = too_many;
        return;
      }
      for (std::int64_t k = 0; k < count; ++k) {
        if (!GETNEXTL(READPOS, READLINE)) {
          xref_error = table_error;
          return;
        }
        const std::string entry = FNATRIM(READLINE);
        std::int64_t offset = 0, gen = 0;
        size_t j = 0;
        if (!read_number(entry, j, offset) || (j = skip_white(entry, j), !read_number(entry, j, gen)) ||
            (j = skip_white(entry, j), j + 1 != entry.size()) || (entry[j] != 'n' && entry[j] != 'f')) {
          xref_error = table_error;
          return;
        }
        const size_t number = static_cast<size_t>(first + k);
        if (entry[j] == 'n' && offset > 0 && offset < length) xref_marks.push_back(static_cast<std::int32_t>(offset));
        if (number == 0 || seen[number]) continue;  // a newer section gave this number already
        seen[number] = true;
        if (entry[j] == 'f') continue;
        // The copy keeps the generation 0 of every object; an object in use must lie in the file.
        if (gen != 0 || offset <= 0 || offset >= length) {
          xref_error = table_error;
          return;
        }
        XREFOFFSET(static_cast<long>(number)) = static_cast<std::int32_t>(offset);
      }
      XREFCOUNT = std::max<std::int32_t>(XREFCOUNT, static_cast<std::int32_t>(first + count));
    }

    // The trailer: read in blocks that grow by 80 bytes until "startxref" follows it.
    trap.step("0004");
    BLOCKPOS = 80;
    do {
      BLOCKPOS += 80;
      READLINE = read_at(READPOS, BLOCKPOS);
    } while (READLINE.find("startxref") == npos && static_cast<std::int32_t>(READLINE.size()) == BLOCKPOS &&
             BLOCKPOS < 32767);
    size_t sx = READLINE.find("startxref");
    if (sx == npos) {
      xref_error = table_error;
      return;
    }
    const std::string trailer = READLINE.substr(0, sx);
    std::int64_t v = 0;
    if (key_number(trailer, "/Size", v)) {
      if (v > limit) {
        xref_error = too_many;
        return;
      }
      XREFCOUNT = std::max<std::int32_t>(XREFCOUNT, static_cast<std::int32_t>(std::max<std::int64_t>(v, 0)));
    }
    if (!root_found && key_number(trailer, "/Root", v) && v > 0) {
      ROOTOBJ = static_cast<std::int32_t>(v);
      root_found = true;
    }
    // Objects kept in object streams (a hybrid file) or encrypted strings cannot be copied byte for byte.
    if (find_token(trailer, "/XRefStm") != npos) {
      xref_error = "Cannot read cross-reference stream in ";
      return;
    }
    if (find_token(trailer, "/Encrypt") != npos) {
      xref_error = "Cannot copy the encrypted file ";
      return;
    }
    if (!key_number(trailer, "/Prev", v)) break;
    if (v < 0) {
      xref_error = table_error;
      return;
    }
    start = v;
  }
  trap.step("0005");
  if (XREFCOUNT > limit) {
    xref_error = too_many;
    return;
  }
  XREFOFFSET(XREFCOUNT) = endmark;
}

// GETNEXTL: the line that starts at pos, read in windows of 256 bytes, doubled while no line end is
// found, up to 32767; a CR LF pair, a lone CR or a lone LF ends it. At the end of the file the rest
// of the file is the last line.
bool GETNEXTL(std::int32_t& pos, std::string& line) {
  RT_TRAP(trap, "GETNEXTL");
  line.clear();
  for (std::int32_t window = 256;; window = std::min(window * 2, 32767)) {
    // One byte more than the window: a CR at its end may begin a CR LF pair.
    std::string block = read_at(pos, window + 1);
    size_t e = block.find_first_of("\r\n");
    if (e != npos && e < static_cast<size_t>(window)) {
      line = block.substr(0, e);
      pos += static_cast<std::int32_t>(e) + (block[e] == '\r' && e + 1 < block.size() && block[e + 1] == '\n' ? 2 : 1);
      return true;
    }
    if (block.size() <= static_cast<size_t>(window)) {
      if (block.empty()) return false;
      line = block;
      pos += static_cast<std::int32_t>(block.size());
      return true;
    }
    if (window == 32767) return false;  // longer than any line the reader takes
  }
}

// READRESO: the value of key in text. A bracketed value (open ... close, nested brackets counted)
// gives what stands between the brackets. An indirect reference gives the bracketed value of the
// object it names (its references left as they stand), or the reference itself, " n 0 R ", when that
// object has none (a stream: a single /Contents reference). A reference met while resolving an object
// (key "obj") is not followed.
void READRESO(const std::string& text, const std::string& key, const std::string& open, const std::string& close,
              std::string& out) {
  RT_TRAP_NONE(trap, "READRESO");
  out.clear();
  const size_t k = find_token(text, key);
  if (k == npos) return;
  const size_t v = skip_white(text, k + key.size());
  if (text.compare(v, open.size(), open) == 0) {
    const size_t c = match_close(text, v, open, close);
    if (c != npos) out = text.substr(v + open.size(), c - v - open.size());
    return;
  }
  std::int64_t n = 0, gen = 0;
  size_t end = 0;
  if (key == "obj" || !read_reference(text, v, n, gen, end)) return;
  const std::string reference = " " + std::to_string(n) + " " + std::to_string(gen) + " R ";
  std::string inner;
  if (n > 0) READRESO(object_text(n), "obj", open, close, inner);
  out = inner.empty() ? reference : inner;
}

// ===================================================================== logo import

namespace {

// True when text holds the name "/" + word, then digits (at least one when numbered), and nothing more
// of a name. A plain scan: a pattern matcher would recurse once per character of a long name.
bool holds_name(const std::string& text, std::string_view word, bool numbered) {
  const std::string head = "/" + std::string(word);
  for (size_t at = text.find(head); at != std::string::npos; at = text.find(head, at + 1)) {
    size_t i = at + head.size();
    const size_t digits_from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (numbered && i == digits_from) continue;
    if (i == text.size()) return true;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '#' && c != '.' && c != '_' && c != '-') return true;
  }
  return false;
}

// A resource name of the logo that the engine gives its own resources too: the two would collide.
bool clashes_with_engine_names() {
  return holds_name(LOGOFONT, "Ff", true) || holds_name(LOGOCOLORSPACE, "Catch", false) ||
         holds_name(LOGOXOBJECT, "Symbol", true) || holds_name(LOGOPATTERN, "Hatch", true) ||
         holds_name(LOGOPATTERN, "Shade", true);
}

// Orders the logo's objects by offset and finds where each begins and how long it is: up to the next
// object or cross-reference section, or an older object that a newer section replaced. False when the table points elsewhere
// than at the objects it names (an offset past the last section, two numbers at one place, or bytes
// that do not begin with the object's own label).
bool make_object_table() {
  MATSORTL(XREFORDER, XREFOFFSET, XREFCOUNT);
  if (XREFORDER(XREFCOUNT) != XREFCOUNT) return false;  // an object after the last section
  for (std::int32_t i = 1; i <= XREFCOUNT - 1; ++i) {
    const std::int32_t n = XREFORDER(i);
    OBSTART(n) = XREFOFFSET(n);
    OBLENG(n) = 0;
    if (XREFOFFSET(n) == 0) continue;  // free, or not in the table
    std::int32_t end = XREFOFFSET(XREFORDER(i + 1));
    for (std::int32_t mark : xref_marks)
      if (mark > OBSTART(n)) end = std::min(end, mark);
    OBLENG(n) = end - OBSTART(n);
    if (OBLENG(n) <= 0) return false;
    const std::string label = read_at(OBSTART(n), std::min<std::int32_t>(OBLENG(n), 40));
    std::int64_t number = 0, gen = 0;
    size_t i2 = 0;
    if (!read_number(label, i2, number) || number != n || i2 >= label.size() || !is_white(label[i2])) return false;
    i2 = skip_white(label, i2);
    if (!read_number(label, i2, gen) || gen != 0) return false;
    if (find_token(label, "obj", i2) != skip_white(label, i2)) return false;
  }
  return true;
}

// Copies object n byte for byte in blocks of 2048 bytes; its offset in this file goes to PDFOFFSET.
// A linearized file's parameter dictionary is left out: its number stays free.
void copy_object(std::int32_t n) {
  std::int32_t done = 0;
  while (done < OBLENG(n)) {
    std::string block = read_at(static_cast<std::int64_t>(OBSTART(n)) + done, std::min<std::int32_t>(2048, OBLENG(n) - done));
    if (block.empty()) break;
    if (done == 0) {
      if (block.find("/Linearized") != npos) return;
      make_room_for_object(n);
      PDFOFFSET(n) = PDFBYTES;
    }
    SPRINT(block);
    done += static_cast<std::int32_t>(block.size());
  }
}

}  // namespace

// PDFLOGO: imports the logo file LOGOMACRO + ".PDF" into the current file, once per file: its objects,
// keeping their numbers, then the placement stream and the closing stream that bracket the logo's
// own content streams in every page's /Contents (LOGOCONTENT), and its resource entries.
void PDFLOGO() {
  RT_TRAP(trap, "PDFLOGO");
  trap.step("0001");
  if (LOGODONE == -1) return;
  // The logo's objects keep their own numbers, so they must be the first objects of the file; once
  // the file holds others (a later page of a document whose first page had no logo) it cannot take it.
  if (PDFBYTES == 0 || pdf_refused || PDFOBJECT != 0) return;
  CRLF = kCrLf;
  platform::Console& con = platform::console();
  const std::string name = LOGOMACRO + ".PDF";
  LOGOFAIL = 0;
  if (!rt::file_exists(name)) {
    LOGOFAIL = -1;
    clear_logo_results();
    // A SET file that names no logo asks for none.
    if (!FNATRIM(LOGOMACRO).empty())
      rt::fault_logged_once("Cannot find logofile " + name + "; the sheets are drawn without the logo");
    if (on_console_screen()) {  // on the message line, two seconds
      show_message("Cannot find logofile " + name, 0, {name});
      con.pause_ms(1000);
      return;
    }
    const int row = con.cursor_row();
    con.print("Cannot find logofile " + name, false);
    con.pause_ms(2000);
    con.locate(row, 1);
    con.print(rt::SPACE(21 + static_cast<long>(name.size())), false);
    return;
  }
  auto fail = [&](const std::string& why) {
    LOGOFAIL = -1;
    clear_logo_results();
    rt::fault_logged_once("LOGO FAILED - " + why + name + "; the sheets are drawn without the logo");
    if (rt::is_open(PDFINFILE)) rt::close_file(PDFINFILE);
    if (on_console_screen()) {  // on the message line, two seconds
      show_message("LOGO FAILED - " + why + name, 0, {name});
      con.pause_ms(1000);
      return;
    }
    con.print("LOGO FAILED - " + why + name, false);
    con.pause_ms(2000);
  };

  trap.step("0002");
  PDFINFILE = rt::FREEFILE();
  if (!rt::open_file(PDFINFILE, name, rt::FileMode::Binary)) {
    fail("Cannot open ");
    return;
  }
  // A logo named without a folder is the engine folder's own (LOGO0.PDF): a disk that fails to give
  // it is said as for the engine's other files. A logo of the user's elsewhere keeps the plain words.
  if (platform::folder_part(name).empty()) rt::engine_file(PDFINFILE);
  const std::int64_t length = rt::LOF(PDFINFILE);
  const std::string tail = read_at(std::max<std::int64_t>(0, length - 48), 48);
  if (tail.find("startxref") == npos) {
    fail("Cannot find Xrefstart in ");
    return;
  }

  trap.step("0003");
  for (rt::Array<std::int32_t>* a : {&XREFOFFSET, &XREFORDER}) a->dim(0, 700);
  // The object tables are shared with the merge, which needs them larger.
  OBSTART.dim(0, 5000);
  OBLENG.dim(0, 5000);
  ROOTOBJ = 0;
  XREFCOUNT = 0;
  READXREF(tail);
  if (!xref_error.empty()) {
    fail(xref_error);
    return;
  }
  if (ROOTOBJ <= 0 || ROOTOBJ >= XREFCOUNT || XREFOFFSET(ROOTOBJ) == 0) {
    fail("Cannot find Root object in ");
    return;
  }
  trap.step("0004");
  if (!make_object_table()) {
    fail("Cannot read Xref table in ");
    return;
  }

  // The catalogue, the page tree and its children: their contents and resources.
  trap.step("0005");
  const std::string root = object_text(ROOTOBJ);
  std::int64_t pages = 0;
  key_number(root, "/Pages", pages);
  LOGOPAGESOBJ = static_cast<std::int32_t>(std::max<std::int64_t>(pages, 0));
  const std::string tree = LOGOPAGESOBJ > 0 ? object_text(LOGOPAGESOBJ) : root;
  std::string res, kids, contents, part;
  READRESO(tree, "/Resources", "<<", ">>", res);
  READRESO(tree, "/Kids", "[", "]", kids);
  for (size_t at = skip_white(kids, 0); at < kids.size(); at = skip_white(kids, at)) {
    std::int64_t n = 0, gen = 0;
    size_t end = 0;
    if (!read_reference(kids, at, n, gen, end)) break;
    at = end;
    const std::string page = object_text(n);
    READRESO(page, "/Contents", "[", "]", part);
    contents += part + " ";
    READRESO(page, "/Resources", "<<", ">>", part);
    res += part;
  }
  LOGORESOURCES = res;
  LOGOCONTENT = contents;
  LOGOINKRIGHT = logo_ink_right(contents);
  LOGOLASTOBJ = 0;
  READRESO(LOGORESOURCES, "/ExtGState", "<<", ">>", LOGOEXTGSTATE);
  READRESO(LOGORESOURCES, "/ColorSpace", "<<", ">>", LOGOCOLORSPACE);
  READRESO(LOGORESOURCES, "/Pattern", "<<", ">>", LOGOPATTERN);
  READRESO(LOGORESOURCES, "/Shading", "<<", ">>", LOGOSHADING);
  READRESO(LOGORESOURCES, "/XObject", "<<", ">>", LOGOXOBJECT);
  READRESO(LOGORESOURCES, "/Font", "<<", ">>", LOGOFONT);
  READRESO(LOGORESOURCES, "/ProcSet", "[", "]", LOGOPROCSET);
  if (clashes_with_engine_names()) {
    fail("Resource names of the engine used in ");
    return;
  }

  // The copy, in file order; then the two streams of the engine's own.
  trap.step("0006");
  FPRINT("%LOGO start ----------");
  for (std::int32_t i = 1; i <= XREFCOUNT - 1; ++i) {
    const std::int32_t n = XREFORDER(i);
    if (OBLENG(n) > 0) copy_object(n);
  }
  rt::close_file(PDFINFILE);
  PDFOBJECT = XREFCOUNT - 1;
  trap.step("0007");
  PDFLOGOH();
  NEWSTREA();
  FPRINT(" Q");
  FPRINT("/DeviceRGB cs");
  FPRINT("0 0 0 rg");
  CLOSESTR();
  LOGOCONTENT += digits(PDFOBJECT - 1) + " 0 R";
  CURCONTENT.clear();
  LOGOLASTOBJ = PDFOBJECT;
  FPRINT("%LOGO END ---------");
  LOGODONE = -1;
  FPRINT("%LogoContents =" + LOGOCONTENT + "<");
}
