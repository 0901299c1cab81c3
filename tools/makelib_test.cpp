// The symbol library: the shipped file is made from its tile sources, its layout is the one the engine
// reads, the printed tiles show the conventions of the soils, and faulty sources are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "symlib.h"
#include "testsupport.h"

using testing_support::data_dir;

namespace {

std::vector<symlib::Symbol> shipped() {
  return symlib::read_library(testing_support::read_file(data_dir() / "PROLIB.DAT"));
}

const symlib::Symbol& find(const std::vector<symlib::Symbol>& all, const std::string& name) {
  static const symlib::Symbol none;
  for (const auto& s : all)
    if (s.name == name) return s;
  ADD_FAILURE() << "no symbol " << name;
  return none;
}

symlib::Symbol blank_tile(const std::string& name) {
  symlib::Symbol s;
  s.name = name;
  s.rows.fill(std::string(64, '.'));
  return s;
}

// The shapes of ink in a printed tile, the tile taken as repeating in both directions: per shape its
// width, its height, and whether it encloses paper (a ring).
struct Shape {
  int width = 0, height = 0;
  bool ring = false;
};

std::vector<Shape> shapes(const std::string& printed) {
  std::vector<std::string> rows;
  size_t start = printed.find('\n') + 1;  // after "symbol NAME"
  while (start < printed.size()) {
    size_t end = printed.find('\n', start);
    rows.push_back(printed.substr(start, end - start));
    start = end + 1;
  }
  const int h = static_cast<int>(rows.size()), w = static_cast<int>(rows[0].size());
  std::vector<int> label(static_cast<size_t>(w * h), -1);
  auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
  auto at = [&](int x, int y) { return static_cast<size_t>(wrap(y, h) * w + wrap(x, w)); };
  auto ink = [&](int x, int y) { return rows[static_cast<size_t>(wrap(y, h))][static_cast<size_t>(wrap(x, w))] == '#'; };
  // Paper regions, with four neighbours: a region of paper that no other tile reaches is enclosed.
  std::vector<int> paper(static_cast<size_t>(w * h), -1);
  std::vector<size_t> paper_size;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (ink(x, y) || paper[at(x, y)] >= 0) continue;
      const int id = static_cast<int>(paper_size.size());
      paper_size.push_back(0);
      std::vector<std::pair<int, int>> todo{{x, y}};
      paper[at(x, y)] = id;
      while (!todo.empty()) {
        auto [cx, cy] = todo.back();
        todo.pop_back();
        ++paper_size.back();
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
          if (!ink(cx + dx, cy + dy) && paper[at(cx + dx, cy + dy)] < 0) {
            paper[at(cx + dx, cy + dy)] = id;
            todo.push_back({cx + dx, cy + dy});
          }
      }
    }
  const size_t largest = *std::max_element(paper_size.begin(), paper_size.end());
  std::vector<Shape> out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!ink(x, y) || label[at(x, y)] >= 0) continue;
      const int id = static_cast<int>(out.size());
      int x0 = x, x1 = x, y0 = y, y1 = y;
      bool ring = false;
      std::vector<std::pair<int, int>> todo{{x, y}};
      label[at(x, y)] = id;
      while (!todo.empty()) {
        auto [cx, cy] = todo.back();
        todo.pop_back();
        x0 = std::min(x0, cx), x1 = std::max(x1, cx), y0 = std::min(y0, cy), y1 = std::max(y1, cy);
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            if (!ink(cx + dx, cy + dy)) {
              if (paper_size[static_cast<size_t>(paper[at(cx + dx, cy + dy)])] < largest) ring = true;
              continue;
            }
            if (label[at(cx + dx, cy + dy)] < 0) {
              label[at(cx + dx, cy + dy)] = id;
              todo.push_back({cx + dx, cy + dy});
            }
          }
      }
      out.push_back({x1 - x0 + 1, y1 - y0 + 1, ring});
    }
  return out;
}

TEST(SymbolLibrary, ShippedFileIsMadeFromItsSources) {
  const auto sources = symlib::read_sources(data_dir() / "src" / "PROLIB");
  ASSERT_GE(sources.size(), 30u);
  EXPECT_EQ(symlib::build_library(sources), testing_support::read_file(data_dir() / "PROLIB.DAT"))
      << "run build/tools/makelib build";
  const auto lib = shipped();
  ASSERT_EQ(lib.size(), sources.size());
  for (size_t i = 0; i < lib.size(); ++i) {
    EXPECT_EQ(lib[i].name, sources[i].name);
    EXPECT_EQ(lib[i].rows, sources[i].rows) << lib[i].name;
  }
}

TEST(SymbolLibrary, LayoutIsWhatTheEngineReads) {
  // An odd name list (one symbol) puts a pad byte before the bitmaps; an even one (two) does not.
  for (int count : {1, 2}) {
    std::vector<symlib::Symbol> symbols;
    for (int n = 1; n <= count; ++n) {
      auto s = blank_tile(n == 1 ? "CLAY" : "gravel");
      s.rows[0][0] = '#';         // pixel 0 of row 0: the high bit of the first byte
      s.rows[0][9] = '#';         // pixel 9: bit 6 of the second byte
      s.rows[59][63] = '#';       // the last pixel: the low bit of the last byte
      s.rows[1][static_cast<size_t>(n)] = '#';  // tells the bitmaps apart
      symbols.push_back(s);
    }
    const std::string b = symlib::build_library(symbols);
    auto be16 = [&](size_t at) { return static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]); };
    SCOPED_TRACE(count);
    EXPECT_EQ(b.substr(0, 10), "PROLIB.DAT");
    EXPECT_EQ(b.substr(254, 2), "\r\n");
    EXPECT_EQ(be16(256), count);
    EXPECT_EQ(be16(258), 480);
    const int list = be16(260);
    EXPECT_EQ(list, 11 * count);
    EXPECT_EQ(b.substr(262, 11), "|CLAY      ");
    if (count == 2) {
      EXPECT_EQ(b.substr(273, 11), "|gravel    ");
    }
    for (int n = 1; n <= count; ++n) {
      const size_t at = static_cast<size_t>(480 * n + list - 218 + list % 2);
      EXPECT_EQ(static_cast<unsigned char>(b[at]), 0x80);
      EXPECT_EQ(static_cast<unsigned char>(b[at + 1]), 0x40);
      EXPECT_EQ(static_cast<unsigned char>(b[at + 8]), n == 1 ? 0x40 : 0x20);
      EXPECT_EQ(static_cast<unsigned char>(b[at + 479]), 0x01);
    }
    EXPECT_EQ(b.size(), static_cast<size_t>(262 + list + list % 2 + 480 * count));
  }
}

TEST(SymbolLibrary, PrintedTilesShowDashesDotsAndCircles) {
  const auto lib = shipped();
  // Clay: flat dashes, several pixels long. Sand: small dots. Gravel: closed rounded outlines.
  for (const auto& s : shapes(symlib::show(find(lib, "CLAY")))) {
    EXPECT_EQ(s.height, 1);
    EXPECT_GE(s.width, 8);
  }
  for (const auto& s : shapes(symlib::show(find(lib, "SAND")))) {
    EXPECT_LE(s.width, 2);
    EXPECT_LE(s.height, 2);
  }
  const auto gravel = shapes(symlib::show(find(lib, "GRAVEL")));
  ASSERT_GE(gravel.size(), 8u);
  for (const auto& s : gravel) {
    EXPECT_TRUE(s.ring);
    EXPECT_GE(s.width, 7);
    EXPECT_GE(s.height, 6);
  }
  // The repeated print shows four tiles whose edges meet.
  const std::string twice = symlib::show(find(lib, "CLAY"), 2);
  EXPECT_EQ(std::count(twice.begin(), twice.end(), '\n'), 121);
  EXPECT_EQ(twice.find('\n', 13) - twice.find('\n') - 1, 128u);
}

TEST(SymbolLibrary, MasksNeverCoverTheirOwnSymbol) {
  // A mask is cleared after its own symbol is drawn: its ink must miss the symbol's ink.
  const auto lib = shipped();
  int masks = 0;
  for (const auto& mask : lib) {
    if (std::any_of(mask.name.begin(), mask.name.end(), [](char c) { return std::isupper(static_cast<unsigned char>(c)); }))
      continue;
    std::string upper = mask.name;
    for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& fill : lib) {
      std::string u = fill.name;
      for (auto& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (u != upper || &fill == &mask) continue;
      ++masks;
      for (int r = 0; r < 60; ++r)
        for (int x = 0; x < 64; ++x)
          EXPECT_FALSE(mask.rows[static_cast<size_t>(r)][static_cast<size_t>(x)] == '#' &&
                       fill.rows[static_cast<size_t>(r)][static_cast<size_t>(x)] == '#')
              << mask.name << " covers " << fill.name << " at row " << r << ", pixel " << x;
    }
  }
  EXPECT_GE(masks, 4);
}

TEST(SymbolLibrary, FaultySourcesAreRefused) {
  const std::string row(64, '.');
  std::string rows;
  for (int r = 0; r < 60; ++r) rows += row + "\n";
  std::string many;
  for (int n = 0; n < 100; ++n) many += "symbol S" + std::to_string(n) + "\n" + rows;
  struct Case {
    std::string text, message;
  } cases[] = {
      {"symbol CLAY\n" + rows.substr(0, 65 * 59), "t.txt:61: CLAY ends after 59 of 60 rows"},
      {"# clay\nsymbol CLAY\n" + row.substr(1) + "\n" + rows, "t.txt:3: CLAY row 0 has 63 characters, not 64"},
      {"symbol CLAY\n" + rows.substr(0, 65) + "#x" + row.substr(2) + "\n", "t.txt:3: CLAY row 1 holds a character"},
      {"CLAY\n" + rows, "t.txt:1: expected \"symbol NAME\""},
      {"symbol CLAY\n" + rows + "symbol CLAY\n" + rows, "symbol CLAY named twice"},
      {"symbol CLAYSTONE12\n" + rows, "symbol name \"CLAYSTONE12\""},
      {"symbol MADE GROUND\n" + rows, "symbol name \"MADE GROUND\""},
      {many, "100 symbols; the library holds at most 99"},
  };
  for (const auto& c : cases) {
    try {
      symlib::build_library(symlib::parse_tiles(c.text, "t.txt"));
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const symlib::Error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
