// The engine's logo file: a one-page PDF 1.3 with a classic cross-reference table, made from a
// readable source (data/src/LOGO0.txt).
#pragma once

#include <string>

namespace logofile {

// The PDF of a logo source: "font NAME BASEFONT" lines, then "content" and the lines of the page's
// content stream; "#" lines and empty lines before "content" are comments. Throws std::runtime_error
// for a source without content or with a malformed font line.
std::string logo_pdf(const std::string& source);

}  // namespace logofile
