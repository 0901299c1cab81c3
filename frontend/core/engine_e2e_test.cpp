// The front end's logic against the built engine program, installed in a temporary engine folder.
#include <gtest/gtest.h>

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
