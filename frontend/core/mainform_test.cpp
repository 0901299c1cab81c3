// Tests of the main window's logic: load, stored choices, engine discovery, reminders, closing.
#include "mainform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "globals.h"
#include "testing/fakes.h"
#include "testing/standin.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

// A home folder (drive C:) and the fakes a main window is given.
struct MainFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedInputBox input;
  fakes::ScriptedFileDialog files;
  fakes::FixedPrinters printers;
  fakes::FixedClock clock;
  Ports ports;
  MainFixture() {
    reset_globals();
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.inputbox = &input;
    ports.files = &files;
    ports.printers = &printers;
    ports.clock = &clock;
  }
  std::string engine7() { return home.str() + "/vlx7000/"; }
  std::string stored(const std::string& key) { return settings.get("Settings", key, "<none>"); }
};

TEST_F(MainFixture, FirstStartWithAnInstalledEngineAsksNothing) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  MainForm f(ports);
  f.Form_Load({});
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(f.txtVeltraxFolder, engine7());
  EXPECT_EQ(EngineVersion, "7022");
  EXPECT_EQ(f.cboInputFile.text, engine7() + "Examples/Examples.TXT");
  EXPECT_EQ(f.txtOutputPath, home.str() + "/VLXFILES/");  // where STANDARD.SET prints to files
  EXPECT_EQ(f.OutputTypeText(), "PDF + Preview");
  EXPECT_EQ(f.ActivityText(), "PROFILES");
  EXPECT_TRUE(f.chkSummary);
  EXPECT_EQ(f.cboSetupFile.text, "STANDARD.SET");
  EXPECT_EQ(f.cboSetupFile.items, std::vector<std::string>{"STANDARD.SET"});

  box.answers = {Answer::No};
  EXPECT_FALSE(f.Form_QueryUnload());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Save new Choices before Closing?");
  EXPECT_EQ(box.shown[0].text,
            "Do you want to Save your new choices?\n(Input File, Output Path changed)\n\nYes\t = Save and Close.\n"
            "No \t = Lose changes and Close.\nCancel\t = Do not End Quorvel");
  EXPECT_EQ(stored("InputFile"), "<none>");
}

// A first start finds an engine beside or just above the front end's own folder (the front end in the
// engine folder's quorvel/ subfolder) before any question, also when the home folder holds none.
TEST_F(MainFixture, FirstStartFindsTheEngineBesideOrAboveTheFrontEnd) {
  struct Case {
    const char* what;
    std::string engine, program;
  } cases[] = {
      {"above", home.str() + "/opt/veltrax/", home.str() + "/opt/veltrax/quorvel"},
      {"above, with a final separator", home.str() + "/opt/veltrax/", home.str() + "/opt/veltrax/quorvel/"},
      {"beside", home.str() + "/tools/vlx/", home.str() + "/tools/vlx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(home.path() / "opt");
    fs::remove_all(home.path() / "tools");
    fakes::write_standin_engine(c.engine, "7022");
    fs::create_directories(c.program);
    box.shown.clear();
    MainForm f(ports);
    f.ProgramFolder = c.program;
    f.Form_Load({});
    EXPECT_TRUE(box.shown.empty()) << box.shown[0].title;
    EXPECT_EQ(f.txtVeltraxFolder, c.engine);
  }
  // Two levels up is not "above": the usual questions come.
  fs::remove_all(home.path() / "opt");
  fakes::write_standin_engine(home.path() / "opt", "7022");
  fs::create_directories(home.path() / "opt/a/b");
  box.shown.clear();
  box.answers = {Answer::No, Answer::No};
  MainForm f(ports);
  f.ProgramFolder = home.str() + "/opt/a/b";
  f.Form_Load({});
  EXPECT_NE(f.txtVeltraxFolder, home.str() + "/opt/");
}

TEST_F(MainFixture, StoredValuesThatDoNotConvertTakeTheirDefaults) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  for (auto [k, v] : std::vector<std::pair<std::string, std::string>>{{"Output", "x"},
                                                                      {"Activity", "7"},
                                                                      {"Summary", "yes"},
                                                                      {"StackSize", "-3"},
                                                                      {"Top", "high"},
                                                                      {"Left", "-40"},
                                                                      {"LastFile1", "/a.txt"}})
    settings.set("Settings", k, v);
  MainForm f(ports);
  f.Form_Load({1000, 800, 600, 120});
  EXPECT_EQ(f.cboOutputType, 1);
  EXPECT_EQ(f.cboActivity, 0);
  EXPECT_TRUE(f.chkSummary);
  EXPECT_EQ(f.StackSize, 20);
  EXPECT_EQ(f.Top, 120);
  EXPECT_EQ(f.Left, 300);
  EXPECT_EQ(f.cboInputFile.items, std::vector<std::string>{"/a.txt"});
}

TEST_F(MainFixture, StackSizeZeroKeepsOneSetFileAndNoRecentInput) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  settings.set("Settings", "StackSize", "0");
  settings.set("Settings", "SETFile0", "A.SET");
  settings.set("Settings", "SETFile1", "B.SET");
  settings.set("Settings", "LastFile1", "/x.txt");
  MainForm f(ports);
  f.Form_Load({});
  EXPECT_EQ(f.cboSetupFile.items, std::vector<std::string>{"A.SET"});
  EXPECT_TRUE(f.cboInputFile.items.empty());
}

TEST_F(MainFixture, SaveAndExitStoresEveryChoice) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  settings.set("Settings", "Top", "11");
  settings.set("Settings", "Left", "22");
  for (int n = 0; n <= 20; ++n) settings.set("Settings", "SETFile" + std::to_string(n), "OLD" + std::to_string(n));
  MainForm f(ports);
  f.Form_Load({});
  f.cboSetupFile.items = {"A.SET", "B.SET", "C.SET"};
  f.SetOutputType(6);
  f.SetScale("250");
  f.SetSummary(false);
  f.WindowNormal = false;  // maximised: the stored position stays
  f.Top = 500;
  f.cmdExit_Click();
  EXPECT_EQ(stored("SETFile0"), "A.SET");
  EXPECT_EQ(stored("SETFile2"), "C.SET");
  for (int n = 3; n <= 20; ++n) EXPECT_EQ(stored("SETFile" + std::to_string(n)), "<none>") << n;
  EXPECT_EQ(stored("Output"), "6");
  EXPECT_EQ(stored("Scale"), "250");
  EXPECT_EQ(stored("Summary"), "0");
  EXPECT_EQ(stored("Veltrax Folder"), engine7());
  EXPECT_EQ(stored("Top"), "11");
  EXPECT_EQ(stored("Left"), "22");
  EXPECT_TRUE(f.ChangedChoices.empty());
  EXPECT_FALSE(f.Form_QueryUnload());
  EXPECT_TRUE(box.shown.empty());

  // The next start shows what was stored.
  MainForm g(ports);
  g.Form_Load({});
  EXPECT_EQ(g.cboOutputType, 6);
  EXPECT_FALSE(g.cmdOpen_visible);
  EXPECT_EQ(g.cboSetupFile.items, (std::vector<std::string>{"A.SET", "B.SET", "C.SET"}));
}

TEST_F(MainFixture, ReminderOfANewerEngineCanBeSilencedForAMonthPerVersion) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7023");
  auto load = [&] {
    box.shown.clear();
    MainForm f(ports);
    f.Form_Load({});
    return box.titles();
  };
  const std::vector<std::string> reminder = {"Quorvel may be out of date."};
  box.answers = {Answer::Cancel};
  EXPECT_EQ(load(), reminder);
  EXPECT_EQ(settings.get("Reminders", "7023"), "2026-12-10");
  clock.day += std::chrono::days(30);
  EXPECT_TRUE(load().empty());
  clock.day += std::chrono::days(1);
  box.answers = {Answer::Ok};
  EXPECT_EQ(load(), reminder);  // OK stores nothing: it comes again
  EXPECT_EQ(load(), reminder);
  fakes::write_standin_engine(home.path() / "vlx7000", "7024");
  settings.set("Reminders", "7023", "2026-12-31");
  EXPECT_EQ(load(), reminder);  // another version is reminded at once
  settings.set("Reminders", "7024", "no date");
  EXPECT_EQ(load(), reminder);
}

TEST_F(MainFixture, OlderEngineOffersTheSearch) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7010");
  MainForm f(ports);
  f.Form_Load({});
  ASSERT_EQ(box.titles(), std::vector<std::string>{"Look for Veltrax path?"});
  EXPECT_EQ(box.shown[0].text.rfind("Quorvel is using Veltrax Version 7010 on " + engine7() +
                                        "\nbut the Latest Veltrax is Version 7022 for 32- and 64-bit.",
                                    0),
            0u);
}

TEST_F(MainFixture, NoEngineAnywhere) {
  files.answers = {std::nullopt};  // the picker is cancelled
  MainForm f(ports);
  f.Form_Load({});
  EXPECT_EQ(box.titles(), (std::vector<std::string>{"Search more Locations or Drives?", "Veltrax path required!"}));
  // The answer No to the first question, the closing answer No to the second: no picker.
  EXPECT_TRUE(files.requests.empty());
  EXPECT_EQ(f.txtVeltraxFolder, "/");
  EXPECT_EQ(f.cboInputFile.text, "/Examples/Examples.TXT");

  box.shown.clear();
  box.answers = {Answer::No, Answer::Yes};
  MainForm g(ports);
  g.Form_Load({});
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].title, "Please locate Veltrax program profile");
  EXPECT_EQ(g.txtVeltraxFolder, "/");  // cancelled: nothing changed
}

TEST_F(MainFixture, Engine6000IsOfferedWhenTheStoredFolderHasNone) {
  fakes::write_standin_engine(home.path() / "vlx6000", "6008");
  settings.set("Settings", "Veltrax Folder", home.str() + "/gone");
  box.answers = {Answer::Yes};
  MainForm f(ports);
  f.Form_Load({});
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Use Veltrax 6000 path?"});
  EXPECT_EQ(f.txtVeltraxFolder, home.str() + "/vlx6000/");
  EXPECT_EQ(EngineVersion, "6008");
}

TEST_F(MainFixture, OutputTypeAndActivityRules) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  printers.names = {"Office", "Plotter"};
  MainForm f(ports);
  f.Form_Load({});
  f.ChangedChoices.clear();
  struct Case {
    int type;
    bool open, printer_list;
  } cases[] = {{0, true, false}, {1, true, false}, {3, true, true}, {4, true, false}, {5, false, false}, {6, false, false}};
  for (const Case& c : cases) {
    f.SetOutputType(c.type);
    EXPECT_EQ(f.cmdOpen_visible, c.open) << c.type;
    EXPECT_EQ(f.cboPrinters_visible, c.printer_list) << c.type;
  }
  f.SetOutputType(3);
  EXPECT_EQ(printers.calls, 1);  // filled once
  EXPECT_EQ(f.cboPrinters.text, "Office");
  f.cboPrinters.text = "Plotter";
  f.cboPrinters_Click();
  EXPECT_EQ(f.cboPrinters_tooltip, "Print PDF to Plotter");
  f.SetActivity(1);
  EXPECT_FALSE(f.cboInputFile_enabled);
  f.SetActivity(0);
  EXPECT_TRUE(f.cboInputFile_enabled);
  EXPECT_EQ(f.ChangedChoices, ", Output Type, Activity");
}

TEST_F(MainFixture, FileButtons) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  TempDir elsewhere;
  elsewhere.write("MINE.SET", "setup");
  MainForm f(ports);
  f.Form_Load({});
  f.ChangedChoices.clear();

  // Cancelled dialogs change nothing.
  for (int i = 0; i < 4; ++i) f.cmdFile_Click(i);
  EXPECT_EQ(files.requests.size(), 4u);
  EXPECT_TRUE(f.ChangedChoices.empty());
  EXPECT_EQ(files.requests[1].initial_name, engine7() + "STANDARD.SET");
  EXPECT_EQ(files.requests[3].initial_name, home.str() + "/VLXFILES/*");
  EXPECT_TRUE(files.requests[3].save);

  // A SET file elsewhere is copied into the engine folder after asking.
  files.answers = {elsewhere.str() + "/MINE.SET"};
  box.answers = {Answer::Ok};
  f.cmdFile_Click(1);
  ASSERT_EQ(box.titles(), std::vector<std::string>{"Wrong Path for SET file - COPY?"});
  EXPECT_EQ(box.shown[0].text, "The Setup File MINE.SET MUST be on the Veltrax Folder, i.e. on\n" + engine7() +
                                   "\n\nCopy MINE.SET there?");
  EXPECT_EQ(testing_support::read_file(home.path() / "vlx7000" / "MINE.SET"), "setup");
  EXPECT_EQ(f.cboSetupFile.items.front(), "MINE.SET");
  EXPECT_EQ(f.cboSetupFile.text, "MINE.SET");

  // Asked again, the file is there now: the question says it will be replaced. Cancel copies nothing.
  elsewhere.write("MINE.SET", "newer");
  files.answers = {elsewhere.str() + "/MINE.SET"};
  box.answers = {Answer::Cancel};
  f.cmdFile_Click(1);
  EXPECT_NE(box.shown.back().text.find("\nThe EXISTING File will be REPLACED!"), std::string::npos);
  EXPECT_EQ(testing_support::read_file(home.path() / "vlx7000" / "MINE.SET"), "setup");

  // In the engine folder: only its bare name goes into the list.
  files.answers = {engine7() + "OTHER.SET", engine7() + "profile", home.str() + "/out/x.NEW", "/jobs/a.txt"};
  f.cmdFile_Click(1);
  EXPECT_EQ(f.cboSetupFile.items.front(), "OTHER.SET");
  f.cmdFile_Click(0);
  EXPECT_EQ(f.txtVeltraxFolder, engine7());
  f.cmdFile_Click(3);
  EXPECT_EQ(f.txtOutputPath, home.str() + "/out/");
  f.cmdFile_Click(2);
  EXPECT_EQ(f.cboInputFile.text, "/jobs/a.txt");
  EXPECT_EQ(f.ChangedChoices, ", Setup File, Output Path, Input File");

  f.cmdFile_Click(4);
  EXPECT_EQ(box.shown.back().title, "Program Error!");
}

TEST_F(MainFixture, SettingsMenuAndTidyUpOnClosing) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  MainForm f(ports);
  f.Form_Load({});
  SettingsMenuTicks t = f.cmdSettings_Click();
  EXPECT_FALSE(t.nnns);
  EXPECT_FALSE(t.pause);
  EXPECT_TRUE(t.tidy_up);
  f.mnuSettingsNNNS_Click();
  f.mnuSettingsPause_Click();
  EXPECT_EQ(stored("NNNS Flag"), "True");
  EXPECT_TRUE(PauseBeforeExit);
  EXPECT_EQ(stored("DeleteFiles"), "<none>");

  testing_support::write_file(home.path() / "vlx7000" / "@runfile.dat", "run");
  testing_support::write_file(home.path() / "vlx7000" / "BH1.TRX", "hole");
  f.mnuSettingsTidyUp_Click();
  EXPECT_EQ(stored("DeleteFiles"), "False");
  f.ChangedChoices.clear();
  f.Form_QueryUnload();
  EXPECT_TRUE(fs::exists(home.path() / "vlx7000" / "BH1.TRX"));
  f.mnuSettingsTidyUp_Click();
  f.SetScale("100");
  box.answers = {Answer::Cancel};  // the window stays, the work files go all the same
  EXPECT_TRUE(f.Form_QueryUnload());
  EXPECT_FALSE(fs::exists(home.path() / "vlx7000" / "BH1.TRX"));
  EXPECT_FALSE(fs::exists(home.path() / "vlx7000" / "@runfile.dat"));
}

TEST_F(MainFixture, ActivationTakesTheRequestWord) {
  fakes::write_standin_engine(home.path() / "vlx7000", "7022");
  MainForm f(ports);
  f.Form_Load({});
  f.SetInputText("");
  f.Tag = "run";
  f.Form_Activate();
  EXPECT_EQ(f.Tag, "");
  // The run starts: without a way to start programs it says so.
  EXPECT_EQ(box.titles(), (std::vector<std::string>{"Error in Sub cmdRun_Click in frmMain"}));
  f.Form_Activate();
  EXPECT_EQ(box.shown.size(), 1u);
}

}  // namespace
}  // namespace quorvel
