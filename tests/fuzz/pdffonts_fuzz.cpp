// Fuzz harness: the PDF font table pdffonts.dat, read for the width table of each of the SET file's
// three fonts (PDFEQUIV, then the metric file it names in LJ4) and again for the fonts of a one-page PDF.
// What the table gives goes into the PDF as it stands: its encoding objects must still be whole (a
// base encoding of one name, a /Differences array of codes and names that ends where the writer ends
// it), else the damaged table made a broken PDF, a finding.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "fuzz_support.h"

namespace {

// A PDF name, or a whole number: what a /Differences array holds.
bool name_or_number(const std::string& t) {
  if (t.empty()) return false;
  if (t[0] != '/') return t.find_first_not_of("0123456789") == std::string::npos;
  return t.size() > 1 && t.find_first_of("()<>[]{}/% \t\r\n", 1) == std::string::npos;
}

// Each encoding object as the writer lays it out: "<< /Type /Encoding", "/BaseEncoding NAME",
// "/Differences [", lines of names and numbers, "]", ">>".
void check_encodings(const std::string& pdf) {
  const std::string head = "obj\r\n<< /Type /Encoding\r\n/BaseEncoding ";
  for (size_t at = pdf.find(head); at != std::string::npos; at = pdf.find(head, at + 1)) {
    size_t from = at + head.size();
    size_t end = pdf.find("\r\n", from);
    if (end == std::string::npos || !name_or_number(pdf.substr(from, end - from)) || pdf[from] != '/') std::abort();
    from = end + 2;
    if (pdf.compare(from, 16, "/Differences [\r\n") != 0) std::abort();
    from += 16;
    for (;;) {
      end = pdf.find("\r\n", from);
      if (end == std::string::npos) std::abort();
      const std::string line = pdf.substr(from, end - from);
      from = end + 2;
      if (line == "]") break;
      size_t i = 0;
      while (i < line.size()) {
        const size_t j = std::min(line.find_first_of(" \t", i), line.size());
        if (j > i && !name_or_number(line.substr(i, j - i))) std::abort();
        i = j + 1;
      }
    }
    if (pdf.compare(from, 2, ">>") != 0) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("pdffonts.dat", data, size);
  fuzz::run([] {
    OUTDEV = 1;
    FONTDIR = "LJ4";
    const char* const specs[] = {"/027(10U/027(s1p10v0s0b4148T", "/027(10U/027(s1p10v0s3b4148T",
                                 "/027)10U/027)s1p8v1s0b4148T"};
    for (std::int32_t n = 1; n <= 3; ++n) {
      FONTSPEC(n) = specs[n - 1];
      WIDTHTAB(n);
    }
    PDFFONTCOUNT = 3;
    CURFONT = 1;
    PAPER = "A4";
    PAGEFILE = rt::FREEFILE();
    OPENLEAF("fuzz.pdf");
    NEWSTREA();
    std::string text = "Firm brown CLAY";
    PDFPRINT(100, 100, text);
    CLOSESTR();
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
  });
  std::ifstream in("fuzz.pdf", std::ios::binary);
  check_encodings(std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  fuzz::restore("pdffonts.dat");
  return 0;
}
