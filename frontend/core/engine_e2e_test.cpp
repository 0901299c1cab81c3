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
