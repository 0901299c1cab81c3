// The spell checker's logic: dictionary files, the word list, the scan and the suggestions.
#include "frontend/core/spell.h"

#include "frontend/core/edittemplates.h"
#include "frontend/core/modgeneral.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/textbox.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using quorvel::Answer;

namespace {

using FakeEditor = quorvel::fakes::TextBox;

class Spell : public ::testing::Test {
 protected:
  Spell() {
    ports.settings = &settings;
    ports.msgbox = &boxes;
    ports.launcher = &launcher;
    fs::create_directories(engine.path());
    fs::create_directories(program.path());
  }
  // A form over the editor, loaded.
  std::unique_ptr<quorvel::SpellForm> open(FakeEditor& editor) {
    auto f = std::make_unique<quorvel::SpellForm>(ports, editor, engine.str(), program.str());
    f->load();
    return f;
  }
  testing_support::TempDir engine, program;
  quorvel::fakes::MemorySettings settings;
  quorvel::fakes::ScriptedMessageBox boxes;
  quorvel::fakes::RecordingLauncher launcher;
  quorvel::Ports ports;
};

TEST(SpellWords, WordsCaseAndDistance) {
  using quorvel::IsSpellWordChar;
  for (unsigned char c : std::string("aZ09-'/\xDF\xE0\xC0\xE9\xC9\xF6\xFC\xDC"))
    EXPECT_TRUE(IsSpellWordChar(c)) << int(c);
  for (unsigned char c : std::string(" .,;:\t\r\n\xE6\xC6\xF8\xFD\xFF\xF7\xD7\"!"))
    EXPECT_FALSE(IsSpellWordChar(c)) << int(c);
  struct Case {
    const char* a;
    const char* b;
    int d;
  } distances[] = {{"kitten", "sitting", 3}, {"", "abc", 3}, {"ABC", "abc", 0}, {"abc", "", 3}, {"\xC9" "clair", "\xE9" "clair", 0}};
  for (const auto& c : distances) EXPECT_EQ(quorvel::LD(c.a, c.b), c.d) << c.a << "/" << c.b;
  EXPECT_EQ(quorvel::GetCase("HOUSR"), 2);
  EXPECT_EQ(quorvel::GetCase("Housr"), 1);
  EXPECT_EQ(quorvel::GetCase("housr"), 0);
  EXPECT_EQ(quorvel::GetCase("3-4"), 2);
  EXPECT_EQ(quorvel::MakeCase("house", 2), "HOUSE");
  EXPECT_EQ(quorvel::MakeCase("house", 1), "House");
  EXPECT_EQ(quorvel::MakeCase("London", 0), "London");
  EXPECT_EQ(quorvel::MakeCase("\xE9" "clair", 2), "\xC9" "CLAIR");
}

TEST(SpellWords, DictionaryText) {
  quorvel::Dictionary d;
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> words;
    std::string file;
  } cases[] = {
      {"CR LF", "alpha\r\nbeta\r\n", {"alpha", "beta"}, "alpha\r\nbeta\r\n"},
      {"LF only", "alpha\nbeta\n", {"alpha", "beta"}, "alpha\r\nbeta\r\n"},
      {"CR only", "alpha\rbeta\r", {"alpha", "beta"}, "alpha\r\nbeta\r\n"},
      {"blank lines give no entries", "alpha\r\n\r\n\r\nbeta\r\n", {"alpha", "beta"}, "alpha\r\n\r\n\r\nbeta\r\n"},
      {"one blank each side goes", " word \r\n  two  \r\n", {"word", " two "}, "word\r\n two \r\n"},
      {"a last line without its end", "alpha\r\nbeta", {"alpha", "beta"}, "alpha\r\nbeta\r\n"},
      {"empty", "", {}, ""},
  };
  for (const auto& c : cases) {
    d.set_text(c.bytes);
    EXPECT_EQ(d.words(), c.words) << c.what;
    EXPECT_EQ(d.file_bytes(), c.file) << c.what;
  }
  d.set_text("alpha\r\n");
  EXPECT_TRUE(d.contains("ALPHA"));
  d.add("Gamma");
  d.add("Gamma");
  EXPECT_EQ(d.file_bytes(), "alpha\r\nGamma\r\nGamma\r\n");  // twice, and one line end at the end
  EXPECT_TRUE(d.contains("gamma"));

  // 2000 lines fill the first list; the 2000th word doubles it.
  std::string many;
  for (int i = 1; i <= 1999; ++i) many += "w" + std::to_string(i) + "\r\n";
  d.set_text(many);
  EXPECT_EQ(d.capacity(), 2000);
  d.set_text(many + "w2000\r\n");
  EXPECT_EQ(d.words().size(), 2000u);
  EXPECT_EQ(d.capacity(), 4000);
}

// The order of the suggestions equals that of exchanges of neighbours with a strictly greater distance,
// repeated while a pass exchanged anything, over the list the previous word left.
TEST(SpellWords, SuggestionsKeepTheOrderOfNeighbourExchanges) {
  const std::vector<std::string> dict{"house", "horse", "mouse", "hose", "London", "louse", "houses", "rouse",
                                      "hound", "HOUSE", "douse", "spouse", "ounce", "hours", "Housman"};
  std::string text;
  for (const auto& w : dict) text += w + "\r\n";
  quorvel::Dictionary d;
  d.set_text(text);
  std::vector<std::string> ref = dict;
  for (const char* word : {"housr", "Lonndon", "HOUSR", "mose", "zzzzzzzzz"}) {
    std::vector<int> dist;
    for (const auto& w : ref) dist.push_back(quorvel::LD(w, word));
    for (bool swapped = true; swapped;) {
      swapped = false;
      for (size_t i = 0; i + 1 < ref.size(); ++i)
        if (dist[i] > dist[i + 1]) {
          std::swap(dist[i], dist[i + 1]);
          std::swap(ref[i], ref[i + 1]);
          swapped = true;
        }
    }
    std::vector<std::string> expected;
    for (size_t i = 0; i < ref.size() && expected.size() < 10 && dist[i] < 6; ++i)
      expected.push_back(quorvel::MakeCase(ref[i], quorvel::GetCase(word)));
    EXPECT_EQ(d.suggestions(word), expected) << word;
    EXPECT_EQ(d.words(), ref) << word;
  }
  EXPECT_TRUE(d.suggestions("zzzzzzzzz").empty());  // nothing below distance 6
  EXPECT_EQ(d.suggestions("HOUSR").front(), "HOUSE");
  EXPECT_EQ(d.suggestions("Housr").front(), "House");
  EXPECT_EQ(d.suggestions("Lonndon").front(), "London");
  EXPECT_EQ(d.suggestions("lonndon").front(), "London");
  EXPECT_EQ(d.suggestions("ouse").size(), 10u);
  d.set_text("one\r\ntwo\r\nsix\r\n");
  EXPECT_EQ(d.suggestions("tow").size(), 3u);
}

TEST_F(Spell, DictionaryFiles) {
  // Seeding: the program's dictionaries go where none (or an empty one) is.
  program.write("English.DIC", "house\r\n");
  program.write("German.DIC", "haus\r\n");
  engine.write("German.DIC", "");
  engine.write("Dutch.DIK", "huis\r\n");
  FakeEditor editor("house.\r\n");
  auto f = open(editor);
  EXPECT_EQ(engine.read("English.DIC"), "house\r\n");
  EXPECT_EQ(engine.read("German.DIC"), "haus\r\n");
  EXPECT_EQ(engine.read("Dutch.DIC"), "huis\r\n");  // an update without a dictionary becomes one
  EXPECT_FALSE(fs::exists(engine.path() / "Dutch.DIK"));
  std::vector<std::string> langs = f->languages;
  std::sort(langs.begin(), langs.end());
  EXPECT_EQ(langs, (std::vector<std::string>{"Dutch", "English", "German"}));
  EXPECT_EQ(f->current_language(), "English");
  EXPECT_TRUE(f->unloaded);  // the text holds no unknown word: the end question, answered No
  EXPECT_EQ(boxes.titles(), std::vector<std::string>{"Check from Start?"});

  // An update beside a customised dictionary: Cancel leaves both, Yes merges the missing lines.
  engine.write("English.DIC", "house\r\nmine\r\n");
  engine.write("English.DIK", "HOUSE\r\nnew\r\nmine\r\nsecond\r\n");
  boxes.shown.clear();
  boxes.answers = {Answer::Cancel};
  f = open(editor);
  EXPECT_EQ(engine.read("English.DIC"), "house\r\nmine\r\n");
  EXPECT_TRUE(fs::exists(engine.path() / "English.DIK"));
  boxes.answers = {Answer::No, Answer::No, Answer::Yes};  // No, not deleted after all, then merge
  f = open(editor);
  EXPECT_EQ(engine.read("English.DIC"), "house\r\nmine\r\nnew\r\nsecond\r\n");
  EXPECT_FALSE(fs::exists(engine.path() / "English.DIK"));
  EXPECT_TRUE(f->dictionary().contains("second"));
  // No, then Yes: the update is deleted, the dictionary kept.
  engine.write("English.DIK", "other\r\n");
  boxes.answers = {Answer::No, Answer::Yes};
  f = open(editor);
  EXPECT_FALSE(fs::exists(engine.path() / "English.DIK"));
  EXPECT_FALSE(f->dictionary().contains("other"));

  // No engine folder: the message, and the form unloads.
  quorvel::SpellForm none(ports, editor, (engine.path() / "missing").string(), program.str());
  boxes.shown.clear();
  EXPECT_FALSE(none.load());
  EXPECT_EQ(boxes.titles(), std::vector<std::string>{"Veltrax program Path not Defined!"});
}

TEST_F(Spell, ScanStopsAtUnknownWords) {
  engine.write("English.DIC", "the\r\nhouse\r\nself-made\r\ndon't\r\na/b\r\nw\xF6rd\r\n\xE9" "clair\r\nLondon\r\n");
  struct Case {
    const char* what;
    std::string text;
    long caret;
    std::vector<std::string> stops;  // the words the scan stops at, Ignore pressed at each
    const char* end_text_start;      // how the end question begins
  } cases[] = {
      {"words of the set", "don't self-made a/b W\xD6RD \xC9" "CLAIR house.", 0, {}, "End of text"},
      {"\xE6 ends a word", "hous\xE6the.", 0, {"hous"}, "End of text"},
      {"skipped: two hyphens, digits", "well--known A4 3rd x2 the.", 0, {}, "End of text"},
      {"a lone hyphen is checked", "the - house.", 0, {"-"}, "End of text"},
      {"the last word has nothing after it", "the housr", 0, {}, "End of text"},
      {"three unknown words", "Teh housr is the house.", 0, {"Teh", "housr", "is"}, "End of text"},
      {"from the caret", "housr the housx.", 6, {"housx"}, "You did not start spell checking from the beginning"},
  };
  for (const auto& c : cases) {
    FakeEditor editor(c.text, c.caret);
    boxes.shown.clear();
    boxes.answers = {Answer::No};
    auto f = open(editor);
    std::vector<std::string> stops;
    for (int guard = 0; !f->unloaded && guard < 10; ++guard) {
      stops.push_back(f->not_in_dict);
      EXPECT_EQ(editor.sel_text(), f->not_in_dict) << c.what;
      f->ignore_resume();
    }
    EXPECT_EQ(stops, c.stops) << c.what;
    ASSERT_FALSE(boxes.shown.empty()) << c.what;
    EXPECT_EQ(boxes.shown.back().text.rfind(c.end_text_start, 0), 0u) << c.what << ": " << boxes.shown.back().text;
  }

  // Ignore All and Change All take the word in any letter case; Yes at the end checks the whole text again
  // and forgets both lists.
  FakeEditor editor("teh Teh housr. TEH housr the ", 0);
  boxes.shown.clear();
  boxes.answers = {Answer::Yes, Answer::No};
  auto f = open(editor);
  ASSERT_EQ(f->not_in_dict, "teh");
  f->change_to_edited("the");
  f->change_all();  // teh -> the; the next Teh too, without a stop
  EXPECT_EQ(f->not_in_dict, "housr");
  EXPECT_EQ(editor.text_.substr(0, 8), "the the ");
  f->ignore_all();  // housr, then TEH is replaced by the change-all entry
  EXPECT_EQ(editor.text_, "the the housr. the housr the ");
  // After the end question's Yes both lists are forgotten: housr stops again.
  EXPECT_FALSE(f->unloaded);
  EXPECT_EQ(f->not_in_dict, "housr");
  EXPECT_EQ(editor.sel_start(), 8);
  EXPECT_EQ(f->suggestions.front(), "house");
  f->pick_suggestion("house");
  EXPECT_TRUE(f->change_enabled);
  f->change();
  EXPECT_EQ(editor.text_, "the the house. the housr the ");
  f->cancel();
  EXPECT_TRUE(f->unloaded);
}

TEST_F(Spell, AddedWordsReachTheDictionaryOfTheLoadedLanguage) {
  engine.write("English.DIC", "the\r\n");
  FakeEditor editor("the Dolerite and subangular gravel. ", 0);
  boxes.answers = {};
  auto f = open(editor);
  ASSERT_EQ(f->not_in_dict, "Dolerite");
  f->add_as_is();
  ASSERT_EQ(f->not_in_dict, "and");
  f->add_lowercase();
  ASSERT_EQ(f->not_in_dict, "subangular");
  // The user clicks into the editor: paused, the language box empty; then Cancel saves to English.DIC.
  f->activate();
  f->deactivate();
  EXPECT_TRUE(f->resume);
  EXPECT_EQ(f->language_box, "");
  f->cancel();
  EXPECT_EQ(engine.read("English.DIC"), "the\r\nDolerite\r\nand\r\n");
  EXPECT_EQ(settings.get("Spell", "Language"), "English");
  EXPECT_FALSE(fs::exists(engine.path() / ".DIC"));

  // Edit Dictionary after an added word: the file sorted, then given to the desktop's editor.
  FakeEditor second("zebra apple housr. ", 0);
  f = open(second);
  ASSERT_EQ(f->not_in_dict, "zebra");
  f->add_as_is();
  ASSERT_EQ(f->not_in_dict, "apple");
  f->add_as_is();
  boxes.answers = {Answer::Yes};
  f->edit_dictionary();
  EXPECT_TRUE(f->unloaded);
  EXPECT_EQ(engine.read("English.DIC"), "and\r\napple\r\nDolerite\r\nthe\r\nzebra\r\n");
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv, (std::vector<std::string>{"xdg-open", (engine.path() / "English.DIC").string()}));
}

// Every word of the shipped example and of the editor's skeleton and block templates is in the shipped
// English dictionary, or is a word the check skips: a spell check of them stops nowhere.
TEST_F(Spell, ShippedDictionaryKnowsTheExampleAndTemplates) {
  fs::copy_file(testing_support::source_dir() / "frontend" / "dict" / "English.DIC", program.path() / "English.DIC");
  const std::string example = testing_support::read_file(testing_support::data_dir() / "Examples" / "Examples.TXT");
  std::string templates = quorvel::Skeleton() + "\r\n";
  for (int i = 0; i <= 7; ++i) templates += quorvel::BlockTemplate(i, "") + quorvel::BlockTemplate(i, "x\r\n//");
  for (const std::string& text : {example, templates}) {
    FakeEditor editor(text + "\r\n", 0);
    boxes.shown.clear();
    auto f = open(editor);
    EXPECT_TRUE(f->unloaded) << "stopped at " << f->not_in_dict;
    ASSERT_EQ(boxes.titles(), std::vector<std::string>{"Check from Start?"});
  }
}

TEST(SpellFiles, FailedWriteKeepsTheOldFile) {
  testing_support::TempDir d;
  d.write("English.DIC", "old\r\n");
  {
    testing_support::ScopedFileSizeLimit full(2);  // the write fails, as on a full disk
    EXPECT_NE(quorvel::ReplaceFileContents((d.path() / "English.DIC").string(), "new\r\n"), 0);
  }
  EXPECT_EQ(d.read("English.DIC"), "old\r\n");
}

}  // namespace
