// The vocabulary reader: the four sections of a vocabulary file, the library header, the user files,
// files that are missing, damaged or end early, and the shipped vocabulary with its symbol library.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"
#include "symlib.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// A vocabulary file of the four sections.
std::string vocabulary(const std::vector<std::string>& words, const std::vector<std::string>& abbreviations,
                       const std::vector<std::string>& keywords, const std::string& library) {
  std::vector<std::string> lines{"A vocabulary", "", "BEGIN"};
  lines.insert(lines.end(), words.begin(), words.end());
  lines.insert(lines.end(), {"END", "Abbreviations:", "BEGIN"});
  lines.insert(lines.end(), abbreviations.begin(), abbreviations.end());
  lines.insert(lines.end(), {"END", "BEGIN"});
  lines.insert(lines.end(), keywords.begin(), keywords.end());
  lines.insert(lines.end(), {"END", library, "Anything after it."});
  return crlf(lines);
}

// A symbol library of blank tiles with these names.
std::string library(const std::vector<std::string>& names) {
  std::vector<symlib::Symbol> symbols;
  for (const auto& n : names) {
    symlib::Symbol s;
    s.name = n;
    s.rows.fill(std::string(64, '.'));
    symbols.push_back(s);
  }
  return symlib::build_library(symbols);
}

std::string entries(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += rt::LSET("|" + n, 11);
  return out;
}

class VocabularyTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    PROMPT(41) = "More than 14 abbreviations";
    PROMPT(56) = "not found, using:";
    dir.write("PROLIB.DAT", library({"CLAY", "SAND"}));
  }
  size_t log_lines() const {
    const std::string l = log();
    return static_cast<size_t>(std::count(l.begin(), l.end(), '\n'));
  }
};

TEST_F(VocabularyTest, ReadsWordsAbbreviationsKeywordsAndUserLines) {
  VOCAB(5) = "kept";
  ABBRCOUNT = 9;
  dir.write("usercat.dat", "|MINE      \r\nsecond line\r\n");
  dir.write("userprov.dat", "/mine/[mine].\r\n");
  dir.write("V.ENG", vocabulary({" 1)  Depth<01>   2)  Sample<02>", "-- no entry here", "a| Notes<04>", "Job) No<22>",
                                 "  Hole  <20>Page<26>"},
                                {"D    Small disturbed", "B    Bulk"}, {"AS ABOVE.", "/CLAY/", "/sand/"}, "PROLIB.DAT"));
  READVOCB("V.ENG");
  EXPECT_EQ(VOCAB(1), "Depth");
  EXPECT_EQ(VOCAB(2), "Sample");
  EXPECT_EQ(VOCAB(4), "Notes");
  EXPECT_EQ(VOCAB(22), "Job) No") << "one blank after the bracket is no label";
  EXPECT_EQ(VOCAB(20), "Hole");
  EXPECT_EQ(VOCAB(26), "Page");
  EXPECT_EQ(VOCAB(5), "kept") << "a number the file does not give keeps its word";
  EXPECT_EQ(ABBRCOUNT, 2);
  EXPECT_EQ(ABBREV(1), "D    Small disturbed");
  EXPECT_EQ(ABBREV(2), "B    Bulk");
  EXPECT_EQ(KEYWORDS, "AS ABOVE./CLAY//SAND//MINE/[MINE].");
  EXPECT_EQ(VOCABLIST, entries({"CLAY", "SAND", "MINE"}));
  EXPECT_EQ(LIBNAME, "PROLIB.DAT");
  EXPECT_EQ(log(), "");
}

TEST_F(VocabularyTest, BlanksAroundBeginOpenOnlyTheWordSection) {
  dir.write("V.ENG", crlf({"title", "  begin  ", "Word<01>", "END", "  begin  ", "not an abbreviation", "END", "BEGIN",
                           "A1", "END", "BEGIN", "/K/", "END", "PROLIB.DAT"}));
  READVOCB("V.ENG");
  EXPECT_EQ(VOCAB(1), "Word");
  EXPECT_EQ(ABBRCOUNT, 1);
  EXPECT_EQ(ABBREV(1), "A1");
  EXPECT_EQ(KEYWORDS, "/K/");
}

TEST_F(VocabularyTest, LibraryLineNamesTheLibrary) {
  dir.write("PROLIB2.DAT", library({"PEAT"}));
  struct Case {
    std::string line, library, list;
    int beeps;
  } cases[] = {
      {"PROLIB2.DAT", "PROLIB2.DAT", entries({"PEAT"}), 0},
      {"mylib.dat", "PROLIB.DAT", entries({"CLAY", "SAND"}), 0},
      {"", "PROLIB.DAT", entries({"CLAY", "SAND"}), 0},
      {"C:\\LIBS\\PROLIB3.DAT", "PROLIB.DAT", entries({"CLAY", "SAND"}), 1},
  };
  for (const auto& c : cases) {
    LIBNAME.clear();
    con->beeps = 0;
    dir.write("V.ENG", vocabulary({}, {}, {"/CLAY/"}, c.line));
    READVOCB("V.ENG");
    EXPECT_EQ(LIBNAME, c.library) << c.line;
    EXPECT_EQ(VOCABLIST, c.list) << c.line;
    EXPECT_EQ(con->beeps, c.beeps) << c.line;
    if (c.beeps) {
      EXPECT_EQ(rt::TRIM(con->row_text(24)), c.line + " not found, using:PROLIB.DAT");
    }
  }
}

TEST_F(VocabularyTest, LibraryIsReadOnlyWhenItsNameChangesAndTheUserLineOnlyOnce) {
  dir.write("usercat.dat", "|MINE      \r\n");
  dir.write("V.ENG", vocabulary({}, {}, {"/CLAY/"}, "PROLIB.DAT"));
  READVOCB("V.ENG");
  dir.write("PROLIB.DAT", library({"PEAT"}));
  READVOCB("V.ENG");
  READVOCB("V.ENG");
  EXPECT_EQ(VOCABLIST, entries({"CLAY", "SAND", "MINE"})) << "the same library is not read again";
  dir.write("W.ENG", vocabulary({}, {}, {"/CLAY/"}, "PROLIB4.DAT"));
  dir.write("PROLIB4.DAT", library({"COAL"}));
  READVOCB("W.ENG");
  EXPECT_EQ(VOCABLIST, entries({"COAL", "MINE"}));
  EXPECT_EQ(LIBNAME, "PROLIB4.DAT");
}

TEST_F(VocabularyTest, ReadIntTakesTwoBytesHighFirst) {
  struct Case {
    std::string bytes;
    std::int32_t value;
  } cases[] = {{std::string("\x00\x05", 2), 5},   {"\xFF\xFE", -2},  {"\x7F\xFF", 32767},
               {std::string("\x80\x00", 2), -32768}, {"\x01", 255},  {"", -257}};
  for (const auto& c : cases) {
    dir.write("B.DAT", c.bytes);
    int f = rt::FREEFILE();
    ASSERT_TRUE(rt::open_file(f, "B.DAT", rt::FileMode::Binary));
    std::int32_t v = 0;
    READINT(f, v);
    rt::close_file(f);
    EXPECT_EQ(v, c.value) << c.bytes.size();
  }
}

TEST_F(VocabularyTest, DamagedLibraryKeepsThePreviousList) {
  const std::string good = library({"COAL", "PEAT", "CLAY"});
  auto patched = [&](size_t at, std::string bytes) {
    std::string b = good;
    b.replace(at, bytes.size(), bytes);
    return b;
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool loads;
    std::string list;
    std::string said;  // what ERROR.LOG says of a library that does not load
  } cases[] = {
      {"valid", good, true, entries({"COAL", "PEAT", "CLAY"}), ""},
      {"name list longer than the file", good.substr(0, 270), false, "", "its name list of 33 bytes does not fit in its 270 bytes"},
      {"shorter than its check value", good.substr(0, 257), false, "", "it ends within its head of 262 bytes"},
      {"check value 101", patched(256, std::string("\x00\x65", 2)), false, "", "its check value 101 lies outside 0..100"},
      {"check value -2", patched(256, "\xFF\xFE"), false, "", "its check value -2 lies outside 0..100"},
      {"negative list length", patched(260, "\xFF\xF0"), false, "", "its name list of -16 bytes does not fit"},
  };
  for (const auto& c : cases) {
    LIBNAME = "OLD.DAT";
    VOCABLIST = "|OLD       ";
    con->keys = 0;
    dir.write("PROLIB.DAT", c.bytes);
    dir.write("V.ENG", vocabulary({}, {}, {"/CLAY/"}, "PROLIB.DAT"));
    dir.write("userprov.dat", "/mine/[mine].\r\n");
    READVOCB("V.ENG");
    EXPECT_EQ(LIBNAME, c.loads ? "PROLIB.DAT" : "OLD.DAT") << c.what;
    // A library that cannot be read leaves out the user's keyword line too.
    EXPECT_EQ(KEYWORDS, c.loads ? "/CLAY//MINE/[MINE]." : "/CLAY/") << c.what;
    EXPECT_EQ(VOCABLIST, c.loads ? c.list : "|OLD       ") << c.what;
    // A damaged library is said (no key wait), naming the file and what is wrong, not taken for a
    // missing one.
    EXPECT_EQ(con->keys, 0) << c.what;
    EXPECT_EQ(con->screen().find("File not found"), std::string::npos) << c.what;
    if (!c.loads) {
      EXPECT_NE(log().find("Symbol library PROLIB.DAT is damaged (" + c.said), std::string::npos) << c.what << log();
    }
    clear_log();
  }
}

TEST_F(VocabularyTest, FifteenAbbreviationsKeepFourteen) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 15; ++i) lines.push_back("A" + std::to_string(i));
  dir.write("V.ENG", vocabulary({}, lines, {"/CLAY/"}, "PROLIB.DAT"));
  READVOCB("V.ENG");
  EXPECT_EQ(ABBRCOUNT, 14);
  EXPECT_EQ(ABBREV(14), "A14");
  EXPECT_EQ(con->beeps, 1);
  EXPECT_EQ(rt::TRIM(con->row_text(24)), "More than 14 abbreviations");
}

TEST_F(VocabularyTest, MissingAndDamagedFiles) {
  // A missing vocabulary: the message and a key; nothing changes. Written down: the run ends with 1.
  VOCAB(1) = "old";
  KEYWORDS = "/OLD/";
  rt::set_exit_code(0);
  READVOCB("NOVOCAB.ENG");
  EXPECT_NE(con->screen().find("File not found : NOVOCAB.ENG"), std::string::npos);
  EXPECT_EQ(con->keys, 1);
  EXPECT_EQ(VOCAB(1), "old");
  EXPECT_EQ(KEYWORDS, "/OLD/");
  EXPECT_EQ(LIBNAME, "");
  EXPECT_NE(log().find("readvocb.cpp @   File not found : NOVOCAB.ENG\r\n"), std::string::npos) << log();
  EXPECT_EQ(log_lines(), 1u) << log();
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
  clear_log();

  // An empty user file is reported and adds nothing; entry numbers outside 0..50 are reported once.
  dir.write("usercat.dat", "");
  dir.write("V.ENG", vocabulary({"Far<60>", "Farther<61>", "Near<50>"}, {}, {"/CLAY/"}, "PROLIB.DAT"));
  READVOCB("V.ENG");
  EXPECT_EQ(VOCAB(50), "Near");
  EXPECT_EQ(VOCABLIST, entries({"CLAY", "SAND"}));
  const std::string l = log();
  EXPECT_NE(l.find("readvocb.cpp"), std::string::npos) << l;
  EXPECT_NE(l.find("Error  9 "), std::string::npos) << l;
  EXPECT_NE(l.find("Error  62 "), std::string::npos) << l;
  EXPECT_EQ(log_lines(), 2u) << l;
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(VocabularyTest, FileEndingEarlyIsReportedOnceAndKeepsWhatWasRead) {
  const std::string whole = vocabulary({"Depth<01>"}, {"D  disturbed"}, {"/CLAY/", "/SAND/"}, "PROLIB2.DAT");
  dir.write("PROLIB2.DAT", library({"PEAT"}));
  struct Case {
    const char* what;
    std::string cut_after;  // the file ends after this text
    std::string word, keywords, library;
  } cases[] = {
      {"no BEGIN", "A vocabulary\r\n", "old", "/OLD/", "PROLIB.DAT"},
      {"in the words", "Depth<01>\r\n", "Depth", "/OLD/", "PROLIB.DAT"},
      {"in the abbreviations", "D  disturbed\r\n", "Depth", "/OLD/", "PROLIB.DAT"},
      {"in the keywords", "/CLAY/\r\n", "Depth", "/CLAY/", "PROLIB.DAT"},
      {"before the library line", "/SAND/\r\nEND\r\n", "Depth", "/CLAY//SAND/", "PROLIB.DAT"},
  };
  for (const auto& c : cases) {
    clear_log();
    VOCAB(1) = "old";
    KEYWORDS = "/OLD/";
    LIBNAME.clear();
    const size_t end = whole.find(c.cut_after);
    ASSERT_NE(end, std::string::npos);
    dir.write("V.ENG", whole.substr(0, end + c.cut_after.size()));
    READVOCB("V.ENG");
    EXPECT_EQ(VOCAB(1), c.word) << c.what;
    EXPECT_EQ(KEYWORDS, c.keywords) << c.what;
    EXPECT_EQ(LIBNAME, c.library) << c.what;
    EXPECT_EQ(log_lines(), 1u) << c.what << "\n" << log();
    EXPECT_NE(log().find("Error  62"), std::string::npos) << c.what;
  }
  EXPECT_TRUE(box.texts.empty());
}

// --- the shipped vocabulary and symbol library ---

// Which symbol code a word of a description finds in the keyword table: a library name that has an
// entry of its own, else the first keyword that begins with the word and that the text continues
// with (also when the word only begins a longer library name). text is the description from the word
// on, upper case. Empty when nothing is found.
std::string code_found(const std::string& word, const std::string& text) {
  if (VOCABLIST.find("|" + word) != std::string::npos) {
    const std::string code = "[" + word + "]";
    if (KEYWORDS.find("/" + code + ".") != std::string::npos) return code;
  }
  for (size_t at = KEYWORDS.find("/" + word); at != std::string::npos; at = KEYWORDS.find("/" + word, at + 1)) {
    const size_t next = KEYWORDS.find('/', at + 1);
    const std::string keyword = KEYWORDS.substr(at + 1, next - at - 1);
    if (text.compare(0, keyword.size(), keyword) == 0) {
      const size_t open = KEYWORDS.find('[', at);
      return KEYWORDS.substr(open, KEYWORDS.find('.', open) - open);
    }
  }
  return "";
}

// The entry number of a layer tag's name in the library's list, as the sheet looks it up: the name in
// capitals, else with its first or second letter small; 0 when none.
int symbol_number(const std::string& name) {
  std::string key = rt::LSET("|" + name, 11);
  for (int variant : {0, 1, 2}) {
    std::string k = key;
    if (variant) k[static_cast<size_t>(variant)] = static_cast<char>(std::tolower(static_cast<unsigned char>(k[static_cast<size_t>(variant)])));
    const size_t p = VOCABLIST.find(k);
    if (p != std::string::npos && p % 11 == 0) return static_cast<int>(p / 11 + 1);
  }
  return 0;
}

TEST_F(VocabularyTest, ShippedVocabularyAndLibraryWorkTogether) {
  copy_data({"PROVOCAB.ENG", "PROLIB.DAT"});
  READVOCB("PROVOCAB.ENG");
  EXPECT_EQ(log(), "");
  EXPECT_EQ(LIBNAME, "PROLIB.DAT");

  // The words the sheets print, and the header item numbers of the footer's automatic items.
  for (int n = 3; n <= 33; ++n) EXPECT_FALSE(rt::TRIM(VOCAB(n)).empty()) << "word " << n;
  std::set<int> items;
  for (int n = 29; n <= 33; ++n) {
    const int item = static_cast<int>(rt::VAL(VOCAB(n)));
    EXPECT_TRUE(item >= 5 && item <= 19) << "word " << n << " names footer item " << item;
    items.insert(item);
  }
  EXPECT_EQ(items.size(), 5u) << "each automatic item has a field of its own";
  EXPECT_EQ(VOCAB(23), rt::UCASE(VOCAB(23)));
  EXPECT_TRUE(ABBRCOUNT >= 1 && ABBRCOUNT <= 14);

  // The keyword table: the repeat phrase, then entries ./KEYWORD/.../[NAME]. of at most 100.
  ASSERT_EQ(KEYWORDS.rfind("AS ABOVE./", 0), 0u);
  ASSERT_EQ(KEYWORDS.substr(KEYWORDS.size() - 2), "].");
  std::vector<std::string> table;
  for (size_t at = KEYWORDS.find("./"); at != std::string::npos;) {
    const size_t next = KEYWORDS.find("./", at + 2);
    table.push_back(KEYWORDS.substr(at + 1, (next == std::string::npos ? KEYWORDS.size() - 1 : next) - at - 1));
    at = next;
  }
  ASSERT_GE(table.size(), 30u);
  EXPECT_LE(table.size(), 100u);
  std::set<std::string> marks;
  for (const auto& entry : table) {
    SCOPED_TRACE(entry);
    const size_t open = entry.rfind("/[");
    ASSERT_NE(open, std::string::npos);
    ASSERT_EQ(entry.back(), ']');
    const std::string name = entry.substr(open + 2, entry.size() - open - 3);
    EXPECT_LE(name.size(), 10u);
    const int number = symbol_number(name);
    EXPECT_TRUE(number >= 1 && number <= 99) << "the library draws " << name;
    // Every keyword of the entry finds the entry's symbol, from a description that goes on after it.
    std::string delims = "/";
    PARSVARS(entry.substr(1, open - 1), delims);
    for (std::int32_t k = 1; k <= PARSEDCOUNT; ++k) {
      const std::string keyword = PARSED(k);
      if (keyword.rfind("SYMB", 0) == 0) {
        marks.insert(keyword);
        continue;
      }
      const std::string word = keyword.substr(0, keyword.find_first_of(" .:;,?)/[]"));
      EXPECT_EQ(code_found(word, keyword + " WITH"), "[" + name + "]") << keyword;
    }
  }
  // Each sample and water mark that the conversion writes has one entry.
  EXPECT_EQ(marks.size(), 9u);
  for (const char* m : {"SYMB1", "SYMB2", "SYMB3", "SYMB4", "SYMB5", "SYMB6", "SYMB7", "SYMB8", "SYMB9"}) {
    const std::string keyword = std::string("/") + m + "/";
    EXPECT_NE(KEYWORDS.find(keyword), std::string::npos) << m;
    EXPECT_EQ(KEYWORDS.find(keyword), KEYWORDS.rfind(keyword)) << m;
  }
  EXPECT_EQ(code_found("SYMB1", "SYMB1]DS01"), "[S-DIST]");
  // Forms that field descriptions use, also where they begin a longer library name.
  const struct {
    const char* word;
    const char* code;
  } forms[] = {{"SANDS", "[SAND]"},         {"SILTS", "[SILT]"},           {"CLAYS", "[CLAY]"},
               {"GRAVELS", "[GRAVEL]"},     {"SANDSTONES", "[SANDSTONE]"}, {"SILTSTONES", "[SILTSTONE]"},
               {"MUDSTONES", "[MUDSTONE]"}, {"CLAYSTONE", "[MUDSTONE]"},   {"LIMESTONES", "[LIMESTONE]"},
               {"SAND", "[SAND]"},          {"SANDY", "[SANDY]"},          {"CHALKY", "[CHALK]"}};
  for (const auto& f : forms) EXPECT_EQ(code_found(f.word, std::string(f.word) + " WITH"), f.code) << f.word;

  // Sample symbols are found by the first place of their name in the list; a mark-9 symbol is
  // followed by its white band.
  for (const char* s : {"S-DIST", "S-BULK", "S-UNDIST", "S-OTHER", "S-WATER", "S-CORE", "W-STRIKE", "W-LEVEL"})
    EXPECT_EQ(VOCABLIST.find(s), static_cast<size_t>(symbol_number(s) - 1) * 11 + 1) << s;
  EXPECT_EQ(VOCABLIST.substr(static_cast<size_t>(symbol_number("S-CORE")) * 11, 11), "|whiteband ");
  // Masks: GRAVEL's in the first band, COBBLES' after its first-letter fill, BOULDERS' after its
  // second-letter fill.
  EXPECT_EQ(VOCABLIST.find("|GRAVEL    ") % 11, 0u);
  EXPECT_NE(VOCABLIST.find("|gravel    "), std::string::npos);
  EXPECT_NE(VOCABLIST.find("|cOBBLES   "), std::string::npos);
  EXPECT_NE(VOCABLIST.find("|cobbles   "), std::string::npos);
  EXPECT_NE(VOCABLIST.find("|BoULDERS  "), std::string::npos);
  EXPECT_NE(VOCABLIST.find("|boulders  "), std::string::npos);
}

}  // namespace
