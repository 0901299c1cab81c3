// A SET file written by the front end's SET editor, read by the engine: its reader takes the same
// values, and a run with it draws A3 sheets.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"
#include "globals.h"
#include "mainform.h"
#include "setbhlog.h"
#include "setedit.h"
#include "testing/fakes.h"
#include "testing/process.h"
#include "platform/console_scripted.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

// The editor's changes of the test: A3, margins typed in millimetres, compress 603 and suppress 101
// through their dialogs, font 2 Times bold, a logo matrix and a print-to-file folder with blanks.
void edit(SetEditForm& ed, const Ports& ports) {
  ed.txtItem[5] = "A3";
  ed.txtItem_Change(5);
  ed.txtmm[6] = "10";  // 118 dots
  ed.txtmm_Change(6);
  ed.txtmm[8] = "25.4";  // 300 dots
  ed.txtmm_Change(8);
  ed.compress_dialog = [&](const std::string& code) {
    CompressDialog d(ports);
    d.Form_Load(code);
    d.opt2page_Click(2);
    d.txtLMarg = "600";
    d.txtColumns = "3";
    return d.cmdOK_Click();
  };
  ed.cmdCompBoreLog_Click();
  ed.suppress_dialog = [&](const std::string& code) {
    SuppressDialog d(ports);
    d.Form_Load(code);
    d.chkSuppSLWL = true, d.chkSuppAWL = false, d.chkSuppRL = true;
    return std::optional<std::string>(d.cmdOK_Click());
  };
  ed.cmdBoreOpt_Click();
  ed.font[2].cboFont.text = "Times";
  ed.font[2].chkBold = true;
  ed.font_Change(2);
  ed.txtLogo = {"", "0.5", "0", "0", "0.5", "10", "20"};
  ed.txtItem[3] = "C:\\Job Sheets\\PDF out";
  ed.txtItem_Change(3);
}

class EditorToReader : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    copy_data({"STANDARD.SET", "prompts.eng", "PROVOCAB.ENG", "CONVOCAB.ENG", "LOGO0.PDF", "PROLIB.DAT", "pdffonts.dat",
               "LJ4"});
    OUTDEV = 1;
    COLOURCOUNT = 5;
    reset_globals();
    ports.msgbox = &msgs;
    main = std::make_unique<MainForm>(ports);
    main->txtVeltraxFolder = dir.str() + "/";
  }
  testing_support::TempDir home;
  testing_support::ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::ScriptedMessageBox msgs;
  Ports ports;
  std::unique_ptr<MainForm> main;
};

TEST_F(EditorToReader, TheEngineReadsWhatTheEditorWrote) {
  fs::create_directories(home.path() / "Job Sheets" / "PDF out");
  SetEditForm ed(ports, *main);
  ed.SetLoadDefault(dir.str() + "/JOB.SET");
  ASSERT_TRUE(ed.SetDataLoad());
  edit(ed, ports);
  EXPECT_EQ(ed.txtItem[20], "603");
  EXPECT_EQ(ed.txtItem[12], "101");
  ed.cmdOK_Click();
  ASSERT_TRUE(ed.closed);
  EXPECT_TRUE(msgs.shown.empty()) << msgs.shown[0].text;

  SETUPNAME = dir.str() + "/JOB.SET";
  GETSETUP();
  EXPECT_EQ(PAPER, "A3");
  EXPECT_EQ(A3SHIFT, 2333);
  EXPECT_EQ(ATTRLMARGIN, 118);
  EXPECT_EQ(PROFLMARGIN, 300);
  EXPECT_EQ(HEADDOTS, 300);
  EXPECT_EQ(COMPRESSLOG, 603);
  EXPECT_EQ(SUPPRESS, 101);
  EXPECT_EQ(FONTSPEC(1), "\x1b(10U\x1b(s1p10v0s0b4148T");  // kept in its converted form
  EXPECT_EQ(FONTSPEC(2), "\x1b(10U\x1b(s1p10v0s3b4101T");
  EXPECT_EQ(LOGOMATRIX, "0.5 0 0 0.5 10 20 cm");
  EXPECT_EQ(DATADIR, "C:\\Job Sheets\\PDF out");
  EXPECT_EQ(LOGOMACRO, "LOGO0");
  EXPECT_EQ(LINEPITCH, 50);
  EXPECT_EQ(log(), "");
}

// A SET file saved by the front end's editor, then by the engine's console editor, then by the front
// end's again: each save keeps every line the other editor wrote (the description line, the font folder)
// and changes only the item it was asked to.
TEST_F(EditorToReader, EachEditorKeepsTheLinesTheOtherWrote) {
  fs::create_directories(home.path() / "VLXFILES");
  auto console = std::make_unique<platform::ScriptedConsole>(25);
  platform::ScriptedConsole* keys = console.get();
  platform::set_console(std::move(console));
  PROMPTNAME = "prompts.eng";
  FETCHPRO(PROMPTNAME);
  const std::string job = dir.str() + "/JOB.SET";
  constexpr size_t kPageSize = 13, kFontFolder = 31;
  // Every line of before is in after, but the changed one, which now begins with value.
  auto kept_but = [](const std::vector<std::string>& before, const std::vector<std::string>& after, size_t changed,
                     const std::string& value) {
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
      if (i != changed) {
        EXPECT_EQ(after[i], before[i]) << "line " << i;
      }
    EXPECT_EQ(after[changed].rfind(value, 0), 0u) << after[changed];
  };

  SetEditForm desktop(ports, *main);
  desktop.SetLoadDefault(job);
  ASSERT_TRUE(desktop.SetDataLoad());
  desktop.txtDescription = "Logs on A3";
  desktop.txtDescription_Change();
  desktop.cmdOK_Click();
  ASSERT_TRUE(desktop.closed);
  const auto first = split_lines(dir.read("JOB.SET"));
  ASSERT_EQ(first[1], job + "  Logs on A3");

  SETUPNAME = job;
  dim_editor_tables();
  ASSERT_TRUE(READSETU());
  std::string fonts = "C:\\FONTS";
  ASSERT_TRUE(NEWSETUP(fonts, SETBEGIN1 + 24));
  keys->type("\ry");  // the name as it stands, and yes to replacing the file
  SAVESETU();
  const auto second = split_lines(dir.read("JOB.SET"));
  kept_but(first, second, kFontFolder, "C:\\FONTS ");

  SetEditForm again(ports, *main);
  ASSERT_TRUE(again.SetFileRead(job));
  ASSERT_TRUE(again.SetDataLoad());
  again.txtItem[5] = "A3";
  again.txtItem_Change(5);
  again.cmdOK_Click();
  ASSERT_TRUE(again.closed);
  kept_but(second, split_lines(dir.read("JOB.SET")), kPageSize, "A3 ");
  EXPECT_TRUE(msgs.shown.empty()) << msgs.shown[0].title;
}

// A run from the main window with the saved file draws A3 sheets.
TEST(EditorToEngine, ARunWithTheSavedFileDrawsA3Sheets) {
  testing_support::EngineFolder engine;
  testing_support::TempDir home;
  testing_support::ScopedEnv drive_c("VLX_DRIVE_C", home.str());
  fs::create_directories(home.path() / "Job Sheets" / "PDF out");
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
  f.SetOutputType(0);  // PDF
  f.SetSetupText("A3JOB.SET");
  f.open_set_editor = [&](const std::string& name, bool new_file) {
    EXPECT_TRUE(new_file);
    SetEditForm ed(ports, f);
    ed.SetLoadDefault(name);
    ASSERT_TRUE(ed.SetDataLoad());
    edit(ed, ports);
    ed.cmdRun_Click();
    EXPECT_TRUE(ed.closed);
  };
  box.answers = {Answer::Yes};  // create the new SET file
  f.cmdEditSetupFile_Click();
  ASSERT_EQ(f.Tag, "RUN");
  ASSERT_TRUE(engine.exists("A3JOB.SET"));
  box.answers = {Answer::Ok};  // create the output folder
  f.Form_Activate();           // the hand-back: "RUN" starts the run
  ASSERT_EQ(process.started.size(), 1u);
  std::string pdf = home.str() + "/VLXFILES/Examples.PDF";
  ASSERT_TRUE(fs::exists(pdf)) << (box.titles().empty() ? "" : box.titles().back());
  auto check = testing_support::run_program({"/usr/bin/qpdf", "--check", pdf}, home.path());
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  auto info = testing_support::run_program({"/usr/bin/pdfinfo", pdf}, home.path());
  EXPECT_NE(info.out.find("(A3)"), std::string::npos) << info.out;
}

}  // namespace
}  // namespace quorvel
