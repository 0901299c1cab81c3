// The prompt file: marker lines, numbered texts, the four menus and the reverse word.
#include <gtest/gtest.h>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "platform/console.h"
#include "engine/frame/frame_fixture.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class PromptsTest : public FrameFixture {
 protected:
  static int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
  void load(const std::string& name) {
    std::string n = name;
    FETCHPRO(n);
  }
};

// The numbered texts, with marker lines written in the ways the reduction accepts.
const char* const kPrompts =
    "Prompt texts of the engine\r\n"
    "001 not yet: before the start marker\r\n"
    " b e g i n = texts follow\r\n"
    "001First\r\n"
    "2 Second\r\n"
    "12Hello\r\n"
    " 40  forty  \r\n"
    "000zero\r\n"
    "abc no number\r\n"
    "-5 negative\r\n"
    "end = menus follow\r\n"
    "099 after the end\r\n";

TEST_F(PromptsTest, Fnstrip) {
  struct Case {
    std::string line, want;
  } cases[] = {
      {"  Ab c = text", "Abc"},
      {"END", "END"},
      {std::string(10, 'a') + " " + std::string(39, 'b'), std::string(10, 'a') + std::string(27, 'b')},
      {"=starts with", ""},
      {" B E G I N", "BEGIN"},
      {"c:\\vlx files\\ = folder = x", "c:\\vlxfiles\\"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FNSTRIP(c.line), c.want) << c.line;
}

TEST_F(PromptsTest, NumberedTexts) {
  dir.write("prompts.eng", kPrompts);
  PROMPT(99) = "kept";
  load("prompts.eng");
  struct Case {
    int n;
    const char* want;
  } cases[] = {{1, "First"}, {2, "econd"}, {12, "ello"}, {40, "forty"}, {99, "kept"}, {0, ""}, {5, ""}};
  for (const auto& c : cases) EXPECT_EQ(PROMPT(c.n), c.want) << c.n;

  // A second file overwrites only the numbers it holds.
  dir.write("prompts.ger", "BEGIN\r\n002Zweite\r\nEND\r\n");
  load("PROMPTS.GER");
  EXPECT_EQ(PROMPT(2), "Zweite");
  EXPECT_EQ(PROMPT(40), "forty");
  EXPECT_EQ(log(), "");
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(PromptsTest, MissingOrBrokenFileStopsAfterOneReport) {
  // Missing: the message and a key, nothing loaded; written down once, and the run ends with 1.
  PROMPT(1) = "old";
  rt::set_exit_code(0);
  load("prompts.xyz");
  EXPECT_EQ(platform::console().row_text(2).substr(0, 29), "File not found : prompts.xyz ");
  EXPECT_EQ(PROMPT(1), "old");
  EXPECT_NE(log().find("getpromp.cpp @   File not found : prompts.xyz\r\n"), std::string::npos) << log();
  load("prompts.xyz");
  EXPECT_EQ(lines(log()), 1) << log();
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
  clear_log();

  // No start marker, or no end marker: one "input past end" line that names the file and the line it
  // ended at; the texts read so far stay.
  struct Case {
    const char* name;
    const char* text;
    const char* first;
    const char* logged;
  } cases[] = {{"no begin", "001One\r\n002Two\r\n", "old", "getpromp.cpp @ broken.eng line 2  Error  62 -Input past end"},
               {"no end", "BEGIN\r\n001One\r\n002Two", "One", "getpromp.cpp @ broken.eng line 3  Error  62 -Input past end"},
               {"empty", "", "old", "getpromp.cpp @ broken.eng  Error  62 -Input past end"}};
  for (const auto& c : cases) {
    clear_log();
    PROMPT(1) = "old";
    dir.write("broken.eng", c.text);
    load("broken.eng");
    EXPECT_EQ(PROMPT(1), c.first) << c.name;
    EXPECT_EQ(lines(log()), 1) << c.name;
    EXPECT_NE(log().find(c.logged), std::string::npos) << log();
  }
  EXPECT_TRUE(box.texts.empty());
  EXPECT_FALSE(rt::is_open(1));
}

// Menus of 3, 5, 2 and 4 items; a 0 count before menu 2 is skipped; items on one line or spread over
// several lines, quoted fields with commas.
const char* const kMenus =
    "BEGIN\r\n001x\r\nEND\r\n"
    "3\r\n"
    "Prompts,PROMPTS.ENG,prompt file\r\n"
    "Vocab,PROVOCAB.ENG,vocabulary\r\n"
    "Paper, A4 , size\r\n"
    "0\r\n"
    "5\r\n"
    "m2a,v,n\r\nm2b,v,n\r\nm2c,v,n\r\nm2d,v,n\r\n"
    "m2e\r\nvalue e\r\nnote e\r\n"
    "2\r\n"
    "Order,0,page order\r\n"
    "\"Log pages\",\"Logs first, or REVERSE.\",\"0 or 1, or the word\"\r\n"
    "4\r\n"
    "m4a,v,n\r\nm4b,v,n\r\nm4c,v,n\r\nm4d,v,last\r\n";

TEST_F(PromptsTest, Menus) {
  dir.write("PROMPTS.ENG", kMenus);
  PROMPTNAME = "prompts.eng";
  REVERSEWORD = "old";
  FETCHMENUS();
  const int first[] = {0, 3, 8, 10}, count[] = {3, 5, 2, 4};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(MENUFIRST(k), first[k - 1]) << k;
    EXPECT_EQ(MENUCOUNT(k), count[k - 1]) << k;
  }
  struct Case {
    int i;
    const char* f1;
    const char* f2;
    const char* f3;
  } cases[] = {{1, "Prompts", "PROMPTS.ENG", "prompt file"},
               {3, "Paper", "A4 ", "size"},
               {8, "m2e", "value e", "note e"},
               {10, "Log pages", "Logs first, or REVERSE.", "0 or 1, or the word"},
               {14, "m4d", "v", "last"},
               {15, "", "", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(MENUITEM1(c.i), c.f1) << c.i;
    EXPECT_EQ(MENUITEM2(c.i), c.f2) << c.i;
    EXPECT_EQ(MENUITEM3(c.i), c.f3) << c.i;
  }
  EXPECT_EQ(REVERSEWORD, "REVERSE");
  EXPECT_EQ(log(), "");

  // Without a word in capitals the reverse word keeps its value.
  std::string text = kMenus;
  text.replace(text.find("REVERSE."), 8, "reverse.");
  dir.write("PROMPTS.ENG", text);
  FETCHMENUS();
  EXPECT_EQ(REVERSEWORD, "REVERSE");
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(PromptsTest, ShortOrOverfullMenusStopAfterOneReport) {
  PROMPTNAME = "prompts.eng";
  std::string many = "END\r\n40\r\n";
  for (int i = 1; i <= 40; ++i) many += "item" + std::to_string(i) + ",v,n\r\n";
  struct Case {
    const char* name;
    std::string text;
    int items;   // items begun
    int error;   // the one error logged
  } cases[] = {{"short menu", "END\r\n3\r\na,b,c\r\nd,e\r\n", 2, 62},
               {"too few menus", "END\r\n1\r\na,b,c\r\n0\r\n\r\n", 1, 62},
               {"no end marker", "BEGIN\r\n001x\r\n", 0, 62},
               {"more than 35 items", many, 35, 9}};
  for (const auto& c : cases) {
    clear_log();
    for (int i = 1; i <= 35; ++i) MENUITEM1(i).clear();
    dir.write("prompts.eng", c.text);
    FETCHMENUS();
    int items = 0;
    for (int i = 1; i <= 35; ++i) items += !MENUITEM1(i).empty();
    EXPECT_EQ(items, c.items) << c.name;
    EXPECT_EQ(lines(log()), 1) << c.name << ": " << log();
    EXPECT_NE(log().find("Error  " + std::to_string(c.error) + " "), std::string::npos) << c.name << log();
  }
  EXPECT_EQ(MENUITEM1(35), "item35");
  EXPECT_TRUE(box.texts.empty());

  // A file that cannot be opened: one report.
  clear_log();
  PROMPTNAME = "gone.eng";
  FETCHMENUS();
  EXPECT_EQ(lines(log()), 1);
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(PromptsTest, StartupLoadsDefaultTextsOnly) {
  dir.write("prompts.eng", kMenus);
  STARTUP();
  EXPECT_EQ(PROMPT(1), "x");
  EXPECT_TRUE(PROMPTNAME.empty());
  EXPECT_EQ(MENUCOUNT(1), 0);  // the menus wait for the first SET file
}

}  // namespace
