// The symbol library PROLIB.DAT: its readable tile sources under data/src/PROLIB and the binary file
// the engine reads.
//
// Binary layout (byte offsets from 0):
//   0..255   a text line naming the file (not read by the engine), padded with blanks, ending CR LF
//   256      the number of symbols, 16-bit big-endian (the engine checks that it lies in 0..100)
//   258      the bytes of one bitmap (480), 16-bit big-endian
//   260      B, the length of the name list, 16-bit big-endian
//   262      the name list: per symbol "|" and its name padded with blanks to 10 characters
//   ...      one zero byte when B is odd
//   then     bitmap 1, 2, ...: bitmap n at 480 n + B - 218 + (B mod 2); 60 rows of 8 bytes, each
//            byte eight pixels from the left, its high bit first, a set bit being ink
// (a row is four 16-bit words stored low byte first, which is the same bytes in the same order).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace symlib {

constexpr int kWidth = 64;
constexpr int kHeight = 60;
constexpr int kBitmapBytes = kWidth / 8 * kHeight;  // 480
constexpr int kMaxSymbols = 99;
constexpr int kMaxName = 10;
constexpr int kEntry = kMaxName + 1;  // "|" + name
constexpr int kHeaderText = 256;

struct Symbol {
  std::string name;
  std::array<std::string, kHeight> rows;  // kWidth characters each: '#' ink, '.' paper
  std::string comment;                    // the comment lines before it in its source file
};

// A fault in a source file or a library file; the text names the file and line where it can.
struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The symbols of a tile source folder, in library order (the files of library.txt, in order).
std::vector<Symbol> read_sources(const std::filesystem::path& folder);
// The tiles of one source text (for errors, file names it).
std::vector<Symbol> parse_tiles(const std::string& text, const std::string& file);

// The library file's bytes.
std::string build_library(const std::vector<Symbol>& symbols);
// The symbols of a library file's bytes (comments empty).
std::vector<Symbol> read_library(const std::string& bytes);

// A tile as its source lines ("symbol NAME" and the rows); repeat > 1 prints repeat x repeat tiles
// side by side and one above the other, to check that the edges meet.
std::string show(const Symbol& symbol, int repeat = 1);

}  // namespace symlib
