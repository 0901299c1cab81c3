// The remap table of word-processor text (data/wordpad.dat), made from a readable source
// (data/src/wordpad.txt).
#pragma once

#include <string>

namespace remapfile {

// The bytes of the table file: a count byte n, CR LF, the n codes to replace, CR LF, the n codes that
// replace them. The source has one pair a line, "FROM TO what", both codes as two hex digits; "#"
// lines and empty lines are comments. Throws std::runtime_error for a malformed line, a code given
// twice, or more than 255 pairs.
std::string remap_table(const std::string& source);

}  // namespace remapfile
