// The fixture of the tests that convert whole inputs: the engine folder's own SET file, vocabularies
// and keyword table in a temporary folder, a one-shot run, and readers of the coded hole files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/convert/convert_fixture.h"
#include "engine/runtime/command.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

inline std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

inline const std::string kMark2(2, static_cast<char>(180));
inline const std::string kMark3(3, static_cast<char>(180));

class HolePass : public ConvertFixture {
 protected:
  void SetUp() override {
    ConvertFixture::SetUp();
    copy_data({"STANDARD.SET", "wordpad.sig", "CONVOCAB.ENG", "PAINTLIB.ENG", "PROVOCAB.ENG", "PROLIB.DAT"});
    PROCOM();
    VERSION = "7022";
    READVOCB("PROVOCAB.ENG");  // the keyword table gives the symbol marks of water levels
    VOCABSETNAME = VOCABNAME = "PROVOCAB.ENG";
    SETUPNAME = "STANDARD.SET";
    RUNFLAGS = 1;  // a one-shot run: nobody is asked anything
    rt::set_exit_code(0);
  }
  void TearDown() override {
    rt::set_exit_code(0);
    ConvertFixture::TearDown();
  }
  // Converts the input (lines joined with CR LF) and returns what the conversion printed;
  // handed_over tells whether the run would go on to the hole catalogue.
  std::string convert(const std::vector<std::string>& lines, const std::string& name = "holes.txt") {
    dir.write(name, crlf(lines));
    SOURCENAME = name;
    take_printed();
    handed_over = PROCONV();
    return take_printed();
  }
  bool handed_over = false;
  // The names of the coded hole files, sorted.
  std::vector<std::string> trx_files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      if (rt::UCASE(e.path().extension().string()) == ".TRX") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The lines of a coded hole file; every line must end with CR LF.
  std::vector<std::string> trx(const std::string& name) const {
    const std::string text = dir.read(name);
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
      const size_t end = text.find("\r\n", from);
      if (end == std::string::npos) {
        ADD_FAILURE() << name << ": last line without CR LF";
        break;
      }
      lines.push_back(text.substr(from, end - from));
      from = end + 2;
    }
    return lines;
  }
  // The sections of a coded hole file by what they hold.
  struct Sections {
    std::vector<std::string> header;  // the 24 lines: version, items 1..22, item 38
    std::string colour;
    std::vector<std::string> samples, depths;  // the sample texts and their depths
    std::vector<std::string> notes, layers, abbreviations, other;
    std::vector<std::string> attributes, counts, records;  // names, record counts (as written), records
  };
  Sections sections(const std::string& name) const {
    const auto l = trx(name);
    Sections s;
    size_t i = 0;
    auto take = [&](size_t n) {
      std::vector<std::string> out;
      for (size_t k = 0; k < n && i < l.size(); ++k) out.push_back(l[i++]);
      return out;
    };
    auto count = [&] { return i < l.size() ? static_cast<size_t>(rt::VAL(l[i++])) : size_t(0); };
    s.header = take(24);
    s.colour = take(1).at(0);
    const size_t samples = count();
    s.samples = take(samples);
    s.depths = take(samples);
    s.notes = take(count());
    s.layers = take(count());
    const size_t attributes = count();
    s.attributes = take(attributes);
    s.counts = take(attributes);
    size_t records = 0;
    for (const auto& c : s.counts) records += static_cast<size_t>(rt::VAL(c));
    s.records = take(records);
    s.abbreviations = take(count());
    s.other = take(14);
    EXPECT_EQ(take(2), (std::vector<std::string>{kMark2, kMark3})) << name;
    EXPECT_EQ(i, l.size()) << name << ": lines after the end marks";
    return s;
  }
};
