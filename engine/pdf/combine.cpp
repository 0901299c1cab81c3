// COMBINE: the PDF files of a run joined into one file, "combined.pdf", and the reader of those files.
//
// The inputs are the engine's own documents (header, objects each preceded by an empty line and opened
// by their label line, one cross-reference subsection "0 N" of 20-byte entries, a trailer with
// "%fontlist "). Every object of every input is copied in file order under a new number; stream data
// and the imported logo block are copied byte for byte. One copy is kept of what the inputs share: the
// logo block (objects 1 .. its last number keep their numbers) and the fonts of the first input. Each
// input's page tree, outlines and catalogue are dropped for new ones; every page keeps the page size
// of its own document. An input is never read whole: its tail, one entry of the table at a time, and
// each object by seeking to it.
//
// The merged file is whole or absent: it is written as a new file beside combined.pdf that takes its
// place only once complete. Its tables grow with the inputs (object offsets, pages, the renumbering of
// each input), so any number of holes can be joined. An input that cannot be read is refused with a
// console line and an ERROR.LOG line, the new file is removed, combined.pdf and the run's target stay
// as they were, and the run ends with exit code 1.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/console.h"
#include "platform/paths.h"

namespace {

const std::string kCrLf = "\r\n";
// The first eight bytes of the engine's first signature line (the second line of its files).
const std::string kSignature = "\x25\xD2\xD2\xC9\xCD\xBB\xD2 ";
// The first line of an imported logo block, right after the five header lines.
const std::string kLogoStart = "%LOGO start";
// What follows the last object of a logo block: its "endobj" and the closing comment.
const std::string kLogoEnd = "endobj\r\n%LOGO END";
// The number written in every copied page's /Parent reference until the page tree's number is known:
// seven digits, room for the number of any tree the tables can give.
constexpr std::int32_t kParentRoom = 9999999;

// State of one merge.
bool quiet = false;                      // while the inputs are only looked at for their logo: no messages
std::string input_name;                  // the input being read
std::vector<std::int32_t> shared_fonts;  // new numbers of the first input's fonts, by their place in its list
bool logo_copied = false;                // the shared logo block is in the merged file
bool first_input = false;                // the input being copied is the first of the list
bool kids_mode = false;                  // the references being renumbered are the kids of a page tree
std::string kids;                        // " n 0 R " + CR LF per page of the merged file
std::int32_t kid_count = 0;
std::string gray_line, rgb_line, device_line;  // entries of the new catalogue

// Refuses the merge (nothing more is written) with the line "PDF not written - why: combined.pdf".
void fail(const std::string& why) {
  if (!quiet) refuse_document(why);
}

// count bytes of the input from position pos (from 0); fewer at its end.
std::string input_bytes(std::int64_t pos, std::int64_t count) {
  if (pos < 0 || count <= 0) return {};
  rt::seek(PDFINFILE, pos + 1);
  return rt::get_bytes(PDFINFILE, static_cast<size_t>(count));
}

// The number as the engine writes it into a label or reference: its digits.
std::string digits(std::int32_t n) { return rt::STR_TRIM(static_cast<std::int64_t>(n < 0 ? -n : n)); }

// How many digits digits(n) has.
size_t digit_count(std::int32_t n) {
  std::int64_t v = n < 0 ? -static_cast<std::int64_t>(n) : n;
  size_t k = 1;
  while (v >= 10) v /= 10, ++k;
  return k;
}

// Writes digits(n) into buf (room for 10) and returns how many.
size_t put_digits(char* buf, std::int32_t n) {
  std::int64_t v = n < 0 ? -static_cast<std::int64_t>(n) : n;
  const size_t k = digit_count(n);
  for (size_t i = k; i-- > 0; v /= 10) buf[i] = static_cast<char>('0' + v % 10);
  return k;
}

// True when object n of the input is in use in its table.
bool in_table(std::int32_t n) {
  return n >= 1 && n < MERGECOUNT && OBLENG.in_bounds(n) && OBSTART.in_bounds(n) && OBLENG(n) > 0;
}

// The whole text of object n of the input (label, body, and the empty line up to the next object).
std::string object_text(std::int32_t n) { return in_table(n) ? input_bytes(OBSTART(n), OBLENG(n)) : std::string(); }

// True when text begins with the label of object n, "n 0 obj".
bool has_label(const std::string& text, std::int32_t n) {
  char label[16];
  size_t size = put_digits(label, n);
  std::memcpy(label + size, " 0 obj", 6);
  size += 6;
  // The text without the blanks and control characters at its ends (FNATRIM).
  size_t i = 0, j = text.size();
  while (i < j && static_cast<unsigned char>(text[i]) <= 32) ++i;
  while (j > i && static_cast<unsigned char>(text[j - 1]) <= 32) --j;
  const std::string_view t(text.data() + i, j - i);
  return t.size() >= size && t.compare(0, size, std::string_view(label, size)) == 0 &&
         (t.size() == size || !std::isalnum(static_cast<unsigned char>(t[size])));
}

// The place (from 0) of object number n among the 5-character fields of the input's font list; -1
// when it is not one of them.
int font_place(std::int32_t n) {
  char field[10];  // the digits, cut or filled with blanks to five
  const size_t k = put_digits(field, n);
  for (size_t i = k; i < 5; ++i) field[i] = ' ';
  for (size_t f = 0; 5 * f + 5 <= FONTLIST.size(); ++f)
    if (std::memcmp(FONTLIST.data() + 5 * f, field, 5) == 0) return static_cast<int>(f);
  return -1;
}

// True when the font at place k of an input's list is one of the first input's, copied already.
bool font_shared(int k) {
  return !first_input && k >= 0 && static_cast<size_t>(k) < shared_fonts.size() &&
         shared_fonts[static_cast<size_t>(k)] > 0;
}

// Warns about an input that does not look like the engine's file; it is merged all the same.
void warn(std::int32_t number, const std::string& what) {
  if (quiet) return;
  show_message(rt::print_number(static_cast<std::int64_t>(number)) + input_name + what, 1, {input_name});
  platform::console().pause_ms(on_console_screen() ? 500 : 1500);  // a second and a half in all
}

// The last object of the input's logo block (objects 1 .. it); 0 when the input has no logo. The block
// stands right after the five header lines, and its last object ends with the closing comment.
std::int32_t logo_block_end() {
  std::string line;
  READPOS = 0;
  for (int n = 1; n <= 6; ++n)
    if (!GGETNEXT(line)) return 0;
  if (line.compare(0, kLogoStart.size(), kLogoStart) != 0) return 0;
  std::int32_t highest = 0;
  for (std::int32_t k = 1; k <= MERGECOUNT - 1; ++k) {
    const std::int32_t j = MERGEORDER(k);
    if (!in_table(j)) continue;
    highest = std::max(highest, j);
    const std::string head = input_bytes(OBSTART(j), std::min<std::int32_t>(OBLENG(j), 64));
    if (head.find(kLogoEnd) != std::string::npos) return j == highest ? j : 0;
  }
  return 0;
}

// Opens an input and reads its tables; false when it cannot be merged.
bool read_input(std::int32_t number, const std::string& name) {
  input_name = name;
  BLOCKPOS = 2048;
  if (!CHECKFIL(number, name) || !GETXREFS(name)) return false;
  GETROOTS();
  return GETXREFA(name) && GETROOTO(name);
}

void close_input() {
  if (PDFINFILE > 0 && rt::is_open(PDFINFILE)) rt::close_file(PDFINFILE);
  PDFINFILE = 0;
}

// The logo block the merged file shares: that of the first input that has one.
std::int32_t find_shared_logo(const std::vector<std::string>& inputs) {
  quiet = true;
  std::int32_t last = 0;
  for (size_t i = 0; i < inputs.size() && last == 0; ++i) {
    if (read_input(static_cast<std::int32_t>(i + 1), inputs[i])) last = logo_block_end();
    close_input();
  }
  quiet = false;
  return last;
}

// --- the copy, section by section ---

// RREADSTR: the data length of the stream whose dictionary line holds "/Length ": the number there,
// or the value of the length object it refers to.
void RREADSTR(const std::string& line) {
  const long p = rt::INSTR(line, "/Length ");
  const std::int32_t length = FNOID(line, "/Length ");
  const long blank = rt::INSTR(p + 8, line, " ");
  const long ref = rt::INSTR(p, line, " 0 R");
  if (ref > 0 && blank == ref) {
    if (!in_table(length)) {
      fail("the stream length of an object of " + input_name + " cannot be found");
      return;
    }
    STREAMLEN = FNOID(object_text(length), " obj");
  } else {
    STREAMLEN = length;
  }
  if (STREAMLEN < 0) fail("an object of " + input_name + " cannot be read");
}

// Adds the page object in hand (its new number) to the page list, whose /Parent lines are patched.
void add_page(std::int32_t page) {
  if (PAGELISTCOUNT + 1 > PAGELIST.ubound()) PAGELIST.grow(std::max<long>(PAGELISTCOUNT + 1, 2 * PAGELIST.ubound()));
  PAGELIST(++PAGELISTCOUNT) = page;
}

// EDITOBJN: gives every reference " 0 R" of a line of the object page (new number; 0 outside an object)
// its new number. plain: the object is a logo object of an input whose logo is not the shared one,
// renumbered like any other object, without the page and font rules.
// parent: the line holds "/Parent " and the object is not plain.
void EDITOBJN(std::string& line, std::int32_t page, bool plain, bool& page_added, bool parent) {
  const bool shared_logo = INLOGOLAST > 0 && INLOGOLAST == MERGELOGOLAST;
  for (long p = rt::INSTR(line, " 0 R"); p > 0 && !pdf_refused;) {
    long s = p;  // the number is the run of digits right before " 0 R"
    while (s > 1 && std::isdigit(static_cast<unsigned char>(line[static_cast<size_t>(s - 2)]))) --s;
    const bool in_name = s > 1 && std::isalpha(static_cast<unsigned char>(line[static_cast<size_t>(s - 2)]));
    std::int32_t ref = 0;
    if (s < p && !in_name) {  // the value of the digits; -1 beyond the 32-bit range
      std::int64_t v = 0;
      for (long c = s; c < p && v <= std::numeric_limits<std::int32_t>::max(); ++c)
        v = 10 * v + (line[static_cast<size_t>(c - 1)] - '0');
      ref = v <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(v)
                                                         : rt::to_i32_or(rt::VAL(rt::MID(line, s, p - s)), -1);
    }
    if (ref < 0) {  // a reference beyond any table: copied as it stands it would point at nothing
      fail(input_name + " refers to an object beyond its table");
      return;
    }
    if (ref == 0 || (!plain && shared_logo && ref <= INLOGOLAST)) {  // not a reference, or one to the shared logo
      p = rt::INSTR(p + 4, line, " 0 R");
      continue;
    }
    std::int32_t number;
    const int font = plain ? -1 : font_place(ref);
    if (parent) {
      if (!page_added) add_page(page);
      page_added = true;
      number = kParentRoom;  // room for the new page tree's number, patched in at the end
    } else if (font_shared(font)) {
      number = shared_fonts[static_cast<size_t>(font)];
    } else {
      number = FNNEWNO(ref);
      if (first_input && font >= 0) {
        if (shared_fonts.size() <= static_cast<size_t>(font)) shared_fonts.resize(static_cast<size_t>(font) + 1, 0);
        shared_fonts[static_cast<size_t>(font)] = number;
      }
    }
    SUBSTITU(line, ref, number, static_cast<std::int32_t>(s));
    if (kids_mode) {
      kids += rt::STR(number) + " 0 R " + kCrLf;
      ++kid_count;
    }
    p = rt::INSTR(s + static_cast<long>(digit_count(number)) + 4, line, " 0 R");
  }
}

// COPYDATA: STREAMLEN bytes of stream data from READPOS, up to end (the object's end), then the
// "endstream" line; returns that line.
std::string COPYDATA(std::int32_t end) {
  std::string line;
  if (static_cast<std::int64_t>(READPOS) + STREAMLEN > end) {
    fail("a stream of " + input_name + " runs past its object");
    return line;
  }
  const std::int32_t block = BLOCKPOS > 0 ? BLOCKPOS : 2048;
  char last = '\n';
  for (std::int32_t left = STREAMLEN; left > 0 && !pdf_refused;) {
    const std::string bytes = input_bytes(READPOS, std::min(block, left));
    if (bytes.empty()) {
      fail("a stream of " + input_name + " cannot be read");
      return line;
    }
    SPRINT(bytes);
    last = bytes.back();
    READPOS += static_cast<std::int32_t>(bytes.size());
    left -= static_cast<std::int32_t>(bytes.size());
  }
  // The engine's data ends with its line end; data that does not gets one, which "endstream" needs.
  if (last != '\n' && last != '\r') SPRINT(kCrLf);
  do {
    if (READPOS >= end || !GGETNEXT(line)) {
      fail("a stream of " + input_name + " has no end");
      return line;
    }
  } while (line.empty());
  STREAMLEN = 0;
  return line;
}

// The bytes of one object of the input, read at once, from which its lines are taken as GGETNEXT
// would read them from the file: a line whose end (and, after a CR, the byte that may make it CR LF)
// lies outside them is read by GGETNEXT itself. An object above 64 KB is read line by line.
class ObjectLines {
 public:
  ObjectLines(std::int32_t start, std::int32_t length) : start_(start) {
    if (length > 0 && length <= 65536 && PDFINFILE > 0 && rt::is_open(PDFINFILE)) bytes_ = input_bytes(start, length);
  }
  bool next(std::string& line) {
    const std::int64_t from = static_cast<std::int64_t>(READPOS) - start_;
    if (from >= 0 && from < static_cast<std::int64_t>(bytes_.size())) {
      const size_t f = static_cast<size_t>(from);
      // The first LF, then the first CR before it.
      const char* begin = bytes_.data() + f;
      const size_t left = bytes_.size() - f;
      const void* lf = std::memchr(begin, '\n', left);
      const size_t before = lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) : left;
      const void* cr = std::memchr(begin, '\r', before);
      const size_t e = f + (cr ? static_cast<size_t>(static_cast<const char*>(cr) - begin) : before);
      if (e + 1 < bytes_.size()) {
        line.assign(bytes_, f, e - f);
        READPOS += static_cast<std::int32_t>(e - f) + (bytes_[e] == '\r' && bytes_[e + 1] == '\n' ? 2 : 1);
        return true;
      }
    }
    return GGETNEXT(line);
  }

 private:
  std::int64_t start_;
  std::string bytes_;
};

// Lines gathered and written as one block, the bytes FPRINT gives each: when asked, and at the end.
class LineBlock {
 public:
  LineBlock() = default;
  LineBlock(const LineBlock&) = delete;
  LineBlock& operator=(const LineBlock&) = delete;
  ~LineBlock() { write(); }
  void line(std::string_view text) {
    bytes_ += text;
    bytes_ += kCrLf;
  }
  void write() {
    if (!bytes_.empty()) SPRINT(bytes_);
    bytes_.clear();
  }

 private:
  std::string bytes_;
};

// COPYONEO: object old copied under its new number, line by line: references renumbered, stream
// data byte for byte. A page object gets the page size of its own document. Its lines are written
// as one block up to its stream data and one after it.
void COPYONEO(std::int32_t old, bool plain) {
  const std::int32_t number = FNNEWNO(old);
  if (pdf_refused) return;
  const std::int32_t end = OBSTART(old) + OBLENG(old);
  std::string line;
  READPOS = OBSTART(old);
  ObjectLines lines(OBSTART(old), OBLENG(old));
  if (!lines.next(line) || !has_label(line, old)) {
    fail("object" + rt::STR(old) + " of " + input_name + " is not where its table says");
    return;
  }
  // Whatever stands after "obj" on the label line is the object's first line.
  std::string_view after(line);  // rt::LTRIM(rt::MID(line, INSTR(line, " obj") + 4)), not copied
  const size_t cut = static_cast<size_t>(rt::INSTR(line, " obj") + 3);
  after.remove_prefix(std::min(cut, after.size()));
  while (!after.empty() && after.front() == ' ') after.remove_prefix(1);
  // Pending when anything but blanks and control characters is left (FNATRIM not empty).
  bool pending = std::any_of(after.begin(), after.end(), [](char c) { return static_cast<unsigned char>(c) > 32; });
  const std::string rest = pending ? std::string(after) : std::string();
  FPRINT(BLANKLINE);
  PDFOFFSET(number) = PDFBYTES;
  LineBlock out;
  out.line(FNOBJLAB(number));
  STREAMLEN = 0;
  bool page_added = false, size_given = false;
  while (!pdf_refused) {
    if (pending) {
      line = rest;
      pending = false;
    } else if (READPOS >= end || !lines.next(line)) {
      fail("object" + rt::STR(old) + " of " + input_name + " has no end");
      return;
    }
    // "/Length " and "/Parent " looked for in one pass over the line's names.
    bool length = false, parent = false;
    for (size_t at = line.find('/'); at != std::string::npos; at = line.find('/', at + 1)) {
      const std::string_view name = std::string_view(line).substr(at + 1, 7);
      length = length || name == "Length ";
      parent = parent || name == "Parent ";
    }
    parent = parent && !plain;
    if (length) RREADSTR(line);
    if (parent && !size_given && !INMEDIABOX.empty()) {
      size_given = true;
      if (rt::INSTR(object_text(old), "/MediaBox") == 0) out.line(INMEDIABOX);
    }
    EDITOBJN(line, number, plain, page_added, parent);
    out.line(line);
    if (STREAMLEN > 0 && rt::INSTR(line, "stream") > 0) {
      out.write();
      line = COPYDATA(end);
      out.line(line);
    }
    if (rt::INSTR(line, "endobj") > 0) break;
  }
}

// COPYLOGO: object old of the logo block copied byte for byte under its own number.
void COPYLOGO(std::int32_t old) {
  if (!has_label(input_bytes(OBSTART(old), std::min<std::int32_t>(OBLENG(old), 40)), old)) {
    fail("object" + rt::STR(old) + " of " + input_name + " is not where its table says");
    return;
  }
  PDFOFFSET(old) = PDFBYTES;
  for (std::int32_t done = 0; done < OBLENG(old) && !pdf_refused;) {
    const std::string bytes =
        input_bytes(static_cast<std::int64_t>(OBSTART(old)) + done, std::min<std::int32_t>(2048, OBLENG(old) - done));
    if (bytes.empty()) break;
    SPRINT(bytes);
    done += static_cast<std::int32_t>(bytes.size());
  }
}

// The kids of the input's page tree, renumbered, appended to the merged file's list of pages.
void collect_kids() {
  const std::int32_t end = OBSTART(INPAGES) + OBLENG(INPAGES);
  std::string line;
  READPOS = OBSTART(INPAGES);
  bool found = false;
  while (!found && READPOS < end && GGETNEXT(line)) found = rt::INSTR(line, "/Kids ") > 0;
  if (!found) return;
  kids_mode = true;
  bool page_added = true;  // no page object is in hand
  for (;;) {
    const bool last = rt::INSTR(line, "]") > 0;
    EDITOBJN(line, 0, false, page_added, rt::INSTR(line, "/Parent ") > 0);
    if (last || pdf_refused || READPOS >= end || !GGETNEXT(line)) break;
  }
  kids_mode = false;
}

// COPYOBJE: every object of the input in file order, except its page tree, outlines and catalogue, and
// except what the merged file holds already: the shared logo block and the first input's fonts.
void COPYOBJE() {
  const bool shared_logo = INLOGOLAST > 0 && INLOGOLAST == MERGELOGOLAST;
  for (std::int32_t k = 1; k <= MERGECOUNT - 1 && !pdf_refused; ++k) {
    const std::int32_t old = MERGEORDER(k);
    if (!in_table(old)) continue;  // free, or not in the table
    auto catalogue_line = [&](std::int32_t key, std::string& entry, const char* name) {
      if (old == key && entry.empty()) entry = std::string(name) + rt::STR(FNNEWNO(old)) + " 0 R" + kCrLf;
    };
    catalogue_line(INGRAY, gray_line, "/DefaultGray");
    catalogue_line(INRGB, rgb_line, "/DefaultRGB");
    catalogue_line(INDEVICE, device_line, "/DeviceRGB");
    if (old == INPAGES) {
      collect_kids();
      continue;
    }
    if (old == ROOTOBJ || old == INOUTLINES) continue;
    const bool logo = old <= INLOGOLAST;
    if (logo && shared_logo) {
      if (!logo_copied) COPYLOGO(old);
      continue;
    }
    if (!logo && font_shared(font_place(old))) continue;
    COPYONEO(old, logo);
    const int font = logo ? -1 : font_place(old);
    if (first_input && font >= 0) {
      if (shared_fonts.size() <= static_cast<size_t>(font)) shared_fonts.resize(static_cast<size_t>(font) + 1, 0);
      shared_fonts[static_cast<size_t>(font)] = FNNEWNO(old);
    }
  }
}

// WWRITEPA: the page tree of the merged file, with every page in input order.
void WWRITEPA() {
  if (MERGEMEDIABOX.empty()) MERGEMEDIABOX = "/MediaBox [ 0  0  595.00  841.00 ]";
  LOGNEXTO();
  PAGESREF = FNOBJREF(PDFOBJECT);
  FPRINT("<<");
  FPRINT("/Type /Pages");
  FPRINT("/Count " + rt::STR(kid_count));
  FPRINT("/Kids [" + kCrLf + kids + "]");
  FPRINT(MERGEMEDIABOX);
  FPRINT(">>");
  FPRINT("endobj");
}

// WWRITETR: the trailer, with the merged file's font list and without a logo list.
void WWRITETR() {
  FPRINT(BLANKLINE);
  std::string fonts;
  for (std::int32_t n : shared_fonts)
    if (n > 0) fonts += rt::LSET(digits(n), 5);
  for (const std::string& line :
       {std::string("trailer"), std::string("<<"), "/Size" + rt::print_number(static_cast<std::int64_t>(PDFOBJECT) + 1),
        "/Root " + ROOTREF, std::string(">>"), "%fontlist " + fonts + " ", std::string("startxref"), digits(STARTXREF),
        std::string("%%EOF")})
    if (!pdf_refused && !rt::print_line(PDFFILE, line)) refuse_document("the file cannot be written");
}

// True when the two names map onto one existing file (a target that is combined.pdf itself).
bool same_file(const std::string& a, const std::string& b) {
  const platform::MappedPath pa = platform::map_existing(a), pb = platform::map_existing(b);
  std::error_code ec;
  return pa.error == 0 && pb.error == 0 && std::filesystem::equivalent(pa.path, pb.path, ec);
}

// The /Parent line of every copied page of the merged file (still the new file on PDFFILE), rewritten
// in place to name the page tree, keeping its length; false when a line cannot be rewritten.
bool patch_parents(std::int32_t tree) {
  const std::int32_t f = PDFFILE;
  PDFINFILE = f;
  bool written = true;
  for (std::int32_t i = 1; i <= PAGELISTCOUNT; ++i) {
    READPOS = PDFOFFSET(PAGELIST(i));
    std::string line;
    std::int32_t start = READPOS;
    bool found = false;
    while (!found && READPOS < STARTXREF) {
      start = READPOS;
      if (!GGETNEXT(line)) break;
      found = rt::INSTR(line, "/Parent ") > 0;
    }
    if (!found) continue;
    rt::seek(f, static_cast<std::int64_t>(start) + 1);
    written =
        rt::put_bytes(f, rt::LSET("/Parent" + rt::STR(tree) + " 0 R   ", static_cast<long>(line.size()))) && written;
  }
  PDFINFILE = 0;
  return written;
}

// A merge refused: its new file is removed, combined.pdf and the run's target stay as they were; the
// refusal goes into ERROR.LOG and the run ends with exit code 1.
void refused_merge() {
  discard_document();
  rt::log_note(pdf_refusal);
  rt::set_exit_code(1);
}

}  // namespace

// ===================================================================== the reader of the inputs

// GGETNEXT: the line at READPOS, read in windows of 128 bytes, doubled while no line end is found.
bool GGETNEXT(std::string& line) {
  RT_TRAP(trap, "GGETNEXT");
  line.clear();
  for (std::int64_t window = 128;; window *= 2) {
    // One byte more than the window: a CR at its end may begin a CR LF pair.
    const std::string block = input_bytes(READPOS, window + 1);
    if (block.empty()) return false;
    // The first CR or LF, found in one pass (find_first_of would search its set for every byte).
    size_t e = 0;
    while (e < block.size() && block[e] != '\r' && block[e] != '\n') ++e;
    if (e < block.size() && e < static_cast<size_t>(window)) {
      line.assign(block, 0, e);
      READPOS +=
          static_cast<std::int32_t>(e) + (block[e] == '\r' && e + 1 < block.size() && block[e + 1] == '\n' ? 2 : 1);
      return true;
    }
    if (block.size() <= static_cast<size_t>(window)) {  // the end of the file ends the line
      line = block;
      READPOS += static_cast<std::int32_t>(block.size());
      return true;
    }
  }
}

// CHECKFIL: opens input number (in the list) name on PDFINFILE and looks at its first two lines.
bool CHECKFIL(const std::int32_t& number, const std::string& name) {
  RT_TRAP(trap, "CHECKFIL");
  PDFINFILE = 0;
  // Opened by byte position, which would create a missing file.
  const std::int32_t f = rt::FREEFILE();
  if (f == 0 || !rt::file_exists(name) || !rt::open_file(f, name, rt::FileMode::Binary)) {
    fail(name + " cannot be opened");
    return false;
  }
  PDFINFILE = f;
  if (rt::LOF(PDFINFILE) == 0) {
    fail(name + " is empty");
    return false;
  }
  READPOS = 0;
  std::string line;
  GGETNEXT(line);
  if (rt::INSTR(line, "%PDF-") == 0) warn(number, " ! not a valid PDF file ! ");
  line.clear();
  GGETNEXT(line);
  if (rt::INSTR(line, kSignature) == 0) warn(number, " ! not a valid Veltrax PDF file ! ");
  return true;
}

namespace {
std::string tail_text;  // the last BLOCKPOS bytes of the input
}

// GETXREFS: the input's tail; INSTARTXREF, the offset after its last "startxref".
bool GETXREFS(const std::string& name) {
  RT_TRAP(trap, "GETXREFS");
  trap.step("0001");
  const std::int64_t length = rt::LOF(PDFINFILE);
  tail_text = input_bytes(std::max<std::int64_t>(0, length - BLOCKPOS), BLOCKPOS);
  INSTARTXREF = 0;
  const size_t s = tail_text.rfind("startxref");
  if (s != std::string::npos) INSTARTXREF = rt::to_i32_or(rt::VAL(FNATRIM(tail_text.substr(s + 9))), 0);
  if (INSTARTXREF > 0 && INSTARTXREF < length) return true;
  if (quiet) return false;
  platform::Console& con = platform::console();
  show_message("Can't find Xrefstart in " + name, 0, {name});
  close_input();
  con.pause_ms(on_console_screen() ? 2000 : 3000);  // three seconds in all
  trap.step("0002");
  rt::raise(62);
  fail("the cross-reference table of " + name + " cannot be found");
  return false;
}

// GETROOTS: ROOTOBJ and FONTLIST from the input's tail (an input without a font list shares no fonts).
void GETROOTS() {
  RT_TRAP(trap, "GETROOTS");
  ROOTOBJ = FNOID(tail_text, "/Root ");
  FONTLIST.clear();
  const size_t p = tail_text.find("%fontlist ");
  if (p == std::string::npos) return;
  const size_t e = tail_text.find_first_of("\r\n", p);
  FONTLIST = tail_text.substr(p + 10, e == std::string::npos ? std::string::npos : e - p - 10) + " ";
}

// GETXREFA: the input's cross-reference table at INSTARTXREF: MERGECOUNT entries, the offsets of the
// objects in use (free entries give none), their order in the file, and where each begins and ends.
bool GETXREFA(const std::string& name) {
  RT_TRAP(trap, "GETXREFA");
  trap.step("0001");
  CRLF = kCrLf;
  const std::string unreadable = "the cross-reference table of " + name + " cannot be read";
  const std::int32_t bound = static_cast<std::int32_t>(
      std::min({MERGEOFFSET.ubound(), MERGEORDER.ubound(), OBSTART.ubound(), OBLENG.ubound(), NEWNO.ubound()}));
  std::string line;
  READPOS = INSTARTXREF;
  MERGECOUNT = 0;
  if (!GGETNEXT(line) || FNATRIM(line) != "xref" || !GGETNEXT(line) || line.compare(0, 2, "0 ") != 0) {
    fail(unreadable);
    return false;
  }
  const double n = rt::VAL(rt::MID(line, 2));
  if (n < 1 || n > 1e9) {
    fail(unreadable);
    return false;
  }
  if (n + 1 > bound) {
    // The tables of one input grow to its object count; its table must be as long as it says.
    const std::int64_t table_end = static_cast<std::int64_t>(INSTARTXREF) + 40 + 20 * static_cast<std::int64_t>(n - 1);
    if (table_end > rt::LOF(PDFINFILE) + 20) {
      fail(unreadable);
      return false;
    }
    for (rt::Array<std::int32_t>* a : {&MERGEOFFSET, &MERGEORDER, &OBSTART, &OBLENG, &NEWNO})
      a->grow(static_cast<long>(n) + 1);
  }
  MERGECOUNT = static_cast<std::int32_t>(n);
  GGETNEXT(line);  // the entry of object 0

  trap.step("0002");
  // Only the numbers of this input are ever looked at (in_table), so only they are cleared.
  for (std::int32_t i = 0; i <= MERGECOUNT; ++i) MERGEOFFSET(i) = OBSTART(i) = OBLENG(i) = 0;
  // The entries read at once; entry i is the 20 bytes at its place (fewer at the end of the file).
  const std::string table = input_bytes(READPOS, 20 * static_cast<std::int64_t>(MERGECOUNT - 1));
  for (std::int32_t i = 1; i <= MERGECOUNT - 1; ++i) {
    const size_t at = 20 * static_cast<size_t>(i - 1);
    const std::string_view entry = at < table.size() ? std::string_view(table).substr(at, 20) : std::string_view();
    READPOS += 20;
    if (entry.empty()) {  // nothing left to read: the entry is refused, as an entry cut short is
      fail(unreadable);
      return false;
    }
    if (entry.find("trailer") != std::string::npos) break;  // the table holds fewer entries than it says
    bool good = entry.size() == 20 && entry[10] == ' ' && entry[16] == ' ' && (entry[17] == 'n' || entry[17] == 'f') &&
                std::isspace(static_cast<unsigned char>(entry[18])) &&
                std::isspace(static_cast<unsigned char>(entry[19]));
    for (int c = 0; good && c < 16; ++c)
      good = c == 10 || std::isdigit(static_cast<unsigned char>(entry[static_cast<size_t>(c)]));
    if (!good) {
      fail(unreadable);
      return false;
    }
    if (entry[17] == 'f') continue;  // a free entry's first field is the next free number, not an offset
    std::int64_t value = 0;  // the ten digits checked above
    for (size_t c = 0; c < 10; ++c) value = 10 * value + (entry[c] - '0');
    const std::int32_t offset = value <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(value) : 0;
    if (offset <= 0 || offset >= INSTARTXREF) {
      fail(unreadable);
      return false;
    }
    MERGEOFFSET(i) = offset;
  }
  MERGEOFFSET(MERGECOUNT) = INSTARTXREF;

  // Free numbers (offset 0) come first in the order, so each object in use ends where the next begins.
  trap.step("0003");
  MATSORTL(MERGEORDER, MERGEOFFSET, MERGECOUNT);
  for (std::int32_t k = 1; k <= MERGECOUNT - 1; ++k) {
    const std::int32_t j = MERGEORDER(k);
    if (MERGEOFFSET(j) == 0) continue;
    OBSTART(j) = MERGEOFFSET(j);
    OBLENG(j) = MERGEOFFSET(MERGEORDER(k + 1)) - MERGEOFFSET(j);
  }
  return true;
}

// GETROOTO: from the input's catalogue its page-tree, outlines and colour-space numbers; from its page
// tree its page size.
bool GETROOTO(const std::string& name) {
  RT_TRAP(trap, "GETROOTO");
  INPAGES = INOUTLINES = INGRAY = INRGB = INDEVICE = 0;
  INMEDIABOX.clear();
  if (!in_table(ROOTOBJ)) {
    fail("the catalogue of " + name + " cannot be found");
    return false;
  }
  const std::string catalogue = object_text(ROOTOBJ);
  INOUTLINES = FNOID(catalogue, "/Outlines ");
  INPAGES = FNOID(catalogue, "/Pages ");
  INGRAY = FNOID(catalogue, "/DefaultGray ");
  INRGB = FNOID(catalogue, "/DefaultRGB ");
  INDEVICE = FNOID(catalogue, "/DeviceRGB ");
  if (!in_table(INPAGES)) {
    fail("the page tree of " + name + " cannot be found");
    return false;
  }
  const std::string tree = object_text(INPAGES);
  const long p = rt::INSTR(tree, "/MediaBox ");
  const long q = p > 0 ? rt::INSTR(p, tree, "]") : 0;
  if (q > 0) {
    INMEDIABOX = rt::MID(tree, p, q - p + 1);
    MERGEMEDIABOX = INMEDIABOX;
  }
  return true;
}

// ===================================================================== the copy

std::int32_t FNNEWNO(const std::int32_t& old) {
  RT_TRAP(trap, "FNNEWNO");
  if (old <= 0 || !NEWNO.in_bounds(old)) {
    fail(input_name + " refers to object" + rt::STR(old) + ", beyond its table");
    return 0;
  }
  if (NEWNO(old) != 0) return NEWNO(old);
  make_room_for_object(NEXTNO + 1);
  ++NEXTNO;
  NEWNO(old) = NEXTNO;
  return NEXTNO;
}

// SUBSTITU: the number must stand on its own: digits that end a name ("/Shade16") or a longer number
// are not it.
void SUBSTITU(std::string& line, const std::int32_t& old_number, const std::int32_t& new_number,
              const std::int32_t& from) {
  RT_TRAP(trap, "SUBSTITU");
  char old_text[12], new_text[10];
  const size_t old_size = put_digits(old_text, old_number), new_size = put_digits(new_text, new_number);
  old_text[old_size] = ' ';
  old_text[old_size + 1] = '0';
  const std::string_view find(old_text, old_size + 2);
  for (long q = rt::INSTR(std::max<long>(from, 1), line, find); q > 0; q = rt::INSTR(q + 1, line, find)) {
    if (q > 1 && std::isalnum(static_cast<unsigned char>(line[static_cast<size_t>(q - 2)]))) continue;
    line.replace(static_cast<size_t>(q - 1), old_size, new_text, new_size);
    return;
  }
}

// COMBINE: the run's PDF files (OUTLIST) merged into OUTDIR + "\combined.pdf", which is then copied over
// the run's target RESULTNAME when that file exists (at that very path: no other folder is searched).
void COMBINE() {
  RT_TRAP(trap, "COMBINE");
  trap.step("0001");
  CRLF = kCrLf;
  for (rt::Array<std::int32_t>* a : {&MERGEOFFSET, &MERGEORDER, &OBSTART, &OBLENG}) a->dim(0, 5000);
  NEWNO.dim(0, 5000);
  PAGELIST.dim(0, 360);

  // The inputs: the names between the "|" of the list, trimmed, empty ones dropped.
  std::vector<std::string> inputs;
  for (size_t at = 0; at <= OUTLIST.size();) {
    size_t bar = OUTLIST.find('|', at);
    if (bar == std::string::npos) bar = OUTLIST.size();
    const std::string name = rt::TRIM(OUTLIST.substr(at, bar - at));
    if (!name.empty()) inputs.push_back(name);
    at = bar + 1;
  }
  const std::string combined = OUTDIR.empty() ? "combined.pdf" : OUTDIR + "\\combined.pdf";
  pdf_document_name = combined;
  pdf_refused = false;
  PDFBYTES = 0;
  LOGODONE = 0;
  if (inputs.empty()) return;  // nothing to merge: no file, and the target stays as it is
  // The run's target (when it was given one) becomes the joined file once that is whole; a part of
  // the run (the last hole's result) never takes its place.
  const bool to_target = !run_target_source.empty();
  run_target_source.clear();
  const auto target_kept = [&] {
    if (to_target)
      show_fault("The joined PDF " + combined + " is not made; the run's target " + RESULTNAME +
                     " is not replaced.",
                 {combined, RESULTNAME});
  };

  // combined.pdf goes into a job folder that this run holds (another run may write there meanwhile).
  if (!OUTDIR.empty() && !rt::lock_job_folder(OUTDIR)) {
    show_fault("Another run is writing into the job folder " + OUTDIR + "; " + combined + " is not made.", {OUTDIR});
    target_kept();
    return;
  }

  trap.step("0002");
  MERGELOGOLAST = find_shared_logo(inputs);
  PDFFILE = rt::FREEFILE();
  if (PDFFILE == 0 || !rt::open_new_file(PDFFILE, combined, rt::FileMode::Binary))
    refuse_document("the file cannot be created");
  // The merged file has at most the objects of its inputs, the logo block they share once (counted in
  // each of them), and its own page tree, outline and catalogue: one page and one outline entry per
  // input, a few more. A table found short still grows as it fills.
  const std::int64_t n_inputs = static_cast<std::int64_t>(inputs.size());
  const std::int64_t expected = take_objects_written() - std::max<std::int64_t>(n_inputs - 1, 0) * MERGELOGOLAST +
                                2 * n_inputs + 64;
  make_room_for_object(static_cast<std::int32_t>(std::min<std::int64_t>(std::max<std::int64_t>(MERGELOGOLAST, expected),
                                                                        std::numeric_limits<std::int32_t>::max())));
  PDFOBJECT = 0;
  PDFOFFSET.clear();
  write_signature();
  NEXTNO = static_cast<std::int16_t>(MERGELOGOLAST);
  shared_fonts.clear();
  kids.clear();
  kid_count = 0;
  PAGELISTCOUNT = 0;
  gray_line.clear();
  rgb_line.clear();
  device_line.clear();
  MERGEMEDIABOX.clear();
  logo_copied = false;
  const std::int32_t rows = CONROWS - 5;
  PICKGRIDROW = 3;

  trap.step("0003");
  for (size_t i = 0; i < inputs.size() && !pdf_refused; ++i) {
    const std::int32_t number = static_cast<std::int32_t>(i + 1);
    // Interactive run: the hole's entry in the selection grid is blanked as its file is merged.
    if (RUNFLAGS == 0 && rows > 0 && DONELIST.in_bounds(number) && DONELIST(number) > 0) {
      const std::int32_t v = DONELIST(number);
      const int row = (v - 1) % rows + PICKGRIDROW, col = (v - 1) / rows * PICKCOLW + PICKGRIDCOL + PICKCOLX;
      platform::Console& con = platform::console();
      if (row >= 1 && row <= con.rows() && col >= 1 && col + 5 <= con.cols()) {
        con.locate(row, col);
        con.print("      ", false);
      }
    }
    BLANKLINE.clear();
    NEWNO.clear();
    first_input = i == 0;
    if (read_input(number, inputs[i])) {
      INLOGOLAST = logo_block_end();
      COPYOBJE();
      if (INLOGOLAST > 0 && INLOGOLAST == MERGELOGOLAST) logo_copied = true;
    }
    close_input();
  }

  trap.step("0004");
  if (pdf_refused) {
    refused_merge();
    target_kept();
    return;
  }
  PDFOBJECT = NEXTNO;
  WWRITEPA();
  const std::int32_t tree = PDFOBJECT;
  WRITEOUT();
  PAGEEXTRA = gray_line + rgb_line + device_line;
  WRITECAT();
  WRITEXRE();
  take_objects_written();  // the merged file's own objects are no input of a later merge
  WWRITETR();
  trap.step("0005");
  if (!pdf_refused && !patch_parents(tree)) refuse_document(cannot_write());
  if (pdf_refused) {
    refused_merge();
    target_kept();
    return;
  }

  trap.step("0006");
  if (rt::commit_file(PDFFILE)) {
    run_results.push_back(combined);
    if (to_target) run_target_source = combined;
  } else {
    target_kept();
  }
  PDFBYTES = 0;
  LOGODONE = 0;
}

void place_run_target() {
  RT_TRAP(trap, "COMBINE");
  trap.section("TARGET");
  const std::string source = run_target_source;
  run_target_source.clear();
  if ((RUNFLAGS & 0x80) == 0 || source.empty()) return;
  std::string folder(platform::folder_part(RESULTNAME));
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') && folder[folder.size() - 2] != ':')
    folder.pop_back();
  if (RESULTNAME.empty() || (!folder.empty() && !rt::folder_exists(folder))) {
    show_fault("The result copy " + RESULTNAME + " cannot be written: its folder does not exist.");
    return;
  }
  if (same_file(source, RESULTNAME)) return;  // the target is that result itself
  rt::place_file(source, RESULTNAME, false);
}
