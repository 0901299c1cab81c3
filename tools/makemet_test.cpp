// The width tables of the font folder: the shipped metric files are made from their readable sources,
// and the sources from the standard font metrics.
#include <gtest/gtest.h>

#include "metfile.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::data_dir;

namespace {

const fs::path kAfmFolder = "/usr/share/matplotlib/mpl-data/fonts/pdfcorefonts";

int be16(const std::string& b, size_t at) {
  return static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]);
}

// The font family of each metric file: its name in the header, whether it is fixed pitch, and the width
// of its blank in metric units (the standard metrics' blank at 94.482 %: 4.41 units per 1/1000 em).
struct Family {
  const char* prefix;
  const char* name;
  int spacing, blank;
} const kFamilies[] = {
    {"HELV", "HELVETICA       ", 1, 1158},  // 278 -> 262.66
    {"TIMS", "TIMES           ", 1, 1042},  // 250 -> 236.205
    {"COUR", "COURIER         ", 0, 2500},  // 600 -> 566.892
};

TEST(MetricFiles, ShippedFilesAreMadeFromTheirSources) {
  const fs::path sources = data_dir() / "src" / "LJ4";
  const auto fonts = metrics::read_font_list(sources / "fonts.txt");
  ASSERT_EQ(fonts.size(), 12u);
  for (const auto& font : fonts) {
    const fs::path src = sources / (font.file + ".txt");
    const auto table = metrics::parse_width_source(metrics::read_text_file(src), src.string());
    const std::string shipped = testing_support::read_file(data_dir() / "LJ4" / (font.file + ".MET"));
    EXPECT_EQ(metrics::met_bytes(table), shipped) << font.file << ": run tools/makemet met";

    // What the engine and its SET editor read of it (positions from 0 after ESC ")s80W").
    const Family* family = nullptr;
    for (const auto& f : kFamilies)
      if (font.file.rfind(f.prefix, 0) == 0) family = &f;
    ASSERT_NE(family, nullptr) << font.file;
    ASSERT_EQ(shipped.size(), 534u) << font.file;
    EXPECT_EQ(shipped.substr(0, 6), "\x1b)s80W");
    const std::string d = shipped.substr(6, 80);
    EXPECT_NE(d[2], 0) << font.file << ": scalable";
    EXPECT_EQ(d[12], 0) << font.file << ": portrait";
    EXPECT_EQ(d[13], family->spacing) << font.file;
    EXPECT_EQ(be16(d, 14), 341) << font.file << ": symbol set 10U";
    EXPECT_EQ(d[23], font.style) << font.file;
    EXPECT_EQ(d[24], font.weight) << font.file;
    EXPECT_EQ((static_cast<unsigned char>(d[26]) << 8) + static_cast<unsigned char>(d[25]), font.typeface);
    EXPECT_EQ(d.substr(48, 16), family->name) << font.file;
    EXPECT_EQ(static_cast<unsigned char>(shipped[86]) | static_cast<unsigned char>(shipped[87]) << 8, family->blank)
        << font.file << ": the blank";
  }
}

TEST(MetricFiles, SourcesAreMadeFromTheStandardFontMetrics) {
  if (!fs::exists(kAfmFolder / "Helvetica.afm"))
    GTEST_SKIP() << "no standard font metrics in " << kAfmFolder << " (Debian package python3-matplotlib)";
  const fs::path sources = data_dir() / "src" / "LJ4";
  const auto charset = metrics::read_charset(data_dir() / "src" / "cp437.txt");
  for (const auto& font : metrics::read_font_list(sources / "fonts.txt")) {
    const auto afm = metrics::read_afm(kAfmFolder / (font.afm + ".afm"));
    EXPECT_EQ(metrics::width_source(font, afm, charset),
              testing_support::read_file(sources / (font.file + ".txt")))
        << font.file << ": run tools/makemet afm";
  }
}

TEST(MetricFiles, BadSourcesAreRefused) {
  const std::string head = "name HELVETICA\nstyle 0\n";
  std::string all;
  for (int c = 32; c <= 254; ++c) all += std::to_string(c) + " 500 x\n";
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"a code missing", head + all.substr(0, all.rfind("254"))},
      {"codes out of order", head + "33 500 x\n" + all},
      {"a width too large for 16 bits", head + "32 8000 space\n" + all.substr(all.find('\n') + 1)},
      {"no font name", all},
  };
  for (const auto& c : cases) EXPECT_THROW(metrics::parse_width_source(c.text, "test"), std::runtime_error) << c.what;
  EXPECT_NO_THROW(metrics::parse_width_source(head + all, "test"));
}

}  // namespace
