// Tests of the text editor's logic: files, the undo ring, the check through the form, the Insert
// menu's dialogues, the clipboard items and the ways back to the main window.
#include "editform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "edittemplates.h"
#include "globals.h"
#include "mainform.h"
#include "testing/fakes.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

struct EditFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedInputBox input;
  fakes::ScriptedFileDialog files;
  fakes::MemoryClipboard clipboard;
  Ports ports;
  std::unique_ptr<MainForm> main;
  std::unique_ptr<EditForm> f;
  std::vector<std::string> handed_back;
  EditFixture() {
    reset_globals();
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.inputbox = &input;
    ports.files = &files;
    ports.clipboard = &clipboard;
    main = std::make_unique<MainForm>(ports);
    f = std::make_unique<EditForm>(ports, main.get());
    f->hand_back = [this](const std::string& tag) { handed_back.push_back(tag); };
    f->Form_Load({});
  }
  // The user types: a key press, then the box's change.
  void type(const std::string& keys) {
    for (char c : keys) {
      f->txtEdit_KeyPress(static_cast<unsigned char>(c));
      if (c == 8) {
        if (f->SelStart > 0) f->txtEdit.erase(static_cast<size_t>(--f->SelStart), 1);
      } else {
        f->txtEdit.insert(static_cast<size_t>(f->SelStart++), 1, c);
      }
      f->DataChanged = true;
      f->txtEdit_Change();
    }
  }
  // A change without a key press (Delete, a drop).
  void change_to(const std::string& text) {
    f->txtEdit = text;
    f->SelStart = static_cast<long>(text.size());
    f->DataChanged = true;
    f->txtEdit_Change();
  }
  std::string path(const std::string& name) { return (home.path() / name).string(); }
};

TEST_F(EditFixture, ReadAndSaveKeepTheBytes) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {{"line ends as they stand", "a\nb\rc\r\nd"},
               {"no line end at the end", "x\r\ny"},
               {"high bytes", "\x80\xE9\xFF\t\x1A"},
               {"empty", ""}};
  for (const Case& c : cases) {
    home.write("in.txt", c.bytes);
    f->FileName = path("in.txt");
    ASSERT_TRUE(f->ReadFile(path("in.txt"))) << c.name;
    EXPECT_EQ(f->txtEdit, c.bytes) << c.name;
    EXPECT_FALSE(f->DataChanged) << c.name;
    EXPECT_FALSE(f->mnuEditUndo_enabled) << c.name;
    f->FileName = path("out.txt");
    ASSERT_TRUE(f->SaveFileAs(false)) << c.name;
    EXPECT_EQ(home.read("out.txt"), c.bytes) << c.name;
  }
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(main->cboInputFile.text, path("out.txt"));
  EXPECT_EQ(f->ports().host->caption(), "Quorvel Text Editor: " + path("out.txt"));
}

TEST_F(EditFixture, LargeFilesAreRefusedAndNeverWrittenOver) {
  home.write("big.txt", std::string(static_cast<size_t>(kMaxEditBytes), 'a'));
  f->FileName = path("big.txt");
  EXPECT_TRUE(f->ReadFile(path("big.txt")));
  EXPECT_EQ(f->txtEdit.size(), static_cast<size_t>(kMaxEditBytes));

  const std::string over(static_cast<size_t>(kMaxEditBytes) + 1, 'b');
  home.write("bigger.txt", over);
  f->FileName = path("bigger.txt");
  EXPECT_FALSE(f->ReadFile(path("bigger.txt")));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Please use another editor!");
  EXPECT_EQ(box.shown[0].text, path("bigger.txt") + " is too large\n(4000001 > 4000000 characters).");
  EXPECT_EQ(f->txtEdit, "");
  EXPECT_EQ(f->FileName, "");
  EXPECT_EQ(f->ports().host->caption(), "Quorvel Text Editor");
  // Save asks for a name (cancelled here): the refused file is untouched.
  EXPECT_FALSE(f->SaveFileAs(false));
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].title, "Save Text File");
  EXPECT_EQ(home.read("bigger.txt"), over);
}

TEST_F(EditFixture, WordProcessorDocumentsGiveTheirFirstPrintableStretch) {
  const std::string words(45, 'W');
  const std::string doc = kCompoundSignature + "\x01\x02short\x03" + words + "\r" + "more text" + std::string("\0\x05tail", 6);
  home.write("report.doc", doc);
  f->ReadFile(path("report.doc"));
  EXPECT_EQ(f->txtEdit, words + "\r\nmore text");
  // A NUL byte anywhere sends an ordinary file the same way; other files are read as they are.
  home.write("nul.txt", std::string("ab\0", 3) + std::string(40, 'x'));
  f->ReadFile(path("nul.txt"));
  EXPECT_EQ(f->txtEdit, std::string(40, 'x'));
  home.write("plain.txt", "\x01\x02 short\r\n");
  f->ReadFile(path("plain.txt"));
  EXPECT_EQ(f->txtEdit, "\x01\x02 short\r\n");
}

TEST_F(EditFixture, MissingFileOffersTheSkeleton) {
  box.answers = {Answer::Yes};
  f->FileName = path("new.txt");
  EXPECT_FALSE(f->ReadFile(path("new.txt")));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Starter File?");
  EXPECT_EQ(box.shown[0].text.substr(0, 15 + path("new.txt").size() + 28),
            "File not found\n" + path("new.txt") + "\n\nThis is a NEW file.\n\nWould");
  EXPECT_EQ(f->txtEdit, Skeleton());
  EXPECT_TRUE(f->DataChanged);
  EXPECT_FALSE(fs::exists(path("new.txt")));
}

TEST_F(EditFixture, SavingRefusesForeignCharactersAndKeepsTheOldFileOnFailure) {
  home.write("a.txt", "old");
  f->FileName = path("a.txt");
  f->ReadFile(path("a.txt"));
  change_to("new ?");
  f->foreign_char = U'\u0105';
  f->foreign_line = 3;
  EXPECT_FALSE(f->SaveFileAs(false));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "File not saved!");
  EXPECT_NE(box.shown[0].text.find("\"\u0105\" (U+0105) in line 3."), std::string::npos) << box.shown[0].text;
  EXPECT_EQ(home.read("a.txt"), "old");
  EXPECT_TRUE(f->DataChanged);

  // A write that fails (here: no room for the new file's name beside the old one) leaves the old file.
  f->foreign_char.reset();
  const std::string long_name(252, 'n');
  home.write(long_name, "old text");
  f->FileName = path(long_name);
  box.answers = {Answer::No};  // keep the name without .TXT
  EXPECT_FALSE(f->SaveFileAs(false));
  ASSERT_EQ(box.shown.size(), 3u);
  EXPECT_EQ(box.shown[2].title, "Error in Sub SaveFileAs in frmEditText");
  EXPECT_EQ(home.read(long_name), "old text");
  EXPECT_TRUE(f->DataChanged);
  for (const auto& e : fs::directory_iterator(home.path()))
    EXPECT_EQ(e.path().filename().string().find(".new~"), std::string::npos);
}

TEST_F(EditFixture, SaveAsAndTheExtensionQuestion) {
  f->SetText("text");
  struct Case {
    const char* chosen;
    Answer answer;
    const char* written;  // "" when nothing is written
  } cases[] = {{"Job.DOC", Answer::Yes, "Job.TXT"},
               {"Keep.DOC", Answer::No, "Keep.DOC"},
               {"Stop.DOC", Answer::Cancel, ""},
               {"Plain", Answer::Yes, "Plain.TXT"},
               {"ok.txt", Answer::Ok, "ok.txt"}};
  for (const Case& c : cases) {
    files.answers = {path(c.chosen)};
    box.shown.clear();
    box.answers = {c.answer};
    bool saved = f->SaveFileAs(true);
    EXPECT_EQ(saved, std::string(c.written) != "") << c.chosen;
    if (saved) {
      EXPECT_EQ(home.read(c.written), "text") << c.chosen;
    }
    EXPECT_EQ(box.shown.size(), std::string(c.chosen) == "ok.txt" ? 0u : 1u) << c.chosen;
  }
  EXPECT_FALSE(fs::exists(path("Stop.DOC")));
}

TEST_F(EditFixture, SaveAndRunAndTheSavePrompt) {
  home.write("job.txt", "abc");
  f->FileName = path("job.txt");
  f->ReadFile(path("job.txt"));
  // Unchanged: out at once with the request word.
  f->mnuFileExit_Run_Click();
  EXPECT_EQ(handed_back, std::vector<std::string>{"RUN"});
  EXPECT_TRUE(box.shown.empty());
  // Changed, Cancel at the prompt: the editor stays and no word is handed back.
  f->SetSelection(3, 0);
  type("d");
  box.answers = {Answer::Cancel};
  f->mnuFileExit_Run_Click();
  EXPECT_EQ(handed_back.size(), 1u);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "Do you want to Save your changes to\n" + path("job.txt") + " ?");
  EXPECT_EQ(box.shown[0].title, " (Save Now to keep Changes!)");
  // Yes saves, then runs.
  box.answers = {Answer::Yes};
  f->mnuFileExit_Run_Click();
  EXPECT_EQ(handed_back, (std::vector<std::string>{"RUN", "RUN"}));
  EXPECT_EQ(home.read("job.txt"), "abcd");
  // Exit with No: back without saving, no run.
  f->SetSelection(4, 0);
  type("e");
  box.answers = {Answer::No};
  f->mnuFileExit_Click();
  EXPECT_EQ(handed_back.back(), "");
  EXPECT_EQ(box.shown.back().title, "Exiting Editor (Save Now to keep Changes!)");
  EXPECT_EQ(home.read("job.txt"), "abcd");
}

TEST_F(EditFixture, NewFileAndRecentMenu) {
  f->SetText("x");
  box.answers = {Answer::No, Answer::Yes};  // do not save; add the skeleton
  f->mnuFileNew_Click();
  EXPECT_EQ(box.shown[0].text, "Do you want to Save your changes to\nthis New File?");
  EXPECT_EQ(box.shown[0].title, "Creating New File (Save Now to keep Changes!)");
  EXPECT_EQ(f->txtEdit, Skeleton());
  EXPECT_EQ(f->FileName, "");

  home.write("one.txt", "1");
  home.write("two.txt", "2");
  for (const char* n : {"one.txt", "two.txt", "two.txt"}) {
    files.answers = {path(n)};
    f->DataChanged = false;
    f->mnuFileRead_Click();
  }
  EXPECT_EQ(f->txtEdit, "2");
  EXPECT_TRUE(f->mnuFileFiles_visible[0]);
  EXPECT_EQ(f->mnuFileFiles_caption[0], "&0 " + path("one.txt"));
  f->mnuFileFiles_Click(0);
  EXPECT_EQ(f->txtEdit, "1");
  EXPECT_EQ(f->FileName, path("one.txt"));
  EXPECT_EQ(f->mnuFileFiles_caption[0], "&0 " + path("one.txt"));  // reopening a recorded file changes nothing
}

TEST_F(EditFixture, UndoRingGroupsTypingByWords) {
  f->reset_undo();
  type("ab cd");
  EXPECT_EQ(f->ring.current, 1);
  EXPECT_EQ(f->ring.text[0], "ab");
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "ab");
  EXPECT_FALSE(f->mnuEditUndo_enabled);
  f->mnuEditUndo_Click();  // nothing older: stays
  EXPECT_EQ(f->txtEdit, "ab");
  EXPECT_TRUE(f->mnuEditRedo_enabled);
  f->mnuEditRedo_Click();
  EXPECT_EQ(f->txtEdit, "ab cd");
  EXPECT_FALSE(f->mnuEditRedo_enabled);

  // Blanks in a row are one snapshot; a Backspace continues the word; a change without a key press
  // starts a new snapshot.
  f->SetText("");
  f->reset_undo();
  type("a   b\x08");
  EXPECT_EQ(f->ring.newest, 1);
  EXPECT_EQ(f->ring.text[1], "a   ");
  change_to("a  ");
  EXPECT_EQ(f->ring.newest, 2);
  // Undo, then typing: Redo is gone.
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "a   ");
  type("x");
  EXPECT_FALSE(f->mnuEditRedo_enabled);
}

TEST_F(EditFixture, UndoStopsAfterTwentySteps) {
  f->SetText("x");
  f->reset_undo();
  for (int i = 1; i <= 21; ++i) change_to("x" + std::to_string(i));
  int steps = 0;
  while (f->mnuEditUndo_enabled && steps < 30) {
    f->mnuEditUndo_Click();
    ++steps;
  }
  EXPECT_EQ(steps, 20);
  EXPECT_EQ(f->txtEdit, "x1");
}

TEST_F(EditFixture, LetterCaseChangeIsUndoneAndRedone) {
  f->reset_undo();
  type("sand");
  // A change the program makes (not recorded when it is made).
  UndoHold = true;
  f->SetText("SAND");
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "sand");
  f->mnuEditRedo_Click();
  EXPECT_EQ(f->txtEdit, "SAND");
}

TEST_F(EditFixture, CheckerReportsAndRepairs) {
  // A fault: the cursor goes to it.
  f->SetText("H\r\n//\r\n");
  f->mnuCheck_Click();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Block Structure Fault in Hole 1!");
  EXPECT_EQ(box.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(f->SelStart, 3);
  EXPECT_EQ(f->SelLength, 4);

  // Correct with an unnumbered layer line: the report.
  box.shown.clear();
  f->SetText("/\r\nSand\r\n/\r\n//\r\n///");
  f->mnuCheck_Click();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Block Structures Checked.");
  EXPECT_EQ(box.shown[0].text,
            "Block Structure correct for One Hole.\n\nERROR: Non-indented line does not start with a Number:\n"
            "Hole 1, Line 2: Sand\n\nTo check Spelling, press F7.");

  // Orphan line ends and Tabs, both repaired, each one undoable change.
  box.shown.clear();
  f->SetText("///\r\nx\ny\r\tz");
  f->reset_undo();
  box.answers = {Answer::Yes, Answer::Yes};
  f->mnuCheck_Click();
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].title, "Block Structures Checked. Remove LineFeeds?");
  EXPECT_EQ(box.shown[1].title, "Block Structures Checked. Replace Tabs?");
  EXPECT_EQ(box.shown[1].text.substr(0, 40), "Orphan LineFeed characters removed.\n\nWar");
  EXPECT_EQ(f->txtEdit, "///\r\nxy    z");
  EXPECT_TRUE(f->DataChanged);
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "///\r\nxy\tz");
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "///\r\nx\ny\r\tz");

  box.shown.clear();
  box.answers = {Answer::No, Answer::No};
  f->mnuCheck_Click();
  EXPECT_EQ(box.shown[1].text.substr(0, 34), "Orphan LineFeed characters KEPT!\n\n");
  EXPECT_EQ(f->txtEdit, "///\r\nx\ny\r\tz");
}

// The engine reads nothing after "///": Check! warns of hole input there (a hole typed or inserted
// after it) but not of comment text, which the skeleton and the example carry there; a template inserted
// after it (Ctrl+End, then Shift+F1) goes in before it.
TEST_F(EditFixture, TheEndOfDataLine) {
  const std::string hole = "Hole Number   : BH01\r\n/\r\n1.0   SAND.\r\n/\r\n//\r\n";
  const std::string comment = "The /// above marks the end of the File.\r\nNotes on this job: see the report\r\n";
  f->SetText(hole + "///\r\n" + comment + "\r\nHole Number   : BH02\r\n/\r\n//\r\n");
  f->mnuCheck_Click();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Block Structures Checked.");
  EXPECT_EQ(box.shown[0].text,
            "Block Structure correct for One Hole.\n\nWarning: 3 lines of hole input after the End-of-data Triple "
            "Slash /// (Line 10: Hole Number   : BH02).\nVeltrax reads nothing after ///: holes placed there are "
            "left out.\n\nTo check Spelling, press F7.");
  EXPECT_EQ(f->SelStart, static_cast<long>(hole.size() + 7 + comment.size()));  // the caret on that line

  const std::string example =
      testing_support::read_file(testing_support::data_dir() / "Examples" / "Examples.TXT");
  ASSERT_NE(example.find("\r\n///\r\nThe /// above"), std::string::npos);
  struct Warned {
    const char* what;
    std::string text;
    std::string warning;  // empty: no warning
  } warned[] = {
      {"the skeleton", Skeleton(), ""},
      {"the example", example, ""},
      {"a second End-of-File marker with its comments", hole + "///\r\n" + BlockTemplate(7, hole), ""},
      {"free comments, a colon in them", hole + "/// \r\nFile: job.txt\r\nChecked against the log sheets: OK\r\n"
                                         "See also the notes of 3 May.\r\n   (indented)\r\n", ""},
      {"a full hole", hole + "///\r\n" + BlockTemplate(0, hole),
       "Warning: 24 lines of hole input after the End-of-data Triple Slash /// (Line 9: Client        :)."},
      {"a header block", hole + "///\r\n" + BlockTemplate(1, hole),
       "Warning: 6 lines of hole input after the End-of-data Triple Slash /// (Line 8: Hole Number   : BH02)."},
      {"a notes block", hole + "///\r\n" + BlockTemplate(3, hole),
       "Warning: 2 lines of hole input after the End-of-data Triple Slash /// (Line 8: /)."},
      {"an attribute block", hole + "///\r\n" + BlockTemplate(5, hole),
       "Warning: One line of hole input after the End-of-data Triple Slash /// (Line 8: ATTRIBUTE ::)."},
      {"an end of hole", hole + "///\r\n" + BlockTemplate(6, hole),
       "Warning: One line of hole input after the End-of-data Triple Slash /// (Line 8: //)."},
      {"a layer line", hole + "///\r\nend of job\r\n2.5   Firm CLAY.\r\n",
       "Warning: One line of hole input after the End-of-data Triple Slash /// (Line 8: 2.5   Firm CLAY.)."},
  };
  for (const Warned& c : warned) {
    SCOPED_TRACE(c.what);
    box.shown.clear();
    box.answers = {Answer::No, Answer::No};  // keep any orphan line ends and Tabs
    f->SetText(c.text);
    f->mnuCheck_Click();
    ASSERT_FALSE(box.shown.empty());
    EXPECT_EQ(box.shown[0].text.rfind("Block Structure correct for ", 0), 0u) << box.shown[0].text;
    const size_t at = box.shown[0].text.find("Warning: ");
    const std::string warning =
        at == std::string::npos || box.shown[0].text.find("Triple Slash", at) == std::string::npos
            ? ""
            : box.shown[0].text.substr(at, box.shown[0].text.find('\n', at) - at);
    EXPECT_EQ(warning, c.warning) << box.shown[0].text;
  }
  box.shown.clear();
  f->SetText(Skeleton());
  f->mnuCheck_Click();
  EXPECT_EQ(box.shown[0].text, "Block Structure correct for One Hole.\n\nTo check Spelling, press F7.");
  box.shown.clear();
  f->SetText(hole + "///");
  f->mnuCheck_Click();
  EXPECT_EQ(box.shown[0].text, "Block Structure correct for One Hole.\n\nTo check Spelling, press F7.");

  struct Case {
    const char* what;
    std::string text;
    long caret;
    int block;
    std::string expected;
  } cases[] = {
      {"at the very end, no line end", hole + "///", -1, 6, hole + BlockTemplate(6, "") + "///"},
      {"at the end, after the line end", hole + "///\r\n", -1, 0, hole + BlockTemplate(0, "") + "///\r\n"},
      {"in the comments after it", hole + "/// \r\nnote\r\n", -3, 3, hole + BlockTemplate(3, "") + "/// \r\nnote\r\n"},
      {"before it: stays", hole + "///", static_cast<long>(hole.size()), 6, hole + BlockTemplate(6, "") + "///"},
      {"the End-of-File marker: stays", hole + "///\r\n", -1, 7, hole + "///\r\n" + BlockTemplate(7, "")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    f->SetText(c.text);
    f->SetSelection(c.caret < 0 ? static_cast<long>(c.text.size()) + 1 + c.caret : c.caret, 0);
    f->mnuInsBlock_Click(c.block);
    EXPECT_EQ(f->txtEdit, c.expected);
  }
}

TEST_F(EditFixture, LayerAndAttributeDialogues) {
  f->SetText("");
  input.answers = {"1", "Topsoil", "10", "Clay.", "1.5", "Sand", "4+", "Rock", "never asked"};
  f->mnuInsBlock_Click(2);
  EXPECT_EQ(f->txtEdit, "1     Topsoil.\r\n10    Clay.\r\n1.5   Sand.\r\n4+    Rock.\r\n");
  EXPECT_EQ(input.answers.size(), 1u);

  f->SetText("");
  input.answers = {"^1", "1.2", "12", "@1.2", "5", ""};
  input.prompts.clear();
  f->mnuInsBlock_Click(4);
  EXPECT_EQ(f->txtEdit, "\r\nATTRIBUTE: SPT N [WIDTH 1.2]\r\n1.2   : 12\r\n@1.2  : 5\r\n");
  ASSERT_EQ(input.prompts.size(), 6u);
  EXPECT_EQ(input.prompts[2], "Attribute Value or Description for 'SPT N [WIDTH 1.2]' down to 1.2?");
  EXPECT_EQ(input.prompts[4], "Attribute Value or Description for 'SPT N [WIDTH 1.2]' at @1.2?");
}

TEST_F(EditFixture, InsertMenusAndCharactersByCode) {
  f->SetText("ab");
  f->SetSelection(1, 0);
  f->mnuInsSymbol_Click(11);
  EXPECT_EQ(f->txtEdit, "a[ ]b");
  EXPECT_EQ(f->SelStart, 2);  // between the brackets
  f->mnuCharLetter_Click(9);
  EXPECT_EQ(f->txtEdit, "a[\xE9 ]b");

  f->SetText("");
  input.answers = {"65-70"};
  f->mnuCharASCII_Click();
  EXPECT_EQ(f->txtEdit, "ABCDE\r\nF");
  input.answers = {"1-999999999"};
  f->mnuCharASCII_Click();
  EXPECT_EQ(f->txtEdit, "ABCDE\r\nF");
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Error in Sub mnuInsChar_Click!");

  // Header Block after an earlier hole; End-of-Hole marker; the Excel tip once.
  f->SetText("x\r\n//\r\n");
  f->SetSelection(7, 0);
  f->mnuInsBlock_Click(1);
  EXPECT_EQ(f->txtEdit.substr(7, 22), "\r\nHole Number   : BH02");
  box.shown.clear();
  f->mnuInsBlock_Click(5);
  f->mnuInsBlock_Click(5);
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Tip: Pasting Attribute Table from Excel"});
  f->mnuInsBlock_Click(9);
  EXPECT_EQ(box.shown.back().title, "Program Error in Sub mnuInsBlock_Click(9)!");
}

TEST_F(EditFixture, ReadSetFileOnceAndDisabledItems) {
  const std::string set = "BEGIN\r\nx\r\nEND\r\nBEGIN\r\n0\r\nENG\r\n`\r\n@\r\n\\\r\n^\r\n{\r\n}\r\n\"\r\n$\r\n#\r\nEND\r\n";
  home.write("MY.SET", set);
  f->ReadSetFile(path("MY.SET"));
  EXPECT_EQ(f->mnuInsSymbol[3].caption.substr(0, 1), "@");
  EXPECT_FALSE(f->mnuInsSymbol[1].enabled);
  EXPECT_FALSE(f->mnuInsSymbol[0].enabled);
  home.write("MY.SET", "BEGIN\r\nx\r\nEND\r\nBEGIN\r\n0\r\nENG\r\n`\r\n~\r\n");
  f->ReadSetFile(path("MY.SET"));  // the same file: not read again
  EXPECT_EQ(f->mnuInsSymbol[3].caption.substr(0, 1), "@");
}

TEST_F(EditFixture, ClipboardItems) {
  f->SetText("one two");
  f->SetSelection(0, 0);
  f->mnuEditCopy_Click();
  EXPECT_EQ(clipboard.value, "one two");  // nothing selected: the whole text
  f->mnuEdit_Click();
  EXPECT_FALSE(f->mnuEditCut_enabled);
  f->SetSelection(4, 3);
  f->mnuEdit_Click();
  EXPECT_TRUE(f->mnuEditCut_enabled);
  f->mnuEditCut_Click();
  EXPECT_EQ(clipboard.value, "two");
  EXPECT_EQ(f->txtEdit, "one ");
  clipboard.value = "a\tb\nc\r\nd\re \xC3\xA9";  // UTF-8 e acute
  f->mnuEditPaste_Click();
  EXPECT_EQ(f->txtEdit, "one a    b\r\nc\r\nd\r\ne \xE9");
  EXPECT_FALSE(f->foreign_char);
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "one ");
  // A character the code page cannot hold: "?" in the bytes, kept in the box, refused at save.
  clipboard.value = "\xC4\x85";
  f->mnuEditPaste_Click();
  EXPECT_EQ(f->txtEdit, "one ?");
  ASSERT_TRUE(f->foreign_char);
  EXPECT_EQ(f->foreign_line, 1);
  ASSERT_TRUE(f->box_edits.back().inserted_display);
  EXPECT_EQ(*f->box_edits.back().inserted_display, u"\u0105");
}

TEST_F(EditFixture, ZoomSettingsAndToolbar) {
  EXPECT_EQ(f->Zoom, 60);
  f->mnuViewZoom_Click(2);
  EXPECT_EQ(f->Zoom, 100);
  f->Zoom = 40;
  f->mnuViewZoom_Click(1);
  EXPECT_EQ(f->Zoom, 20);
  f->mnuViewZoom_Click(1);
  EXPECT_EQ(f->Zoom, 20);
  input.answers = {"1"};
  f->mnuViewZoom_Click(3);
  EXPECT_EQ(f->Zoom, 20);
  input.answers = {"250"};
  f->Toolbar1_ButtonClick("zoom");
  EXPECT_EQ(f->Zoom, 250);

  f->mnuSettingsTidyUp_Click();
  EXPECT_EQ(settings.get("Settings", "DeleteFiles"), "False");
  f->mnuSettingsNNNS_Click();
  EXPECT_EQ(settings.get("Settings", "NNNS Flag"), "True");
  f->mnuSettingsPause_Click();
  EXPECT_TRUE(PauseBeforeExit);
  f->Toolbar1_ButtonClick("Bogus");
  EXPECT_EQ(box.shown.back().text, "Undefined Button (Key = Bogus");
  EXPECT_EQ(box.shown.back().title, "Program Error!");
}

TEST_F(EditFixture, PlacementIsStoredAndRestored) {
  settings.set("TextEdit", "Width", "200");
  settings.set("TextEdit", "Left", "900");
  EditForm g(ports, main.get());
  g.Form_Load({1280, 1024, 10, 20, 600, 400});
  EXPECT_EQ(g.placement.width, 640);  // at least half the screen
  EXPECT_EQ(g.placement.left, 640);   // kept on the screen
  EXPECT_EQ(g.placement.top, 20);
  EXPECT_EQ(g.placement.height, 682);  // a first open: two thirds of the screen, not the main window's 400
  EXPECT_EQ(g.placement.geometry, "");
  EXPECT_EQ(g.placement.font_name, "Courier New");
  g.placement.font_size = 12.5;
  g.Form_Unload(false, false);
  EXPECT_EQ(settings.get("TextEdit", "FontSize"), "12.5");
  EXPECT_EQ(settings.get("TextEdit", "Width"), "640");
  EXPECT_EQ(settings.get("TextEdit", "WindowState"), "0");
  EXPECT_EQ(settings.get("TextEdit", "Geometry", "<none>"), "<none>");
  // The desktop's saved place goes back and forth as it is.
  g.placement.geometry = "AdnQywADAAA=";
  g.Form_Unload(false, true);
  EditForm h(ports, main.get());
  h.Form_Load({1280, 1024, 10, 20, 600, 400});
  EXPECT_EQ(h.placement.geometry, "AdnQywADAAA=");
  EXPECT_EQ(h.placement.window_state, "2");
}

TEST_F(EditFixture, MainWindowOpensTheEditor) {
  std::vector<std::string> opened;
  main->show_text_editor = [&](const std::string& file) { opened.push_back(file); };
  main->cboInputFile.text = " /x/Job.DOC ";
  box.answers = {Answer::Cancel};
  main->cmdEditInputFile_Click();
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Use Word to Edit DOC files?");
  EXPECT_EQ(box.shown[0].default_answer, Answer::No);
  box.answers = {Answer::No};
  main->cmdEditInputFile_Click();
  main->cmdEditInputFile_Click();  // asked once per answer
  EXPECT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(opened, (std::vector<std::string>{"/x/Job.DOC", "/x/Job.DOC"}));

  // The editor's side: a named file is read, the list fills the recent menu.
  home.write("a.txt", "A");
  f->OpenFromMain(path("a.txt"), "", {path("a.txt"), path("b.txt")});
  EXPECT_EQ(f->txtEdit, "A");
  EXPECT_EQ(f->mnuFileFiles_caption[1], "&1 " + path("a.txt"));
  EXPECT_EQ(f->mnuFileFiles_caption[2], "&2 " + path("b.txt"));
  EXPECT_FALSE(f->mnuFileFiles_visible[3]);
  // An empty input box: a new file without a name.
  box.answers = {Answer::No};
  f->OpenFromMain("", "", {});
  EXPECT_EQ(f->txtEdit, "");
  EXPECT_EQ(f->FileName, "");
}

}  // namespace
}  // namespace quorvel
