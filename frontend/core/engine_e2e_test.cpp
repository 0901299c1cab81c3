// The front end's logic against the built engine program, installed in a temporary engine folder.
#include <gtest/gtest.h>

#include <cctype>

#include "modgeneral.h"
#include "osinfo.h"
#include "testsupport.h"
#include "version.h"

namespace quorvel {
namespace {

TEST(EngineProgram, VersionTextAndWordSize) {
  testing_support::EngineFolder engine;
  EXPECT_EQ(GetEngineVersion(engine.path().string()), "7022");
  EXPECT_EQ(ProgramWordSize(engine.path().string() + "/profile"), sizeof(void*) == 8 ? "64-bit" : "32-bit");
  EXPECT_TRUE(Exists(engine.path().string() + "/PROMPTS.ENG"));  // the data files, names in any case
}

}  // namespace
}  // namespace quorvel

#include <filesystem>

#include "globals.h"
#include "mainform.h"
#include "testing/fakes.h"
#include "testing/process.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// The Run button with the real engine on the example that ships in the engine folder.
TEST(EngineProgram, RunTheExampleFromTheMainWindow) {
  testing_support::EngineFolder engine;
  testing_support::TempDir home;
  testing_support::ScopedEnv drive_c("VLX_DRIVE_C", home.str());
  reset_globals();
  fakes::MemorySettings settings;
  settings.set("Settings", "Terminal", "");
  fakes::ScriptedMessageBox box;
  fakes::RecordingLauncher launcher;
  fakes::ScriptProcess process;
  Ports ports;
  ports.settings = &settings;
  ports.msgbox = &box;
  ports.launcher = &launcher;
  ports.process = &process;
  MainForm f(ports);
  f.SetVeltraxFolder(engine.path().string() + "/");
  f.SetInputText(engine.path().string() + "/Examples/Examples.TXT");
  f.SetOutputPath(home.str() + "/VLXFILES/");
  f.SetSetupText("STANDARD.SET");
  f.SetOutputType(1);  // PDF + Preview
  box.answers = {Answer::Ok};  // create the output folder
  f.cmdRun_Click();
  ASSERT_EQ(process.started.size(), 1u);
  // The engine read the run file: the conversion made the holes' coded files in the engine folder.
  int coded = 0;
  for (const auto& e : fs::directory_iterator(engine.path()))
    if (EqualText(e.path().extension().string(), ".TRX")) ++coded;
  EXPECT_GE(coded, 6);
  // The engine draws the sheets: the run file's target is there and the front end shows it.
  std::string pdf = home.str() + "/VLXFILES/Examples.PDF";
  ASSERT_TRUE(fs::exists(pdf)) << (box.titles().empty() ? "" : box.titles().back());
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv, (std::vector<std::string>{"xdg-open", pdf}));
  auto check = testing_support::run_program({"/usr/bin/qpdf", "--check", pdf}, home.path());
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  auto info = testing_support::run_program({"/usr/bin/pdfinfo", pdf}, home.path());
  size_t pages = info.out.find("Pages:");
  ASSERT_NE(pages, std::string::npos);
  EXPECT_GE(std::stoi(info.out.substr(pages + 6)), 6);
  auto text = testing_support::run_program({"/usr/bin/pdftotext", pdf, "-"}, home.path());
  EXPECT_NE(text.out.find("BH1"), std::string::npos);
  EXPECT_NE(text.out.find("TP3"), std::string::npos);
}

}  // namespace
}  // namespace quorvel

#include "editform.h"
#include "testsupport.h"

namespace quorvel {
namespace {

// A file made with the editor's layer and attribute dialogues, saved, and converted by the engine in a
// one-shot run: every depth the dialogues wrote is a record of its own.
TEST(EngineProgram, DialogueLinesAreRecordsOfTheirOwn) {
  testing_support::EngineFolder engine;
  reset_globals();
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedInputBox input;
  fakes::ScriptedFileDialog files;
  Ports ports;
  ports.settings = &settings;
  ports.msgbox = &box;
  ports.inputbox = &input;
  ports.files = &files;
  EditForm f(ports, nullptr);
  f.SetText("Hole Number   : BH01\r\n/\r\n");
  f.SetSelection(static_cast<long>(f.txtEdit.size()), 0);
  input.answers = {"1", "Topsoil", "2.5", "Firm CLAY", "10", "Dense SAND", "12.5+", "Weathered ROCK"};
  f.mnuInsBlock_Click(2);
  f.SetSelText("/\r\nNOTES: \r\n");
  input.answers = {"SPT N", "1", "12", "2.0", "18", "@3.5", "25", ""};
  f.mnuInsBlock_Click(4);
  f.SetSelText("//\r\n///\r\n");
  f.FileName = (engine.path() / "dialogues.txt").string();
  ASSERT_TRUE(f.SaveFileAs(false));
  EXPECT_TRUE(box.shown.empty());

  engine.write("@runfile.dat", "0/   setupfile = STANDARD.SET\r\n1/   inputfile = dialogues.txt\r\n2/      output = PDF\r\n"
                               "3/    holelist = ALL\r\n4/    activity = 0\r\n");
  testing_support::RunResult r = engine.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  std::string coded;
  for (const auto& e : fs::directory_iterator(engine.path()))
    if (EqualText(e.path().extension().string(), ".TRX")) coded += testing_support::read_file(e.path());
  ASSERT_FALSE(coded.empty()) << r.out;
  for (const char* record : {"\n[1] ", "\n[2.5] ", "\n[10] ", "\n[12.5+] ", "\n[1]  12", "\n[2.0]  18", "\n[3.5@]  25"})
    EXPECT_NE(coded.find(record), std::string::npos) << record << "\n" << coded;
  EXPECT_NE(coded.find("Weathered ROCK."), std::string::npos);
  EXPECT_EQ(coded.find("Topsoil. 2.5"), std::string::npos);  // no layer joined to the one before
}

}  // namespace
}  // namespace quorvel

#include "editcheck.h"
#include "edittemplates.h"

namespace quorvel {
namespace {

// Every text the editor writes into a new or edited file (the skeleton and each block template, in the
// place it is made for) converts in the engine without a warning and with its holes. A warning stops a
// run in a terminal at "Press any key".
TEST(EngineProgram, EveryTemplateConvertsWithoutAWarning) {
  const std::string header = "Hole Number   : BH01\r\n";
  const std::string layers = "/\r\n1.0   Firm brown CLAY.\r\n4.0   Dense SAND.\r\n";
  const std::string notes = "/\r\nNOTES: \r\n";
  const std::string end = "//\r\n///\r\n";
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"new file", Skeleton()},
      {"Full Block Structure", BlockTemplate(0, "") + "///\r\n"},
      {"Header Block", BlockTemplate(1, "") + "1.0   Firm brown CLAY.\r\n" + notes + end},
      {"Header Block of a second hole",
       header + layers + notes + "//\r\n" + BlockTemplate(1, header + layers + notes + "//\r\n") +
           "1.0   Firm brown CLAY.\r\n" + notes + end},
      {"Notes Block Example", header + layers + BlockTemplate(3, "") + end},
      {"Attribute Block Example",  // the example table reaches 19.76 m
       header + layers + "20.0  Weathered DOLERITE.\r\n" + notes + BlockTemplate(5, "") + end},
      {"End-of-Hole marker", header + layers + notes + BlockTemplate(6, "") + "///\r\n"},
      {"End-of-File marker", header + layers + notes + "//\r\n" + BlockTemplate(7, "")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BlockCheck check = CheckBlockStructure(c.text);
    ASSERT_FALSE(check.fault) << check.message << "\n" << c.text;
    testing_support::EngineFolder engine;
    engine.write("job.txt", c.text);
    engine.write("@runfile.dat", "0/   setupfile = STANDARD.SET\r\n1/   inputfile = job.txt\r\n2/      output = PDF\r\n"
                                 "3/    holelist = ALL\r\n4/    activity = 0\r\n");
    testing_support::RunResult r = engine.run({"@runfile.dat"}, 60);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Coded hole files: " + std::to_string(check.holes)), std::string::npos) << r.out;
    // The templates' instructions and comments to the user are no part of the client's sheet.
    const std::filesystem::path sheet = engine.path() / "drive_c" / "VLXFILES" / "000" / "BH01.pdf";
    ASSERT_TRUE(std::filesystem::exists(sheet));
    std::string text =
        testing_support::run_program({"/usr/bin/pdftotext", "-raw", sheet.string(), "-"}, engine.path()).out;
    EXPECT_NE(text.find("BH01"), std::string::npos) << text;  // the sheet's text is read
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const char* words : {"to add", "insert (menu)", "select", "marks the end", "block structure", "comment"})
      EXPECT_EQ(text.find(words), std::string::npos) << words << "\n" << text;
  }
}

}  // namespace
}  // namespace quorvel
