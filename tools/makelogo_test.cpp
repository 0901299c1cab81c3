// The default logo: the shipped PDF is made from its source, and its table points at its objects.
#include <gtest/gtest.h>

#include "logofile.h"
#include "testsupport.h"

using testing_support::data_dir;
using testing_support::find_regex;
using testing_support::read_file;

namespace {

TEST(LogoFile, ShippedLogoIsMadeFromItsSource) {
  const std::string pdf = logofile::logo_pdf(read_file(data_dir() / "src" / "LOGO0.txt"));
  EXPECT_EQ(pdf, read_file(data_dir() / "LOGO0.PDF")) << "run build/tools/makelogo";

  // What the engine's reader relies on: "startxref" in the last 48 bytes, one classic table.
  EXPECT_NE(pdf.substr(pdf.size() - 48).find("startxref"), std::string::npos);
  const std::vector<std::string> m = find_regex(pdf, "startxref\n(\\d+)\n%%EOF\n$");
  ASSERT_FALSE(m.empty());
  const size_t xref = std::stoul(m[1]);
  ASSERT_EQ(pdf.compare(xref, 9, "xref\n0 7\n"), 0);
  for (int n = 1; n < 7; ++n) {
    const std::string entry = pdf.substr(xref + 9 + 20 * static_cast<size_t>(n), 20);
    const std::string label = std::to_string(n) + " 0 obj\n";
    EXPECT_EQ(entry.substr(10), " 00000 n \n") << n;
    EXPECT_EQ(pdf.compare(std::stoul(entry.substr(0, 10)), label.size(), label), 0) << n;
  }
  EXPECT_NE(pdf.find("/Font << /F1 5 0 R /F2 6 0 R >>"), std::string::npos);
}

TEST(LogoFile, MalformedSources) {
  for (const char* source : {"font F1\ncontent\nq Q\n", "# no content\nfont F1 Helvetica\n", "fonts F1 Helvetica\n"})
    EXPECT_THROW(logofile::logo_pdf(source), std::runtime_error) << source;
}

}  // namespace
