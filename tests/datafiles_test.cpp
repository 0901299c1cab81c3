// The engine folder's hand-written data files: the standard SET file and the prompt file, checked by
// their layouts and against what the engine's code uses of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "engine/frame/frame.h"
#include "engine/frame/frame_fixture.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "testsupport.h"
#include "tools/embedded_data.h"

namespace fs = std::filesystem;
using testing_support::find_all_regex;
using testing_support::find_regex;
using testing_support::data_dir;
using testing_support::read_file;
using testing_support::source_dir;

namespace {

// The lines of a file whose every line ends in CR LF (a bare LF or CR, or a last line without its end,
// fails the test).
std::vector<std::string> crlf_lines(const std::string& bytes, const std::string& what) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < bytes.size()) {
    size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos) {
      ADD_FAILURE() << what << ": last line without CR LF";
      break;
    }
    std::string line = bytes.substr(from, end - from);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << what << " line " << lines.size() + 1;
    lines.push_back(line);
    from = end + 2;
  }
  return lines;
}

TEST(StandardSet, IsTheTemplateByteForByte) {
  const std::string bytes = read_file(data_dir() / "STANDARD.SET");
  EXPECT_EQ(embedded_data::kStandardSet, bytes) << "the built-in copy is made from the file";
  const auto lines = crlf_lines(bytes, "STANDARD.SET");
  ASSERT_EQ(lines.size(), 116u);
  const std::string rule(76, '-');
  for (int i : {0, 2, 5, 44, 71, 91, 113, 115}) EXPECT_EQ(lines[static_cast<size_t>(i)], rule) << i;
  for (int i : {6, 41, 43, 45, 49, 51, 62, 68, 70, 72, 74, 79, 86, 90, 92, 96, 112})
    EXPECT_EQ(lines[static_cast<size_t>(i)], "") << i;
  EXPECT_EQ(lines[1], "STANDARD.SET");
  EXPECT_EQ(lines[114], "END OF STANDARD.SET");
  for (int i : {7, 97}) EXPECT_EQ(lines[static_cast<size_t>(i)], "BEGIN");
  for (int i : {42, 111}) EXPECT_EQ(lines[static_cast<size_t>(i)], "END");
  // Item lines: the "=" column and the value before it.
  auto eq_column = [&](int i) { return lines[static_cast<size_t>(i)].find('=') + 1; };
  for (int i = 8; i <= 40; ++i) EXPECT_EQ(eq_column(i), 41u) << "line " << i;
  for (int i : {98, 99}) EXPECT_EQ(eq_column(i), 37u) << "line " << i;
  for (int i = 100; i <= 110; ++i) EXPECT_EQ(eq_column(i), i == 106 ? 35u : 36u) << "line " << i;
  const std::map<int, std::string> values{
      {8, "PROMPTS .ENG"}, {9, "PROVOCAB.ENG"}, {11, "C:\\VLXFILES"}, {13, "A4"}, {25, "LOGOJ LOGO0"},
      {26, "-200      0"}, {31, "LJ4"}, {32, "HELVMU.MET"}, {33, "/027(10U/027(s1p10v0s0b4148T"},
      {35, "/027(10U/027(s1p10v0s3b4148T"}, {36, "HELVMI.MET"}, {37, "/027)10U/027)s1p8v1s0b4148T"},
      {99, "ENG"}, {100, "`"}, {106, "\""}, {110, "|"}};
  for (const auto& [i, v] : values) {
    const std::string& line = lines[static_cast<size_t>(i)];
    std::string value = line.substr(0, line.find('='));
    value.erase(value.find_last_not_of(' ') + 1);
    EXPECT_EQ(value, v) << "line " << i;
  }
  // The font files it names are in its font folder.
  for (const char* met : {"HELVMU.MET", "HELVBU.MET", "HELVMI.MET"}) EXPECT_TRUE(fs::exists(data_dir() / "LJ4" / met));
}


// --- pdffonts.dat ---

// Every metric file that the font table names is in the font folder of the standard SET file, under
// its exact name. The table is read as the engine reads it: its lines joined, then entries of a 6-character
// key, the PDF name up to ":" and a 10-character metric field (a file name, or a pitch).
TEST(FontTable, EveryMetricFileItNamesIsInTheFontFolder) {
  std::istringstream in(read_file(data_dir() / "pdffonts.dat"));
  std::string line, table;
  ASSERT_TRUE(std::getline(in, line));
  const int count = std::stoi(line);
  for (int i = 0; i < count && std::getline(in, line); ++i) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    table += line;
  }
  std::set<std::string> files;
  int entries = 0;
  for (size_t at = 0; at < table.size(); ++entries) {
    const size_t colon = table.find(':', at + 6);
    ASSERT_NE(colon, std::string::npos) << table.substr(at);
    std::string metric = table.substr(colon + 1, 10);
    metric.erase(metric.find_last_not_of(' ') + 1);
    metric.erase(0, metric.find_first_not_of(' '));
    at = colon + 11;
    if (metric.empty() || std::isdigit(static_cast<unsigned char>(metric[0])) || metric[0] == '.') continue;  // a pitch
    files.insert(metric);
    EXPECT_TRUE(fs::exists(data_dir() / "LJ4" / metric)) << metric << " (run tools/makemet)";
  }
  EXPECT_EQ(entries, 28);
  EXPECT_GE(files.size(), 12u);
}

// --- prompts.eng ---

// A marker line reduced as the engine reduces it: the text before the first "=" (the first 38
// characters when there is none), upper-cased, without blanks.
std::string reduce(const std::string& line) {
  size_t eq = line.find('=');
  std::string v = line.substr(0, eq == std::string::npos ? 38 : eq), out;
  for (char c : v)
    if (c != ' ') out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> split_words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::string upper(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

struct PromptFile {
  std::map<int, std::string> texts;
  std::vector<std::vector<std::array<std::string, 3>>> menus;
};

// Reads prompts.eng by its layout: numbered lines between BEGIN and END, then four menus of
// comma-separated items (a quoted item may hold commas; an empty line is an empty item, which a
// count skips).
PromptFile read_prompts() {
  PromptFile pf;
  const auto lines = crlf_lines(read_file(data_dir() / "prompts.eng"), "prompts.eng");
  size_t i = 0;
  while (i < lines.size() && reduce(lines[i]) != "BEGIN") {
    EXPECT_NE(reduce(lines[i]), "END") << "line " << i + 1 << " before BEGIN would end the texts for the menu reader";
    ++i;
  }
  EXPECT_LT(i, lines.size()) << "no BEGIN line";
  for (++i; i < lines.size() && reduce(lines[i]) != "END"; ++i) {
    const std::string& line = lines[i];
    const std::string num = line.substr(0, std::min<size_t>(3, line.size()));
    if (num.find_first_not_of(' ') == std::string::npos) continue;
    int n = 0;
    EXPECT_NO_THROW(n = std::stoi(num)) << "line " << i + 1;
    EXPECT_TRUE(n >= 1 && n <= 250) << "line " << i + 1;
    EXPECT_EQ(pf.texts.count(n), 0u) << "prompt " << n << " given twice";
    std::string text = line.size() > 3 ? line.substr(3) : "";
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    EXPECT_FALSE(text.empty()) << "prompt " << n;
    EXPECT_LE(text.size(), 78u) << "prompt " << n << " is wider than the console";
    pf.texts[n] = text;
  }
  EXPECT_LT(i, lines.size()) << "no END line";
  std::vector<std::string> items;
  for (++i; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t p = 0;
    do {
      while (p < line.size() && line[p] == ' ') ++p;
      std::string item;
      if (p < line.size() && line[p] == '"') {
        size_t close = line.find('"', p + 1);
        item = line.substr(p + 1, close - p - 1);
        p = line.find(',', close);
      } else {
        size_t comma = line.find(',', p);
        item = line.substr(p, comma - p);
        p = comma;
      }
      items.push_back(item);
      if (p != std::string::npos) ++p;
    } while (p != std::string::npos);
  }
  size_t at = 0;
  for (int k = 0; k < 4; ++k) {
    while (at < items.size() && std::atoi(items[at].c_str()) == 0) ++at;
    EXPECT_LT(at, items.size()) << "menu " << k + 1 << " missing";
    if (at >= items.size()) break;
    const int count = std::atoi(items[at++].c_str());
    pf.menus.emplace_back();
    for (int j = 0; j < count && at + 3 <= items.size(); ++j, at += 3)
      pf.menus.back().push_back({items[at], items[at + 1], items[at + 2]});
    EXPECT_EQ(static_cast<int>(pf.menus.back().size()), count) << "menu " << k + 1;
  }
  EXPECT_EQ(at, items.size()) << "items after the fourth menu";
  return pf;
}

// Position of the word list piece holding value (upper-cased), as the run file's word lookup counts.
size_t word_position(const std::string& list, const std::string& value) {
  const auto words = split_words(upper(list));
  for (size_t i = 0; i < words.size(); ++i)
    if (words[i].find(upper(value)) != std::string::npos) return i + 1;
  return words.size();
}

TEST(PromptFile, LayoutAndTheTextsTheEngineParses) {
  const PromptFile pf = read_prompts();
  const auto& t = pf.texts;
  // Every prompt number the engine's parts use.
  const std::set<int> used{1,   2,   3,   5,   8,   13,  18,  21,  22,  28,  29,  33,  34,  36,  37,  38,  40,  41,
                           42,  43,  44,  45,  46,  47,  48,  50,  51,  52,  55,  56,  59,  60,  61,  62,  63,  64,
                           66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  78,  79,  80,  81,  82,  83,  84,
                           85,  87,  89,  90,  91,  92,  94,  95,  97,  99,  100, 101, 102, 106, 107, 108, 109, 110,
                           111, 112, 113, 114, 115, 117, 118, 119, 120, 121, 123, 124, 125, 126, 127, 128, 129, 130,
                           131, 132, 133, 134, 135, 136, 137, 138, 147};
  for (int n : used) EXPECT_EQ(t.count(n), 1u) << "prompt " << n << " has no text";
  if (!std::all_of(used.begin(), used.end(), [&](int n) { return t.count(n); })) return;

  // Word lists of the main menu and the run file.
  const auto devices = split_words(t.at(33));
  ASSERT_EQ(devices.size(), 6u);
  EXPECT_EQ(devices[2] + devices[3] + devices[4] + devices[5], "PDFPGLDXFPCL");
  for (const char* w : {"PDF", "PGL", "DXF", "PCL"}) {
    EXPECT_EQ(upper(devices[0] + " " + devices[1]).find(w), std::string::npos) << w;
    EXPECT_EQ(word_position(t.at(33), w) - 2,
              std::string(w) == "PDF" ? 1u : std::string(w) == "PGL" ? 2u : std::string(w) == "DXF" ? 3u : 4u);
  }
  EXPECT_EQ(word_position(t.at(28), "PROFILES"), 2u) << "activity 0 (a position of 2 or less)";
  EXPECT_EQ(word_position(t.at(28), "TEST-SYMB"), 3u) << "activity 1";
  EXPECT_GE(split_words(t.at(28)).size(), 4u);
  EXPECT_GE(split_words(t.at(69)).size(), 2u);
  for (int n : {28, 29, 3, 69})
    for (const auto& w : split_words(t.at(n))) EXPECT_LE(w.size(), 15u) << "a word of prompt " << n << " fills a 15-column cell";
  EXPECT_LE((devices[0] + " " + devices[1]).size(), 15u);

  // One-letter questions: yes follows an opening bracket, no other letter does.
  for (int n : {52, 108, 112, 147}) {
    EXPECT_NE(t.at(n).find("(Y"), std::string::npos) << n;
    for (char c = 'A'; c <= 'Z'; ++c) {
      if (c == 'Y') continue;
      EXPECT_EQ(t.at(n).find(std::string("(") + c), std::string::npos) << n << ": " << c;
    }
  }
  EXPECT_NE(t.at(147).find("(Y="), std::string::npos);
  for (int n : {85, 102}) EXPECT_NE(t.at(n).find('='), std::string::npos) << n;

  // Columns of the font list, and the font menus' names.
  for (int n = 124; n <= 138; ++n) EXPECT_LE(t.at(n).size(), 5u) << n;
  for (int n : {113, 114, 115, 123}) EXPECT_LE(t.at(n).size(), 4u) << n;
  std::set<std::string> names{"MAIN", "FONTS", "PROMPTS", "PROVOCAB", "CONVOCAB", "PATHS", "LAYOUT", "SWITCHSETUP"};
  for (int n = 117; n <= 120; ++n) EXPECT_TRUE(names.insert(upper(t.at(n))).second) << n;

  // Questions on the message line start where the key hint (74) is centred and leave room for 24
  // typed characters.
  const size_t column = 39 - t.at(74).size() / 2;
  auto fits = [&](const std::string& q) { return column + q.size() + 1 + 24 <= 79; };
  for (const std::string& q : {t.at(45), t.at(52), t.at(67), t.at(107) + "STANDARD.SET)", t.at(147),
                               t.at(121) + " " + t.at(106) + " " + t.at(120), t.at(2) + " C:\\VLXFILES )"})
    EXPECT_TRUE(fits(q)) << q;

  // The four menus of the setup editor.
  ASSERT_EQ(pf.menus.size(), 4u);
  EXPECT_EQ(pf.menus[0].size(), 9u) << "MAIN";
  EXPECT_EQ(pf.menus[1].size(), 3u) << "FONTS";
  EXPECT_EQ(pf.menus[2].size(), 3u) << "PATHS";
  EXPECT_EQ(pf.menus[3].size(), 18u) << "LAYOUT";
  std::string reverse;
  std::string help = pf.menus[2][1][1];
  for (char& c : help)
    if (c == ',' || c == '.') c = ' ';
  for (const auto& w : split_words(help))
    if (w == upper(w)) reverse = w;
  EXPECT_EQ(reverse, "REVERSE");
  for (const auto& item : pf.menus[3]) {
    EXPECT_LE(item[0].size(), 20u) << item[0];
    EXPECT_LE(item[1].size() + item[2].size() + 2, 46u) << item[0] << ": the value column";
    EXPECT_TRUE(fits(t.at(111) + " " + item[1] + "(-390..1200)")) << item[0];
  }
}

// Every prompt number the engine's code uses has a text.
TEST(PromptFile, CoversThePromptsTheEngineUses) {
  const PromptFile pf = read_prompts();
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(source_dir() / "engine")) {
    const std::string name = e.path().filename().string();
    if (e.path().extension() != ".cpp" || name.ends_with("_test.cpp")) continue;
    ++files;
    const std::string code = read_file(e.path());
    for (const auto& m : find_all_regex(code, R"(\bPROMPT\((\d+)\))")) {
      const int n = std::stoi(m[1]);
      EXPECT_EQ(pf.texts.count(n), 1u) << name << " uses prompt " << n;
    }
  }
  EXPECT_GT(files, 0);
}


// The engine's own readers take the shipped prompt file without a single error report.
class ShippedPrompts : public FrameFixture {};

TEST_F(ShippedPrompts, LoadWithoutAnErrorAndServeTheRunFile) {
  fs::copy_file(data_dir() / "prompts.eng", dir.path() / "prompts.eng");
  PROMPTNAME = "prompts.eng";
  FETCHPRO(PROMPTNAME);
  FETCHMENUS();
  EXPECT_EQ(log(), "");
  EXPECT_TRUE(box.texts.empty());
  EXPECT_EQ(PROMPT(110), "Press any key to continue.");
  const std::int32_t counts[] = {9, 3, 3, 18}, firsts[] = {0, 9, 12, 15};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(MENUCOUNT(k), counts[k - 1]) << "menu " << k;
    EXPECT_EQ(MENUFIRST(k), firsts[k - 1]) << "menu " << k;
  }
  EXPECT_EQ(MENUITEM1(1), "Fonts");
  EXPECT_EQ(MENUITEM2(33), "line spacing ");
  EXPECT_EQ(MENUITEM3(33), "lines per inch");
  EXPECT_EQ(REVERSEWORD, "REVERSE");

  // The words a run file gives for the output device and the activity.
  struct Case {
    const char* output;
    const char* activity;
    std::int32_t outdev, sheetmode;
  } cases[] = {{"PDF", "PROFILES", 1, 0}, {"PGL", "TEST-SYMB", 2, 1}, {"DXF", "One-page", 3, 2}, {"pdf", "1", 1, 1}};
  for (const auto& c : cases) {
    dir.write("@runfile.dat", std::string("2/      output = ") + c.output + "\r\n4/    activity = " + c.activity + "\r\n");
    OUTDEV = 0;
    SHEETMODE = -1;
    std::string cmd = "@runfile.dat";
    READRUNS(cmd);
    EXPECT_EQ(OUTDEV, c.outdev) << c.output;
    EXPECT_EQ(SHEETMODE, c.sheetmode) << c.activity;
  }
  EXPECT_EQ(log(), "");
}

// The scales files, read as the layout reads them: lines up to BEGIN, then records of four items.
class ShippedScales : public FrameFixture {};

TEST_F(ShippedScales, RecordsFitTheLayout) {
  struct Case {
    const char* file;
    double dots_per_unit;  // at 1:1
  } cases[] = {{"scales.MET", 1000 * 300 / 25.399999618530273}, {"scales.IMP", 12 * 300}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto lines = crlf_lines(read_file(data_dir() / c.file), c.file);
    fs::copy_file(data_dir() / c.file, dir.path() / c.file);
    const int f = rt::FREEFILE();
    ASSERT_TRUE(rt::open_file(f, c.file, rt::FileMode::Input));
    std::string line;
    while (rt::line_input(f, line) && rt::UCASE(line) != "BEGIN") {
    }
    std::vector<std::int32_t> denominators;
    while (!rt::at_eof(f)) {
      std::string n, unit, tick, step;
      ASSERT_TRUE(rt::input_item(f, n) && rt::input_item(f, unit) && rt::input_item(f, tick) && rt::input_item(f, step));
      const double denominator = rt::VAL(n), labelled = rt::VAL(tick), interval = rt::VAL(step);
      SCOPED_TRACE(n);
      EXPECT_GT(denominator, 0);
      EXPECT_TRUE(denominators.empty() || denominator > denominators.back()) << "rising order";
      denominators.push_back(static_cast<std::int32_t>(denominator));
      EXPECT_FALSE(unit.empty());
      EXPECT_EQ(labelled, std::floor(labelled)) << "a whole number of units";
      EXPECT_GE(labelled, 1);
      EXPECT_GT(interval, 0) << "a zero step would never end the ticks";
      const double per_label = labelled / interval;
      EXPECT_NEAR(per_label, std::round(per_label), 1e-9) << "long ticks fall on short ticks";
      EXPECT_GE(interval * c.dots_per_unit / denominator, 10) << "short ticks at least 10 dots apart";
    }
    rt::close_file(f);
    EXPECT_GE(denominators.size(), 8u);
    EXPECT_NE(std::find(denominators.begin(), denominators.end(), 100), denominators.end()) << "1:100";
  }
  EXPECT_EQ(log(), "");
}

}  // namespace

// The word-processor signature against its readable source; the conversion vocabulary and the paint
// library in their line layout (their contents are checked by the conversion's own tests).
TEST(ConversionFiles, SignatureAndLineLayout) {
  std::string hex;
  std::istringstream src(read_file(data_dir() / "src" / "wordpad.sig.hex"));
  for (std::string line; std::getline(src, line);)
    if (!line.starts_with("#")) hex += line;
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  EXPECT_EQ(bytes.size(), 24u);
  EXPECT_EQ(read_file(data_dir() / "wordpad.sig"), bytes);

  for (const char* name : {"CONVOCAB.ENG", "PAINTLIB.ENG"}) {
    const auto lines = crlf_lines(read_file(data_dir() / name), name);
    std::vector<size_t> begins;
    for (size_t i = 0; i < lines.size(); ++i)
      if (rt::UCASE(rt::TRIM(lines[i])) == "BEGIN") begins.push_back(i);
    const bool vocabulary = std::string(name) == "CONVOCAB.ENG";
    ASSERT_EQ(begins.size(), vocabulary ? 2u : 1u) << name;
    // Every line of the blocks is an entry, from "/" to the closing character of its kind.
    size_t i = begins[0] + 1;
    for (; i < lines.size() && lines[i] != "END"; ++i) {
      EXPECT_TRUE(lines[i].starts_with("/")) << name << ": " << lines[i];
      EXPECT_TRUE(vocabulary ? !find_regex(lines[i], "/<\\d\\d(>>)?$").empty() : lines[i].ends_with("."))
          << name << ": " << lines[i];
    }
    EXPECT_LT(i, lines.size()) << name << ": END";
    if (!vocabulary) continue;
    ASSERT_GE(lines.size(), begins[1] + 24);
    for (size_t n = 1; n <= 23; ++n) {
      const std::string& list = lines[begins[1] + n];
      EXPECT_TRUE(list.starts_with("/") && list.ends_with("/")) << "list " << n << ": " << list;
    }
  }
}
