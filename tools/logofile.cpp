// Writes the logo PDF: catalogue 1, page tree 2, page 3, content stream 4, then one object per font,
// each line ending with LF, and a cross-reference table of 20-byte entries.
#include "logofile.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace logofile {

std::string logo_pdf(const std::string& source) {
  std::vector<std::pair<std::string, std::string>> fonts;  // resource name, base font
  std::string content;
  bool in_content = false;
  std::istringstream in(source);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (in_content) {
      content += line + "\n";
    } else if (line == "content") {
      in_content = true;
    } else if (line.rfind("font ", 0) == 0) {
      std::istringstream f(line.substr(5));
      std::string name, base, extra;
      if (!(f >> name >> base) || (f >> extra)) throw std::runtime_error("malformed font line: " + line);
      fonts.emplace_back(name, base);
    } else if (!line.empty() && line[0] != '#') {
      throw std::runtime_error("unknown line: " + line);
    }
  }
  if (content.empty()) throw std::runtime_error("the source has no content");

  std::string font_entries;
  for (size_t i = 0; i < fonts.size(); ++i)
    font_entries += " /" + fonts[i].first + " " + std::to_string(5 + i) + " 0 R";
  std::vector<std::string> bodies = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 595 842] >>",
      "<< /Type /Page /Parent 2 0 R /Contents 4 0 R\n/Resources << /Font <<" + font_entries +
          " >> /ProcSet [/PDF /Text] >> >>",
      "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
  };
  for (const auto& [name, base] : fonts)
    bodies.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /" + base + " /Encoding /WinAnsiEncoding >>");

  std::string pdf = "%PDF-1.3\n%\xE2\xE3\xCF\xD3\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < bodies.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + bodies[i] + "\nendobj\n";
  }
  const size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(bodies.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t off : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", off);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(bodies.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

}  // namespace logofile
