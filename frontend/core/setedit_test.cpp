// The SET editor's model without a window: the template, loading, rebuilding and saving item lines,
// the old second block, the logo matrix line, the checks, the font codes, the millimetre boxes, the
// borehole-log option dialogs and the logo tab's transformations.
#include "setedit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "globals.h"
#include "mainform.h"
#include "setbhlog.h"
#include "testing/fakes.h"
#include "testing/standin.h"
#include "testsupport.h"
#include "tools/embedded_data.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

std::vector<std::string> split_crlf(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t from = 0; from < bytes.size();) {
    size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

std::string join_crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

std::vector<std::string> template_lines() { return split_crlf(std::string(embedded_data::kStandardSet)); }

std::string pad(std::string s, size_t n) {
  s.resize(std::max(n, s.size()), ' ');
  return s;
}

struct SetEditFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedFileDialog files;
  fakes::ScriptedInputBox input;
  fakes::RecordingLauncher launcher;
  Ports ports;
  fs::path engine;
  std::unique_ptr<MainForm> main;
  std::unique_ptr<SetEditForm> ed;

  SetEditFixture() {
    reset_globals();
    engine = home.path() / "vlx7000";
    fakes::write_standin_engine(engine, "7022");
    // The files the standard SET file names, as the engine folder holds them (in their own letter case).
    for (const char* name : {"prompts.eng", "PROVOCAB.ENG", "CONVOCAB.ENG", "LOGO0.PDF"})
      fs::copy_file(testing_support::data_dir() / name, engine / name);
    fs::create_directory(engine / "LJ4");
    fs::create_directory(home.path() / "VLXFILES");
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.files = &files;
    ports.inputbox = &input;
    ports.launcher = &launcher;
    main = std::make_unique<MainForm>(ports);
    main->txtVeltraxFolder = folder();
    ed = std::make_unique<SetEditForm>(ports, *main);
  }
  std::string folder() const { return engine.string() + "/"; }
  void open_template(const std::string& name) {
    ed->SetLoadDefault(folder() + name);
    ASSERT_TRUE(ed->SetDataLoad());
  }
  void open_file(const std::string& name, const std::vector<std::string>& lines) {
    testing_support::write_file(engine / name, join_crlf(lines));
    ASSERT_TRUE(ed->SetFileRead(folder() + name));
    ASSERT_TRUE(ed->SetDataLoad());
  }
  std::vector<std::string> saved(const std::string& name) const {
    return split_crlf(testing_support::read_file(engine / name));
  }
  void edit_item(int k, const std::string& value) {
    ed->txtItem[static_cast<size_t>(k)] = value;
    ed->txtItem_Change(k);
  }
};

TEST_F(SetEditFixture, TemplateFillsTheControls) {
  open_template("NEW.SET");
  EXPECT_EQ(ed->LastLine(), 115);
  EXPECT_EQ((std::vector<long>{ed->FirstBegin, ed->FirstEnd, ed->SecondBegin, ed->SecondEnd}),
            (std::vector<long>{7, 42, 97, 111}));
  const std::vector<std::string> items = {"ENG", "ENG", "LJ4", "C:\\VLXFILES", "1",     "A4", "0",   "0",
                                          "0",   "0",   "300", "300",         "110",   "575", "0",  "790",
                                          "4",   "LOGO0", "0", "0",           "0",     "6"};
  for (int k = 0; k < kFirstItems; ++k) EXPECT_EQ(ed->txtItem[static_cast<size_t>(k)], items[static_cast<size_t>(k)]) << k;
  const std::vector<std::string> chars = {"0", "ENG", "`", "~", "\\", "^", "{", "}", "\"", "$", "#", "_", "|"};
  for (int k = 0; k < kSecondItems; ++k) EXPECT_EQ(ed->txtChar[static_cast<size_t>(k)], chars[static_cast<size_t>(k)]) << k;
  EXPECT_EQ(ed->optPgSeq, 0);
  EXPECT_EQ(ed->txtmm[10], "25.4");  // 300 dots
  EXPECT_EQ(ed->txtmm[16], "16.9");  // 4 characters at 6 per inch
  EXPECT_EQ(ed->font[1].txtFont, "10U, Proportional 10 pt Upright Regular Helvetica");
  EXPECT_TRUE(ed->font[2].chkBold);
  EXPECT_EQ(ed->font[3].cboFontSize, "8");
  EXPECT_TRUE(ed->font[3].chkItalic);
  // The template's description is made up, which counts as an edit: OK writes the new file.
  EXPECT_EQ(ed->txtDescription, "A4 page for Profile, then Borelog");
  EXPECT_TRUE(ed->SettingsChanged);
  EXPECT_EQ(ed->Caption(), "Editing SET File: NEW.SET");
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(SetEditFixture, TemplateColumnsAreThoseOfTheStandardFile) {
  auto lines = template_lines();
  ASSERT_EQ(lines.size(), 116u);
  for (size_t i = 8; i <= 40; ++i) EXPECT_EQ(lines[i].find('='), 40u) << i;
  for (size_t i = 98; i <= 110; ++i) EXPECT_EQ(lines[i].find('='), i <= 99 ? 36u : i == 106 ? 34u : 35u) << i;
  EXPECT_EQ(lines[114], "END OF STANDARD.SET");
}

TEST_F(SetEditFixture, TemplateSavedUnchangedUnderANewName) {
  open_template("STANDARD.SET");
  files.answers = {folder() + "COPY.SET"};
  ASSERT_TRUE(ed->SetFileSave(1));
  EXPECT_TRUE(box.shown.empty()) << box.shown[0].title;
  auto before = template_lines();
  auto after = saved("COPY.SET");
  ASSERT_EQ(after.size(), 116u);
  EXPECT_EQ(after[1], folder() + "COPY.SET  A4 page for Profile, then Borelog");
  EXPECT_EQ(after[8], pad("PROMPTS.ENG", 40) + "= Default Prompts file extension");
  EXPECT_EQ(after[26], pad("-200  0", 40) + "= Default LOGO X reference point.");
  EXPECT_EQ(after[27], pad("100   0", 40) + "= Default LOGO Y reference point.");
  EXPECT_EQ(after[114], "END OF COPY.SET");
  // Every other line, the "=" columns of both blocks among them, stays as it was; no matrix line is added.
  for (size_t i = 0; i < after.size(); ++i)
    if (i != 1 && i != 8 && i != 26 && i != 27 && i != 114) {
      EXPECT_EQ(after[i], before[i]) << i;
    }
  EXPECT_EQ(ed->Caption(), "Saved SET File: COPY.SET");
  EXPECT_EQ(main->cboSetupFile.items.front(), "COPY.SET");
  EXPECT_FALSE(ed->SettingsChanged);
}

TEST_F(SetEditFixture, ValuesKeepTheirLengthAndTheirLetterCase) {
  const std::string folder60 = "C:\\project files\\site investigation\\final sheets for print 2";
  ASSERT_EQ(folder60.size(), 60u);
  auto lines = template_lines();
  lines[11] = folder60 + " = Default path for Print-to-File";
  lines[13] = "a4                                      = page size";
  lines[25] = "LOGOJ logo0                             = Default LOGO macro ID.";
  open_file("JOB.SET", lines);
  EXPECT_EQ(ed->txtItem[3], folder60);
  EXPECT_EQ(ed->txtItem[5], "A4");
  EXPECT_EQ(ed->txtItem[17], "logo0");
  edit_item(10, "301");
  box.answers = {Answer::Ignore};  // the folder and the logo do not exist
  ASSERT_TRUE(ed->SetFileSave(0));
  auto after = saved("JOB.SET");
  EXPECT_EQ(after[11], lines[11]);
  EXPECT_EQ(after[13], pad("A4", 40) + "= page size");
  EXPECT_EQ(after[25], lines[25]);
  EXPECT_EQ(after[18], pad("301", 40) + "= Head of page in Dots");

  // A long value typed over a short one moves the "=" to one blank after it, and reads back whole.
  open_template("LONG.SET");
  edit_item(3, folder60);
  edit_item(5, "a3");
  box.answers = {Answer::Ignore};
  ASSERT_TRUE(ed->SetFileSave(0));
  after = saved("LONG.SET");
  EXPECT_EQ(after[11], folder60 + " = Default path for Print-to-File");
  EXPECT_EQ(after[13], pad("A3", 40) + "= page size");
}

TEST_F(SetEditFixture, LongFilesLoadAndSaveWhole) {
  auto lines = template_lines();
  for (int i = 0; lines.size() < 200; ++i) lines.push_back("closing note " + std::to_string(i));
  open_file("LONG.SET", lines);
  EXPECT_EQ(ed->LastLine(), 199);
  edit_item(21, "8");
  ASSERT_TRUE(ed->SetFileSave(0));
  auto after = saved("LONG.SET");
  ASSERT_EQ(after.size(), 200u);
  EXPECT_EQ(after[199], lines[199]);
  EXPECT_EQ(after[29], pad("8", 40) + "= Lines per inch line spacing");
}

TEST_F(SetEditFixture, OldSecondBlocksAreUpgradedAndBlankItemsKept) {
  struct Case {
    const char* what;
    std::vector<size_t> removed;  // template lines left out
    bool blank_last;              // item 12 present but blank
    bool upgraded;
  } cases[] = {
      {"12 items", {110}, false, true},
      {"11 items", {109, 110}, false, true},
      {"13 items, the last blank", {}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    box.shown.clear();
    auto lines = template_lines();
    for (auto it = c.removed.rbegin(); it != c.removed.rend(); ++it) lines.erase(lines.begin() + static_cast<long>(*it));
    if (c.blank_last) lines[110] = "";
    open_file("OLD.SET", lines);
    EXPECT_EQ(box.titles() == std::vector<std::string>{"File will be upgraded when saved."}, c.upgraded);
    EXPECT_EQ(ed->SecondEnd, 111);
    EXPECT_EQ(ed->txtChar[12], c.upgraded ? "|" : "");
    ed->txtDescription_Change();
    ASSERT_TRUE(ed->SetFileSave(0));
    auto after = saved("OLD.SET");
    ASSERT_EQ(after.size(), 116u);
    // Upgraded items stand with their "=" in column 37; a kept blank item keeps its line's place.
    EXPECT_EQ(after[109], c.upgraded ? "_" + std::string(35, ' ') + "= Character to Underline a Word (vlx6000)"
                                     : template_lines()[109]);
    EXPECT_EQ(after[110], (c.upgraded ? "|" : " ") + std::string(35, ' ') + "= Character to Omit Soil Symbol (vlx6000)");
    EXPECT_EQ(after[111], "END");
    EXPECT_EQ(after[114], "END OF OLD.SET");
  }
}

TEST_F(SetEditFixture, LogoMatrixLine) {
  open_template("LOGO.SET");
  EXPECT_FALSE(ed->LogoChanged());  // no matrix line, boxes 1 0 0 1 0 0
  for (auto& t : ed->txtLogo) t.clear();
  EXPECT_FALSE(ed->LogoChanged());  // no matrix line, empty boxes
  ed->txtLogo = {"", "0.5", "0", "0", "0.5", "10", "20"};
  EXPECT_TRUE(ed->LogoChanged());
  ASSERT_TRUE(ed->SetFileSave(0));
  auto after = saved("LOGO.SET");
  ASSERT_EQ(after.size(), 117u);
  EXPECT_EQ(after[42], "END");
  EXPECT_EQ(after[43], pad("0.5 0 0 0.5 10 20 cm ", 40) + "= Logo transform matrix (1 0 0 1 0 0 = Unchanged)");
  EXPECT_EQ(after[98], "BEGIN");
  EXPECT_EQ(after[112], "END");
  EXPECT_EQ((std::vector<long>{ed->SecondBegin, ed->SecondEnd}), (std::vector<long>{98, 112}));
  EXPECT_FALSE(ed->LogoChanged());
  // A second change rewrites the line in place.
  ed->txtLogo[5] = "12";
  ASSERT_TRUE(ed->SetFileSave(0));
  after = saved("LOGO.SET");
  ASSERT_EQ(after.size(), 117u);
  EXPECT_EQ(after[43].substr(0, 22), "0.5 0 0 0.5 12 20 cm  ");

  // A hand-made line with runs of blanks reads field by field.
  auto lines = template_lines();
  lines.insert(lines.begin() + 43, "1  0 0 1   5.5 6 cm = mine");
  open_file("HAND.SET", lines);
  EXPECT_EQ((std::vector<std::string>(ed->txtLogo.begin() + 1, ed->txtLogo.end())),
            (std::vector<std::string>{"1", "0", "0", "1", "5.5", "6"}));
  EXPECT_FALSE(ed->LogoChanged());
}

TEST_F(SetEditFixture, DescriptionAndClosingLineNameTheFile) {
  testing_support::write_file(engine / "MY.SET", std::string(embedded_data::kStandardSet));
  main->cboSetupFile.text = "MY.SET";
  main->open_set_editor = [this](const std::string& name, bool new_file) {
    EXPECT_FALSE(new_file);
    ASSERT_TRUE(ed->SetFileRead(name));
    ASSERT_TRUE(ed->SetDataLoad());
  };
  main->cmdEditSetupFile_Click();
  EXPECT_EQ(ed->SetDisplayName, "MY.SET");
  ed->txtDescription = "Borehole logs on A3";
  ed->txtDescription_Change();
  ed->cmdOK_Click();
  EXPECT_TRUE(ed->closed);
  EXPECT_EQ(main->Tag, "");
  auto after = saved("MY.SET");
  EXPECT_EQ(after[1], folder() + "MY.SET  Borehole logs on A3");
  EXPECT_EQ(after[114], "END OF MY.SET");
}

// Lines the console editor writes are kept: the font folder (item 23) follows item 2 only where the
// two agreed or it had none, and a name line that names the file keeps its name as it stands.
TEST_F(SetEditFixture, KeepsTheConsoleEditorsFontFolderAndNameLine) {
  fs::create_directory(engine / "LJ5");
  constexpr size_t kItem2 = 10, kItem23 = 31;
  struct Case {
    const char* what;
    std::string name_line, font_line;
    std::string name_after, font_after;
  } cases[] = {
      {"in step with item 2", "MY.SET", pad("LJ4", 40) + "= Path to Font files", "MY.SET  Logs",
       pad("LJ5", 40) + "= Path to Font files"},
      {"a folder of its own", "MY.SET", pad("C:\\FONTS", 40) + "= Path to Font files", "MY.SET  Logs",
       pad("C:\\FONTS", 40) + "= Path to Font files"},
      {"none", "other/THEIR.SET  theirs", pad("", 40) + "= Path to Font files", folder() + "MY.SET  Logs",
       pad("LJ5", 40) + "= Path to Font files"},
  };
  for (const Case& c : cases) {
    auto lines = template_lines();
    lines[1] = c.name_line;
    lines[kItem23] = c.font_line;
    open_file("MY.SET", lines);
    ed->txtDescription = "Logs";
    ed->txtDescription_Change();
    edit_item(2, "LJ5");
    ASSERT_TRUE(ed->SetFileSave(0)) << c.what;
    const auto after = saved("MY.SET");
    EXPECT_EQ(after[1], c.name_after) << c.what;
    EXPECT_EQ(after[kItem2], pad("LJ5", 40) + "= Printer Type") << c.what;
    EXPECT_EQ(after[kItem23], c.font_after) << c.what;
  }
  EXPECT_TRUE(box.shown.empty()) << box.shown[0].text;
}

TEST_F(SetEditFixture, EditSetOffersTheTemplateForAMissingName) {
  std::vector<std::pair<std::string, bool>> opened;
  main->open_set_editor = [&](const std::string& name, bool new_file) { opened.push_back({name, new_file}); };
  main->cboSetupFile.text = " JOB.SET ";
  box.answers = {Answer::No};
  main->cmdEditSetupFile_Click();
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(main->cboSetupFile_select);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Create NEW Setup File?");
  EXPECT_NE(box.shown[0].text.find(folder() + "JOB.SET"), std::string::npos);
  box.answers = {Answer::Yes};
  main->cmdEditSetupFile_Click();
  main->cboSetupFile.text = "";
  testing_support::write_file(engine / "standard.set", std::string(embedded_data::kStandardSet));
  main->cmdEditSetupFile_Click();  // an empty box edits STANDARD.SET, found in any letter case
  EXPECT_EQ(opened, (std::vector<std::pair<std::string, bool>>{{folder() + "JOB.SET", true},
                                                               {folder() + "STANDARD.SET", false}}));
}

TEST_F(SetEditFixture, ValuesThatALineCannotHoldAreRefused) {
  struct Case {
    std::function<void(SetEditForm&)> edit;
    std::string focus;
    int tab;
  } cases[] = {
      {[](SetEditForm& e) { e.txtItem[3] = "C:\\A=B"; }, "txtItem3", 0},
      {[](SetEditForm& e) { e.txtItem[10] = "300\n400"; }, "txtItem10", 1},
      {[](SetEditForm& e) { e.txtChar[4] = "\\\r\n"; }, "txtChar4", 2},
      {[](SetEditForm& e) { e.txtDescription = "two\nlines"; }, "txtDescription", 0},
  };
  for (const Case& c : cases) {
    box.shown.clear();
    open_template("BAD.SET");
    c.edit(*ed);
    EXPECT_FALSE(ed->SetFileSave(0));
    EXPECT_EQ(box.titles(), std::vector<std::string>{"Value not accepted!"});
    EXPECT_EQ(ed->focus, c.focus);
    EXPECT_EQ(ed->SSTab1, c.tab);
    EXPECT_FALSE(fs::exists(engine / "BAD.SET"));
  }
}

TEST_F(SetEditFixture, AFailedWriteLeavesTheOldFile) {
  const std::string old = std::string(embedded_data::kStandardSet);
  testing_support::write_file(engine / "KEEP.SET", old);
  ASSERT_TRUE(ed->SetFileRead(folder() + "KEEP.SET"));
  ASSERT_TRUE(ed->SetDataLoad());
  edit_item(10, "250");
  {
    testing_support::ScopedFileSizeLimit full(100);  // the write fails, as on a full disk
    EXPECT_FALSE(ed->SetFileSave(0));
  }
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Error!"});
  EXPECT_EQ(testing_support::read_file(engine / "KEEP.SET"), old);
  EXPECT_TRUE(ed->SettingsChanged);
}

TEST_F(SetEditFixture, AFileWithoutItsMarkersIsNotEdited) {
  auto lines = template_lines();
  lines[111] = "The end";
  bool closed = false;
  ed->on_close = [&] { closed = true; };
  testing_support::write_file(engine / "CUT.SET", join_crlf(lines));
  ASSERT_TRUE(ed->SetFileRead(folder() + "CUT.SET"));
  EXPECT_FALSE(ed->SetDataLoad());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "File can not be edited!");
  EXPECT_NE(box.shown[0].text.find("Second 'END' Line not Found!"), std::string::npos);
  EXPECT_TRUE(closed);
}

TEST_F(SetEditFixture, ClosingAsksAboutChangesAndRunHandsBackRun) {
  open_template("Q.SET");
  box.answers = {Answer::Cancel};
  ed->cmdCancel_Click();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Closing SET File Editor (Save Now to keep Changes!)");
  EXPECT_EQ(box.shown[0].text, "Do you want to Save your settings changes to\n" + folder() + "Q.SET ?");
  EXPECT_FALSE(ed->closed);
  ed->txtLogo[1] = "2";
  box.answers = {Answer::No};
  ed->cmdCancel_Click();
  EXPECT_NE(box.shown[1].text.find("logo transformation"), std::string::npos);
  EXPECT_TRUE(ed->closed);
  EXPECT_FALSE(fs::exists(engine / "Q.SET"));

  auto run = std::make_unique<SetEditForm>(ports, *main);
  run->SetLoadDefault(folder() + "R.SET");
  ASSERT_TRUE(run->SetDataLoad());
  run->cmdRun_Click();
  EXPECT_TRUE(run->closed);
  EXPECT_EQ(main->Tag, "RUN");
  EXPECT_TRUE(fs::exists(engine / "R.SET"));
}

TEST_F(SetEditFixture, ChecksAskAbortRetryIgnore) {
  struct Case {
    std::string what;
    std::function<void(SetEditForm&)> edit;
    std::vector<Answer> answers;
    bool result;
    std::vector<std::string> first_lines;  // the boxes' texts up to the line end
    std::string focus;
  } cases[] = {
      {"all present", [](SetEditForm&) {}, {}, true, {}, ""},
      {"abort at the first",
       [](SetEditForm& e) { e.txtItem[0] = "XYZ", e.txtItem[17] = "LOGO9"; },
       {Answer::Abort},
       false,
       {"The Default Prompts file " + folder() + "PROMPTS.XYZ does not exist!"},
       "txtItem0"},
      {"retry reports the next",
       [](SetEditForm& e) { e.txtItem[0] = "XYZ", e.txtItem[17] = "LOGO9"; },
       {Answer::Retry, Answer::Retry},
       false,
       {"The Default Prompts file " + folder() + "PROMPTS.XYZ does not exist!",
        "The Default LOGO File " + folder() + "LOGO9.PDF does not exist!"},
       "txtItem17"},
      {"ignore saves",
       [](SetEditForm& e) { e.txtItem[0] = "XYZ", e.txtItem[17] = "LOGO9"; },
       {Answer::Ignore},
       true,
       {"The Default Prompts file " + folder() + "PROMPTS.XYZ does not exist!"},
       "txtItem0"},
      {"each conversion vocabulary",
       [](SetEditForm& e) { e.txtChar[1] = "ENG, NL"; },
       {Answer::Retry},
       false,
       {"The Conversion Vocabulary File " + folder() + "CONVOCAB.NL does not exist!"},
       "txtChar1"},
      {"the print-to-file folder on drive C:",
       [this](SetEditForm&) { fs::remove(home.path() / "VLXFILES"); },
       {Answer::Retry},
       false,
       {"The Default path for Print-to-File C:\\VLXFILES does not exist!"},
       "txtItem3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    box.shown.clear();
    box.answers.assign(c.answers.begin(), c.answers.end());
    open_template("C.SET");
    ed->SSTab1 = 3;
    ed->focus.clear();
    c.edit(*ed);
    EXPECT_EQ(ed->CheckDataOK(), c.result);
    std::vector<std::string> firsts;
    for (const Message& m : box.shown) {
      EXPECT_EQ(m.title, "Fix Error in SET File Data?");
      EXPECT_EQ(m.buttons, Buttons::AbortRetryIgnore);
      firsts.push_back(m.text.substr(0, m.text.find('\n')));
    }
    EXPECT_EQ(firsts, c.first_lines);
    EXPECT_EQ(ed->focus, c.focus);
    if (!c.first_lines.empty()) {
      EXPECT_EQ(ed->SSTab1, 0);
    }
  }
}

TEST_F(SetEditFixture, MillimetreBoxesAndCompressColour) {
  open_template("MM.SET");
  struct Case {
    bool mm;  // typed into the millimetre box
    int item;
    std::string typed, other;
  } cases[] = {
      {false, 10, "254", "21.5"}, {true, 6, "10", "118"},   {false, 16, "6", "25.4"},
      {true, 16, "25.4", "6"},    {false, 19, "-300", "-25.4"}, {true, 14, "x", "0"},
  };
  for (const Case& c : cases) {
    auto k = static_cast<size_t>(c.item);
    if (c.mm) {
      ed->txtmm[k] = c.typed;
      ed->txtmm_Change(c.item);
      EXPECT_EQ(ed->txtItem[k], c.other) << c.item;
      EXPECT_EQ(ed->txtmm[k], c.typed) << "no echo into the box typed in";
    } else {
      ed->txtItem[k] = c.typed;
      ed->txtItem_Change(c.item);
      EXPECT_EQ(ed->txtmm[k], c.other) << c.item;
    }
  }
  struct Colour {
    std::string code;
    BoxColour colour;
  } colours[] = {{"859", BoxColour::Normal}, {"900", BoxColour::Yellow}, {"1199", BoxColour::Yellow},
                 {"1200", BoxColour::Red}};
  for (const Colour& c : colours) {
    edit_item(20, c.code);
    EXPECT_EQ(ed->txtItem20_colour, c.colour) << c.code;
  }
}

TEST(SetFonts, DecodeTheCodes) {
  struct Case {
    std::string code;
    std::string description, face, size, symbol_set;
    bool bold, italic;
  } cases[] = {
      {"/027(10U/027(s1p10v0s0b4148T", "10U, Proportional 10 pt Upright Regular Helvetica", "Helvetica", "10",
       "10U - PC-8: United Kingdom", false, false},
      {"/027(10U/027(s1p10v0s3b4148T", "10U, Proportional 10 pt Upright Bold Helvetica", "Helvetica", "10",
       "10U - PC-8: United Kingdom", true, false},
      {"/027)10U/027)s1p8v1s0b4148T", "10U, Proportional 8 pt Italic Regular Helvetica", "Helvetica", "8",
       "10U - PC-8: United Kingdom", false, true},
      {"/027(19U/027(s1p12v0s4b4101T", "19U, Proportional 12 pt Upright Extra-Bold Times", "Times", "12", "19U", true,
       false},
      {"/027(12U/027(s0p#h10v0s0b4099T", "12U, Fixed spacing # CPI 10 pt Upright Regular Courier", "Courier", "10",
       "12U - CP 850 Western Europe", false, false},
      {"/027(10U/027(s0p16.67h8.5v0s1b4102T", "10U, Fixed spacing 16.67 CPI 8.5 pt Upright Semi-Bold Letter Gothic (Courier*)",
       "Letter Gothic (Courier*)", "8.5", "10U - PC-8: United Kingdom", false, false},
      {"/027(10U/027(s1p10v0s0b5555T", "10U, Proportional 10 pt Upright Regular 5555 Typeface", "5555 Typeface", "10",
       "10U - PC-8: United Kingdom", false, false},
      // Broken codes leave the controls as they were.
      {"(10U/027(s1p10v0s0b4148T", "/027 expected at start", "Times", "14", "11U - PC-8: Danish-Norwegian", true, true},
      {"/027(10U(s1p10v", "/027 expected next", "Times", "14", "10U - PC-8: United Kingdom", true, true},
      {"/027(10U/027&k2G", "10U, Unknown code &k2G", "Times", "14", "10U - PC-8: United Kingdom", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    FontControls f;
    f.cboFont.text = "Times";
    f.cboFontSize = "14";
    f.cboSymbolSet.text = "11U - PC-8: Danish-Norwegian";
    f.chkBold = f.chkItalic = true;
    FontLoad(c.code, f);
    EXPECT_EQ(f.txtFont, c.description);
    EXPECT_EQ(f.cboFont.text, c.face);
    EXPECT_EQ(f.cboFontSize, c.size);
    EXPECT_EQ(f.cboSymbolSet.text, c.symbol_set);
    EXPECT_EQ(f.chkBold, c.bold);
    EXPECT_EQ(f.chkItalic, c.italic);
  }
  FontControls added;
  FontLoad("/027(19U/027(s1p10v0s0b5555T", added);
  EXPECT_EQ(added.cboSymbolSet.items.back(), "19U");
  EXPECT_EQ(added.cboFont.items.back(), "5555 Typeface");
  EXPECT_EQ(added.cboFont.index, 3);
}

TEST(SetFonts, EncodeTheControls) {
  // The template's three codes come back from their own controls.
  for (const auto& [i, code] : std::vector<std::pair<int, std::string>>{{1, "/027(10U/027(s1p10v0s0b4148T"},
                                                                         {2, "/027(10U/027(s1p10v0s3b4148T"},
                                                                         {3, "/027)10U/027)s1p8v1s0b4148T"}}) {
    FontControls f;
    FontLoad(code, f);
    EXPECT_EQ(FontCode(f, i), code);
  }
  struct Case {
    std::string face, size, symbol_set;
    bool bold, italic;
    int index;
    std::string code, metric;
  } cases[] = {
      {"Helvetica", "10", "10U - PC-8: United Kingdom", false, false, 1, "/027(10U/027(s1p10v0s0b4148T", "UNIMU10U.MET"},
      {"Times", "12", "17U - CP 852 Central Europe", true, true, 2, "/027(17U/027(s1p12v1s3b4101T", "CGTBI17U.MET"},
      {"Courier", " 9 ", "10U - PC-8: United Kingdom", false, false, 1, "/027(10U/027(s0p#h9v0s0b4099T", "COUMU10U.MET"},
      {"Letter Gothic (Courier*)", "8", "19U", false, true, 3, "/027)19U/027)s0p#h8v1s0b4099T", "COUMI19U.MET"},
      {"Albertus (Helvetica*)", "10", "10U - PC-8: United Kingdom", true, false, 2, "/027(10U/027(s1p10v0s3b4148T",
       "UNIBU10U.MET"},
  };
  for (const Case& c : cases) {
    FontControls f;
    f.cboFont.text = c.face;
    f.cboFontSize = c.size;
    f.cboSymbolSet.text = c.symbol_set;
    f.chkBold = c.bold;
    f.chkItalic = c.italic;
    EXPECT_EQ(FontCode(f, c.index), c.code) << c.face;
    EXPECT_EQ(FontMetricFile(f), c.metric) << c.face;
  }
}

TEST_F(SetEditFixture, ChangedFontsAreWrittenOthersKept) {
  auto lines = template_lines();
  lines[37] = "/027)10U/027)s1p8v1s0b4148T/027&k2S      =    codes to set font as secondary";
  open_file("F.SET", lines);
  ed->font[2].cboFont.text = "Times";
  ed->font[2].cboFontSize = "12";
  ed->font_Change(2);
  // The description follows at once, as the next opening would read the font.
  EXPECT_NE(ed->font[2].txtFont.find("12 pt"), std::string::npos) << ed->font[2].txtFont;
  EXPECT_NE(ed->font[2].txtFont.find("Times"), std::string::npos) << ed->font[2].txtFont;
  ASSERT_TRUE(ed->SetFileSave(0));
  auto after = saved("F.SET");
  EXPECT_EQ(after[33], lines[33]);
  EXPECT_EQ(after[34], pad("CGTBU10U.MET", 40) + "= FONT-2 Cpi or filename");
  EXPECT_EQ(after[35], pad("/027(10U/027(s1p12v0s3b4101T", 40) + "=    codes to set font-2 as primary");
  EXPECT_EQ(after[37], lines[37]);  // an unchanged font keeps what the editor cannot express
}

TEST(SetBhLog, CompressDialog) {
  fakes::ScriptedMessageBox box;
  Ports ports;
  ports.msgbox = &box;
  struct Load {
    std::string item;
    int layout;
    std::string margin, columns;
  } loads[] = {{"603", 2, "600", "3"}, {"600", 1, "600", "0"}, {"0", 0, "0", "0"}, {"", 0, "0", "0"}, {"1205", 2, "1200", "5"}};
  for (const Load& l : loads) {
    CompressDialog d(ports);
    d.Form_Load(l.item);
    EXPECT_EQ(d.opt2page, l.layout) << l.item;
    EXPECT_EQ(d.txtLMarg, l.margin) << l.item;
    EXPECT_EQ(d.txtColumns, l.columns) << l.item;
    EXPECT_EQ(d.cmdOK_Click().value_or("?"), l.item.empty() ? "0" : l.item);
  }
  struct Ok {
    int layout;
    std::string margin, columns, code;
  } oks[] = {{2, "155", "4", "164"}, {2, "145", "4", "154"}, {2, "600", "0", "601"}, {1, "45", "3", "150"},
             {0, "600", "3", "0"},   {2, "600", "1x", ""},      {2, "600", "12", ""}, {2, "600", "9", "609"}};
  for (const Ok& o : oks) {
    box.shown.clear();
    CompressDialog d(ports);
    d.Form_Load("0");
    d.opt2page_Click(o.layout);
    d.txtLMarg = o.margin;
    d.txtColumns = o.columns;
    std::optional<std::string> code = d.cmdOK_Click();
    EXPECT_EQ(code.value_or(""), o.code) << o.margin << " " << o.columns;
    EXPECT_EQ(box.shown.size(), o.code.empty() ? 1u : 0u);
  }
  // Choosing the same-page layout with a small margin offers 600; the millimetre box warns.
  CompressDialog d(ports);
  d.Form_Load("45");
  EXPECT_EQ(d.opt2page, 2);
  d.opt2page_Click(1);
  EXPECT_EQ(d.txtLMarg, "600");
  EXPECT_EQ(d.txtLMargmm, "50.8");
  d.txtLMargmm = "80";
  d.txtLMargmm_Change();
  EXPECT_EQ(d.txtLMarg, "945");
  EXPECT_EQ(d.lblNote, "40% width of a Portrait A4 sheet, may cause errors!");
  EXPECT_EQ(d.txtLMargmm_colour, BoxColour::Yellow);
  d.txtLMargmm = "101";
  d.txtLMargmm_Change();
  EXPECT_EQ(d.txtLMargmm_colour, BoxColour::Red);
}

TEST(SetBhLog, SuppressDialog) {
  fakes::ScriptedMessageBox box;
  Ports ports;
  ports.msgbox = &box;
  struct Case {
    std::string item;
    std::vector<Answer> answers;
    bool loaded;
    std::array<bool, 5> boxes;  // witness lines of layers, of attributes, levels, raster, swap
    std::string error;
  } cases[] = {
      {"11", {}, true, {true, true, false, false, false}, ""},
      {"400", {}, true, {false, false, false, false, true}, ""},
      {"800", {}, true, {false, false, false, false, false}, ""},
      {"110", {}, true, {false, true, true, false, false}, ""},
      {"721", {}, true, {true, true, true, true, true}, ""},
      {"1234", {Answer::Ok}, true, {false, false, false, false, false}, "Bore Log Suppress Options code (1234) is too long!"},
      {"1a", {Answer::Cancel}, false, {false, false, false, false, false}, "Bore Log Suppress Options code (1a) is not a number!"},
  };
  for (const Case& c : cases) {
    box.shown.clear();
    box.answers.assign(c.answers.begin(), c.answers.end());
    SuppressDialog d(ports);
    EXPECT_EQ(d.Form_Load(c.item), c.loaded) << c.item;
    EXPECT_EQ((std::array<bool, 5>{d.chkSuppSLWL, d.chkSuppAWL, d.chkSuppRL, d.chkSuppDR, d.chkSwapLD}), c.boxes) << c.item;
    if (c.error.empty()) {
      EXPECT_TRUE(box.shown.empty());
    } else {
      ASSERT_EQ(box.shown.size(), 1u);
      EXPECT_EQ(box.shown[0].text, c.error + "\nIgnore it and proceed?");
      EXPECT_EQ(box.shown[0].title, "Ignore Error in Bore Log Suppress Options?");
    }
  }
  SuppressDialog d(ports);
  d.Form_Load("");
  d.chkSuppRL = d.chkSwapLD = true;
  EXPECT_EQ(d.cmdOK_Click(), "500");
  d.chkSuppRL = d.chkSwapLD = false;
  EXPECT_EQ(d.cmdOK_Click(), "000");
}

TEST_F(SetEditFixture, LogoTransformations) {
  open_template("L.SET");
  auto boxes = [&] { return std::vector<std::string>(ed->txtLogo.begin() + 1, ed->txtLogo.end()); };
  auto e_mm = [&] { return LeadingNumber(ed->txtLogo[5]) / 2.83464566929134; };
  using V = std::vector<std::string>;

  ed->txtLogo = {"", "0.3", "0.1", "0.2", "0.4", "7", "9"};
  ed->optTransform = 1;  // Clear
  ed->cmdLogoDraw_Click(0);
  EXPECT_EQ(boxes(), (V{"1", "0", "0", "1", "0", "0"}));
  EXPECT_EQ(ed->canvas.front().kind, CanvasOp::Clear);
  // The coloured outline lies on the black one: the placed arrow, closed from point 7 to point 1.
  ASSERT_EQ(ed->canvas.size(), 2u + 7u + 7u);
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(ed->canvas[2 + i].colour, (Rgb{0, 0, 0}));
    EXPECT_EQ(ed->canvas[9 + i].colour, kPalette[1]);
    EXPECT_EQ(ed->canvas[9 + i].x2, ed->canvas[2 + i].x2);
    EXPECT_EQ(ed->canvas[9 + i].y2, ed->canvas[2 + i].y2);
  }
  EXPECT_EQ(ed->canvas[2].x1, 25);  // point 7
  EXPECT_EQ(ed->canvas[2].x2, 57);  // point 1
  EXPECT_EQ(ed->canvas[2].y2, 274);

  // Scaling 50 % about the reference point (25, 275).
  ed->chkLogoCentre = true;
  ed->optTransform = 3;
  input.answers = {"50%"};
  ed->cmdLogoDraw_Click(0);
  EXPECT_EQ(boxes(), (V{"0.5", "0", "0", "0.5", "35.43", "389.76"}));

  // Shift +10 twice, then "10;+5" (two outlines, e ends at 15 mm).
  ed->chkLogoCentre = false;
  ed->optTransform = 1;
  ed->cmdLogoDraw_Click(0);
  ed->optTransform = 2;
  input.answers = {"+10", "+10"};
  ed->cmdLogoDraw_Click(0);
  EXPECT_EQ(ed->txtLogo[5], "28.35");
  ed->cmdLogoDraw_Click(1);
  EXPECT_NEAR(e_mm(), 20, 0.01);
  EXPECT_EQ(ed->LogoPenColour, 2);  // O-Draw runs the colours on
  input.answers = {"10;+5"};
  size_t before = ed->canvas.size();
  ed->cmdLogoDraw_Click(0);
  EXPECT_NEAR(e_mm(), 15, 0.005);
  EXPECT_EQ(ed->txtLogo[5], "42.52");
  EXPECT_EQ(ed->canvas.size(), 2u + 7u + 2u * 7u);
  (void)before;
  // A cancelled question draws nothing more and keeps the boxes.
  input.answers = {};
  ed->cmdLogoDraw_Click(0);
  EXPECT_EQ(ed->txtLogo[5], "42.52");
  EXPECT_EQ(ed->canvas.size(), 2u + 7u);

  // Rotation 90 about (0, 0).
  ed->optTransform = 4;
  input.answers = {"90"};
  ed->cmdLogoDraw_Click(0);
  EXPECT_EQ((V{ed->txtLogo[1], ed->txtLogo[2], ed->txtLogo[3], ed->txtLogo[4]}), (V{"0", "-1", "1", "0"}));

  // A shift given in mm is drawn in mm and shown in points.
  ed->txtLogo = {"", "1", "0", "0", "1", "12mm", "0"};
  ed->optTransform = 0;
  ed->cmdLogoDraw_Click(0);
  EXPECT_EQ(ed->txtLogo[5], "34.02");
  EXPECT_EQ(ed->canvas[9].x2, 57 + 12);

  // A skew of 90 degrees: the boxes keep the huge tangent; the drawing is clamped to the canvas.
  ed->txtLogo = {"", "1", "0", "0", "1", "0", "0"};
  ed->optTransform = 5;
  input.answers = {"90,0"};
  ed->cmdLogoDraw_Click(0);
  EXPECT_GT(LeadingNumber(ed->txtLogo[2]), 1e9);
  for (const CanvasOp& op : ed->canvas) {
    EXPECT_GE(op.y2, -32768);
    EXPECT_LE(op.y2, 32767);
  }
  EXPECT_EQ(ed->canvas.back().y2, 32767);
}

TEST_F(SetEditFixture, LogoReferencePoint) {
  open_template("R.SET");
  struct Case {
    std::optional<std::string> answer;
    double x, y;
    bool ticked;
  } cases[] = {{"LP3", 75, 262, true}, {"tl", 25, 275, true}, {"c", 105, 150, true},  {"30, 40", 30, 40, true},
               {"12", 12, 12, true},  {"LP9", 0, 0, false},  {"0,0", 0, 0, false},   {std::nullopt, 0, 0, false}};
  for (const Case& c : cases) {
    ed->chkLogoCentre = true;
    input.answers = {c.answer};
    ed->cmdLogoRef_Click();
    if (c.answer) {
      EXPECT_EQ(ed->LogoRefX, c.x) << *c.answer;
      EXPECT_EQ(ed->LogoRefY, c.y) << *c.answer;
    }
    EXPECT_EQ(ed->chkLogoCentre, c.ticked);
  }
  ed->picLogoCanvas_MouseMove(40.4, 101.6);
  EXPECT_EQ(ed->lblXY, "40, 102");
  ed->picLogoCanvas_Click();
  EXPECT_EQ(ed->LogoRefX, 40);
  EXPECT_EQ(ed->LogoRefY, 102);
  EXPECT_TRUE(ed->chkLogoCentre);
  EXPECT_EQ(ed->canvas.back().colour, (Rgb{255, 0, 0}));
  ed->optDemoType_Click(1);
  EXPECT_FALSE(ed->chkLogoCentre);
}

TEST_F(SetEditFixture, DiagramClicksSelectTheirMeasure) {
  open_template("D.SET");
  struct Case {
    int x, y;
    std::string focus;
  } cases[] = {{60, 45, "txtmm6"},       {945, 900, "txtmm6"},     {1500, 100, "txtmm7"}, {300, 1300, "txtmm18"},
               {500, 1300, "txtmm18"},   {900, 1300, "txtmm19"},   {300, 4000, "txtmm11"}, {2700, 4400, "txtmm15"},
               {1300, 2000, "txtItem16"}, {2700, 100, ""}};
  for (const Case& c : cases) {
    box.shown.clear();
    ed->focus.clear();
    ed->picDemo_Click(c.x, c.y);
    EXPECT_EQ(ed->focus, c.focus) << c.x << "," << c.y;
    EXPECT_EQ(box.titles(), c.focus.empty() ? std::vector<std::string>{"No Item Found where you Clicked."}
                                            : std::vector<std::string>{});
  }
}

TEST_F(SetEditFixture, FileButtonsTakeThreeLetterExtensionsAndShortLogoNames) {
  open_template("B.SET");
  files.answers = {folder() + "prompts.ned", folder() + "PROMPTS.DUTCH", folder() + "CONVOCAB.FRA"};
  ed->cmdFile_Click(0);
  EXPECT_EQ(ed->txtItem[0], "ned");
  ed->cmdFile_Click(0);
  EXPECT_EQ(ed->txtItem[0], "ned");
  EXPECT_EQ(box.titles(), std::vector<std::string>{"File not acceptable!"});
  ed->cmdFile_Click(2);
  EXPECT_EQ(ed->txtChar[1], "FRA");

  box.shown.clear();
  fs::create_directory(home.path() / "art");
  testing_support::write_file(home.path() / "art" / "Letterhead.pdf", "%PDF-1.3\n");
  files.answers = {folder() + "LOGO12.PDF", folder() + "LOGO1.PDF", home.str() + "/art/Letterhead.pdf"};
  ed->cmdFile_Click(17);
  EXPECT_EQ(ed->txtItem[17], "LOGO0");
  ed->cmdFile_Click(17);
  EXPECT_EQ(ed->txtItem[17], "LOGO1");
  box.answers = {Answer::Ok, Answer::Ok};
  ed->cmdFile_Click(17);
  EXPECT_EQ(ed->txtItem[17], "Letterhead");
  EXPECT_EQ(box.titles(), (std::vector<std::string>{"Bad LOGO PDF file!", "Wrong Path for LOGO file - COPY?"}));
  EXPECT_TRUE(fs::exists(engine / "Letterhead.pdf"));
}

}  // namespace
}  // namespace quorvel
