// Tests of a run from the main window with a stand-in engine: the run file, the checks, viewing and
// printing the output, the recent lists, and the faults a run must not have.
#include <gtest/gtest.h>

#include <filesystem>

#include "globals.h"
#include "mainform.h"
#include "runfile.h"
#include "testing/fakes.h"
#include "testing/process.h"
#include "testsupport.h"
#include "viewing.h"

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::write_file;

namespace quorvel {
namespace {

struct PrintAnswer : PrintDialogPort {
  std::optional<PrintChoice> choice;
  std::vector<std::string> files;
  std::optional<PrintChoice> ask(const std::string& file) override {
    files.push_back(file);
    return choice;
  }
};

struct RunFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedFileDialog files;
  fakes::FixedPrinters printers;
  fakes::FixedClock clock;
  fakes::RecordingLauncher launcher;
  fakes::ScriptProcess process;
  PrintAnswer print;
  Ports ports;
  std::unique_ptr<MainForm> f;
  std::string engine, jobs, out;

  RunFixture() {
    reset_globals();
    engine = home.str() + "/vlx7000/";
    jobs = home.str() + "/jobs/";
    out = home.str() + "/out/";
    fakes::write_standin_script(engine);
    fs::create_directories(jobs);
    fs::create_directories(out);
    write_file(jobs + "Job12.txt", "job\n");
    settings.set("Settings", "Terminal", "");  // the engine runs without a terminal
    printers.names = {"Office"};
    ports = {&settings, &box, nullptr, &files, &printers, nullptr, &clock, &launcher, &process, nullptr, &print};
    f = std::make_unique<MainForm>(ports);
    f->Form_Load({});
    f->SetInputText(jobs + "Job12.txt");
    f->SetOutputPath(out);
    f->SetSetupText("STANDARD.SET");
    write_file(engine + "STANDARD.SET", "set\n");
  }
  std::string runfile() { return read_file(engine + "@runfile.dat"); }
  // The run file's line of an item, without its line end.
  std::string item(int n) {
    std::string s = runfile();
    for (size_t p = 0, e; (e = s.find("\r\n", p)) != std::string::npos; p = e + 2)
      if (s.compare(p, 2, std::to_string(n) + "/") == 0) return s.substr(p, e - p);
    return "<none>";
  }
};

TEST_F(RunFixture, RunFileBytes) {
  f->SetOutputType(1);
  f->cmdRun_Click();
  EXPECT_EQ(runfile(), "0/   setupfile = " + engine + "STANDARD.SET\r\n"
                       "1/   inputfile = " + jobs + "Job12.txt\r\n"
                       "2/      output = PDF\r\n"
                       "3/    holelist = ALL\r\n"
                       "4/    activity = 0\r\n"
                       "5/ output-addr = " + out + "\r\n"
                       "6/       scale = \r\n"
                       "7/     summary = YES\r\n"
                       "8/  targetcopy = " + out + "Job12.PDF\r\n");
  // The engine ran in the engine folder with the run file's name.
  EXPECT_EQ(read_file(engine + "args.txt"), home.str() + "/vlx7000\n@runfile.dat\n");
  EXPECT_EQ(process.started[0], (std::vector<std::string>{"./profile", "@runfile.dat"}));

  struct Case {
    const char* what;
    std::function<void()> set;
    int line;
    std::string expected;
  } cases[] = {
      {"blank setup", [&] { f->SetSetupText(""); }, 0, "0/   setupfile = "},
      {"unticked summary", [&] { f->SetSummary(false); }, 7, "7/     summary = "},
      {"scale as typed", [&] { f->SetScale(" 250"); }, 6, "6/       scale =  250"},
      {"print to a printer", [&] { f->SetOutputType(3); }, 2, "2/      output = PDF"},
      {"DXF", [&] { f->SetOutputType(6); }, 8, "8/  targetcopy = " + out + "Job12.DXF"},
      {"a pdf folder is kept", [&] {
         fs::create_directories(home.path() / "pdfs");
         f->SetOutputPath(home.str() + "/pdfs/");
         f->SetOutputType(5);
       }, 8, "8/  targetcopy = " + home.str() + "/pdfs/Job12.PGL"},
      {"pause with 7022", [&] { PauseBeforeExit = true; }, 9, "9/       debug = YES"},
  };
  for (const Case& c : cases) {
    f->SetSetupText("STANDARD.SET");
    f->SetSummary(true);
    f->SetScale("");
    f->SetOutputPath(out);
    f->SetOutputType(0);
    PauseBeforeExit = false;
    c.set();
    box.shown.clear();
    f->cmdRun_Click();
    EXPECT_EQ(item(c.line), c.expected) << c.what;
  }
}

TEST_F(RunFixture, OldEnginesAndTheSymbolTest) {
  fakes::write_standin_script(engine, "7001");
  f->txtVeltraxFolder_Change();
  PauseBeforeExit = true;
  f->SetOutputType(0);
  f->cmdRun_Click();
  EXPECT_EQ(item(9), "<none>");
  ASSERT_FALSE(box.shown.empty());
  EXPECT_EQ(box.shown[0].title, "Bad Option for OLD Veltrax!");
  PauseBeforeExit = false;

  fakes::write_standin_script(engine, "7022");
  f->txtVeltraxFolder_Change();
  f->SetActivity(1);
  std::vector<std::string> recent = f->cboInputFile.items;
  std::string last = settings.get("Settings", "LastFile1");
  for (int i = 1; i <= 3; ++i) {
    f->cmdRun_Click();
    EXPECT_EQ(item(1), "1/   inputfile = " + engine + "Examples/Symbol0" + std::to_string(i) + ".txt");
    EXPECT_EQ(item(4), "4/    activity = 1");
  }
  EXPECT_EQ(f->cboInputFile.items, recent);  // the symbol test leaves the recent lists alone
  EXPECT_EQ(settings.get("Settings", "LastFile1"), last);

  // An engine below 6005 reads the activity as a word (such an engine is refused before it runs).
  EXPECT_EQ(ActivityValue(1, "TEST-SYMB", "6004"), "TEST-SYMB");
  EXPECT_EQ(ActivityValue(0, "PROFILES", "6005"), "0");
  fakes::write_standin_script(engine, "6007");
  f->txtVeltraxFolder_Change();
  box.shown.clear();
  f->cmdRun_Click();
  EXPECT_EQ(box.titles(), std::vector<std::string>{"You need a Veltrax Upgrade!"});
}

TEST_F(RunFixture, EachOutputTypeIsViewedItsWay) {
  struct Case {
    int type;
    std::vector<std::string> argv;  // empty: nothing started
  } cases[] = {
      {0, {}},
      {1, {"xdg-open", out + "Job12.PDF"}},
      {2, {"lp", out + "Job12.PDF"}},
      {3, {"lp", "-d", "Office", out + "Job12.PDF"}},
      {4, {"lp", "-d", "Plotter", "-n", "2", "-P", "1-3", out + "Job12.PDF"}},
      {5, {}},
      {6, {}},
  };
  print.choice = PrintChoice{"Plotter", 2, "1-3"};
  for (const Case& c : cases) {
    launcher.started.clear();
    box.shown.clear();
    f->SetOutputType(c.type);
    f->cmdRun_Click();
    EXPECT_TRUE(box.shown.empty()) << c.type;
    if (c.argv.empty()) {
      EXPECT_TRUE(launcher.started.empty()) << c.type;
    } else {
      ASSERT_EQ(launcher.started.size(), 1u) << c.type;
      EXPECT_EQ(launcher.started[0].argv, c.argv);
    }
  }
  // Open after a run finds the run's PDF, under the same rule.
  f->SetOutputType(1);
  launcher.started.clear();
  f->cmdOpen_Click();
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv, (std::vector<std::string>{"xdg-open", out + "Job12.PDF"}));
  // A cancelled print dialog prints nothing.
  print.choice.reset();
  f->SetOutputType(4);
  launcher.started.clear();
  f->cmdRun_Click();
  EXPECT_TRUE(launcher.started.empty());
}

TEST_F(RunFixture, ARunThatMadeNothingIsSaidForEveryType) {
  write_file(engine + "no-target", "");
  for (int type = 0; type < 7; ++type) {
    box.shown.clear();
    f->SetOutputType(type);
    f->cmdRun_Click();
    EXPECT_EQ(box.titles(), std::vector<std::string>{"Veltrax did not create the Output File."}) << type;
  }
}

TEST_F(RunFixture, AnOldPdfThatCannotBeDeletedCanBeRetried) {
  write_file(out + "Job12.PDF", "old");
  int attempts = 0;
  f->remove_file = [&](const std::string& path, std::string& error) {
    if (++attempts == 1) {
      error = "Permission denied";
      return false;
    }
    fs::remove(path);
    return true;
  };
  box.answers = {Answer::Ok};
  f->SetOutputType(1);
  f->cmdRun_Click();
  ASSERT_FALSE(box.shown.empty());
  EXPECT_EQ(box.shown[0].title, "Can't delete old PDF file");
  EXPECT_EQ(box.shown[0].text.rfind("Permission denied on " + out + "Job12.PDF\n\n", 0), 0u);
  EXPECT_EQ(process.started.size(), 1u);

  attempts = 0;
  write_file(out + "Job12.PDF", "old");
  box.shown.clear();
  box.answers = {Answer::Cancel};
  f->cmdRun_Click();
  EXPECT_EQ(process.started.size(), 1u);  // cancelled: no run
}

TEST_F(RunFixture, RecentInputLists) {
  for (const char* n : {"a.txt", "b.txt", "c.txt"}) write_file(jobs + n, "x");
  settings.set("Settings", "LastFile1", jobs + "a.txt");
  settings.set("Settings", "LastFile2", jobs + "b.txt");
  settings.set("Settings", "LastFile3", jobs + "c.txt");
  f->cboInputFile.items = {jobs + "a.txt", jobs + "b.txt", jobs + "c.txt"};
  f->SetOutputType(0);
  f->SetInputText(jobs + "c.txt");
  f->cmdRun_Click();
  EXPECT_EQ(f->cboInputFile.items, (std::vector<std::string>{jobs + "c.txt", jobs + "a.txt", jobs + "b.txt"}));
  EXPECT_EQ(settings.get("Settings", "LastFile1"), jobs + "c.txt");
  EXPECT_EQ(settings.get("Settings", "LastFile2"), jobs + "a.txt");
  EXPECT_EQ(settings.get("Settings", "LastFile3"), jobs + "b.txt");
  EXPECT_EQ(settings.get("Settings", "LastFile4"), "");
  f->cmdRun_Click();  // at the top already: nothing moves
  EXPECT_EQ(f->cboInputFile.items[0], jobs + "c.txt");
  EXPECT_EQ(settings.get("Settings", "LastFile2"), jobs + "a.txt");
}

TEST_F(RunFixture, ValuesWithLineBreaksAreRefused) {
  std::string odd = jobs + "Job12\n0= X.txt";
  write_file(odd, "job");
  struct Case {
    std::function<void()> set;
    std::string item;
  } cases[] = {
      {[&] { f->SetInputText(odd); }, "Input File"},
      {[&] { f->SetScale("100\r\n0/ setupfile = X"); }, "Scale"},
  };
  for (const Case& c : cases) {
    f->SetInputText(jobs + "Job12.txt");
    f->SetScale("");
    c.set();
    box.shown.clear();
    fs::remove(engine + "@runfile.dat");
    f->cmdRun_Click();
    ASSERT_EQ(box.titles(), std::vector<std::string>{"Can't write the @RunFile!"}) << c.item;
    EXPECT_NE(box.shown[0].text.find("The " + c.item + " of this run"), std::string::npos);
    EXPECT_FALSE(fs::exists(engine + "@runfile.dat"));
  }
  EXPECT_TRUE(process.started.empty());
}

TEST_F(RunFixture, ASecondRunWaitsAndAStuckRunCanBeStopped) {
  process.deferred = true;
  f->SetOutputType(1);
  f->cmdRun_Click();
  EXPECT_TRUE(f->Running());
  f->cmdRun_Click();
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Veltrax is running!"});
  EXPECT_EQ(process.started.size(), 1u);
  f->stop_run();
  EXPECT_EQ(process.stops, 1);
  EXPECT_FALSE(f->Running());
  EXPECT_EQ(box.titles(), (std::vector<std::string>{"Veltrax is running!", "Veltrax run stopped"}));
  EXPECT_TRUE(launcher.started.empty());

  box.shown.clear();
  f->cmdRun_Click();
  process.finish();
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(launcher.started.size(), 1u);
}

TEST_F(RunFixture, ChecksBeforeTheRun) {
  // A setup file that is not in the engine folder leaves the list and the box.
  f->cboSetupFile.items = {"MY.SET", "STANDARD.SET"};
  f->SetSetupText("MY.SET");
  f->cmdRun_Click();
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Setup File required! Find Now?"});
  EXPECT_EQ(f->cboSetupFile.items, std::vector<std::string>{"STANDARD.SET"});
  EXPECT_EQ(f->cboSetupFile.text, "");
  EXPECT_TRUE(process.started.empty());

  box.shown.clear();
  f->SetInputText(jobs + "missing.txt");
  f->cmdRun_Click();
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Input Path\\File required!"});

  box.shown.clear();
  f->SetInputText(jobs + "Job12.txt");
  write_file(home.str() + "/afile", "x");
  f->SetOutputPath(home.str() + "/afile");
  box.answers = {Answer::Ok};
  f->cmdRun_Click();
  EXPECT_EQ(box.titles(),
            (std::vector<std::string>{"Create required Output Path?", "Can't Create Output Path = File name!"}));
  EXPECT_EQ(f->txtOutputPath, home.str() + "/afile/");

  box.shown.clear();
  f->SetOutputPath(home.str() + "/new");
  box.answers = {Answer::Ok};
  f->cmdRun_Click();
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Create required Output Path?"});
  EXPECT_TRUE(fs::is_directory(home.path() / "new"));
  EXPECT_TRUE(fs::exists(home.path() / "new" / "Job12.PDF"));
}

TEST_F(RunFixture, NetworkModeRunsOnACopy) {
  settings.set("Settings", "NNNS Flag", "True");
  f->SetOutputType(1);
  f->cmdRun_Click();
  EXPECT_EQ(item(1), "1/   inputfile = " + engine + "network/Job12.txt");
  EXPECT_EQ(item(8), "8/  targetcopy = " + engine + "network/temp1.pdf");
  EXPECT_TRUE(fs::exists(out + "Job12.PDF"));
  EXPECT_FALSE(fs::exists(engine + "network"));
}

TEST_F(RunFixture, LaunchFailures) {
  struct Case {
    std::string file;
    ProgramEnd end;
    std::string message;
  } cases[] = {
      {out + "Gone.PDF", {}, "Unable to Launch the File\n" + out + "Gone.PDF\n\nFile not found: Veltrax did not create the PDF File."},
      {jobs + "Job12.txt", {true, false, 3, ""}, "Unable to Launch the File\n" + jobs + "Job12.txt\n\nNo program on this computer opens .txt files.\nInstall one, or choose one with Open With in the desktop's file manager, then try again."},
      // No PDF reader, no xdg-open: the message says what to install.
      {out + "Made.PDF", {true, false, 3, ""}, "Unable to Launch the File\n" + out + "Made.PDF\n\nNo PDF reader is installed on this computer.\nInstall one, for example with the command\n    sudo apt install evince\n(other PDF readers: okular, qpdfview, mupdf), then try again."},
      {"file:///opt/quorvel/help/04%20Text%20File%20Editor.htm#wrap", {true, false, 3, "xdg-open: no method available"}, "Unable to Launch the File\nfile:///opt/quorvel/help/04%20Text%20File%20Editor.htm#wrap\n\nNo web browser is installed on this computer.\nInstall one, for example with the command\n    sudo apt install firefox-esr\n(other web browsers: chromium, epiphany-browser), then try again."},
      {out + "Made.PDF", {false, false, 0, "No such file or directory"}, "Unable to Launch the File\n" + out + "Made.PDF\n\nxdg-open, which hands files to the desktop's programs, is not installed.\nInstall it with the command\n    sudo apt install xdg-utils\nthen try again."},
      {jobs + "Job12.txt", {true, false, 4, "xdg-open: no method available"}, "Unable to Launch the File\n" + jobs + "Job12.txt\n\nxdg-open: no method available"},
  };
  fs::create_directories(out);
  testing_support::write_file(out + "Made.PDF", "%PDF-1.4\n");
  for (const Case& c : cases) {
    box.shown.clear();
    launcher.ends = {c.end};
    LaunchFile(ports, "", c.file, "");
    ASSERT_EQ(box.shown.size(), 1u) << c.file;
    EXPECT_EQ(box.shown[0].text, c.message);
    EXPECT_EQ(box.shown[0].title, "Quorvel Error Executing File");
  }
  EXPECT_EQ(ShellExecuteErrorText(99), "Unknown ShellExecute Error 99");
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST(HelpAbout, AboutTexts) {
  struct Case {
    std::string version;
    bool warn;
    std::vector<std::string> has, lacks;
  } cases[] = {
      {"7022", false, {"This works with Quorvel."}, {"not the latest", "WARNING"}},
      {"6010", false, {"This works with Quorvel.", "\nbut is not the latest version - you will lack some features."}, {}},
      {"(not found)", false, {"\nYou need Veltrax Version 6008 or later!"}, {"This works"}},
      {"6008", true, {"\nWARNING: THIS 32-bit Veltrax WILL NOT RUN ON YOUR 64-bit SYSTEM!  You need to upgrade to Version 7022"}, {}},
  };
  for (const Case& c : cases) {
    std::string t = AboutText(c.version, "/e/", "Debian Version 12\n64-bit, 8 processors", c.warn);
    EXPECT_NE(t.find("\nYou have Veltrax Version " + c.version + " on /e/"), std::string::npos);
    EXPECT_NE(t.find("\nYou are running\nDebian Version 12\n64-bit, 8 processors"), std::string::npos);
    for (const auto& h : c.has) EXPECT_NE(t.find(h), std::string::npos) << c.version << ": " << h;
    for (const auto& l : c.lacks) EXPECT_EQ(t.find(l), std::string::npos) << c.version << ": " << l;
  }
  EXPECT_EQ(AboutText("7022", "/e/", "Error 1: x", false).find("You are running"), std::string::npos);
}

TEST(HelpAbout, HelpPages) {
  HelpFile = "/opt/quorvel/help/";
  EXPECT_EQ(HelpPageUrl("::/04 Text File Editor.htm#wrap"), "file:///opt/quorvel/help/04%20Text%20File%20Editor.htm#wrap");
  EXPECT_EQ(HelpPageUrl(""), "file:///opt/quorvel/help/index.htm");
  HelpFile.clear();
}

TEST_F(RunFixture, HelpAboutSupportAndTheEngineConsole) {
  TempDir help;
  HelpFile = help.str() + "/";
  write_file(help.str() + "/index.htm", "<html></html>");
  f->cmdHelp_Click(0);
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv, (std::vector<std::string>{"xdg-open", "file://" + help.str() + "/index.htm"}));
  fs::remove(help.str() + "/index.htm");
  f->cmdHelp_Click(0);
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Error in Sub cmdHelp_Click!"});

  box.shown.clear();
  launcher.started.clear();
  fakes::FixedOs os;
  os.facts.os_release = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nVERSION_ID=\"12\"\n";
  os.facts.kernel_release = "6.1.0";
  os.facts.machine = "x86_64";
  os.facts.processors = 8;
  MainForm g({&settings, &box, nullptr, &files, &printers, nullptr, &clock, &launcher, &process, &os, &print});
  g.SetVeltraxFolder(engine);
  box.answers = {Answer::Yes};
  g.cmdAbout_Click();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "About quorvel for Veltrax");
  EXPECT_EQ(box.shown[0].default_answer, Answer::No);
  EXPECT_NE(box.shown[0].text.find("Debian GNU/Linux 12 (bookworm) Version 12 Kernel 6.1.0\n64-bit, 8 processors"),
            std::string::npos);
  EXPECT_EQ(box.shown[0].text.find("WARNING"), std::string::npos);  // the stand-in is no 32-bit program
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv[1], "file://" + help.str() + "/08%20Updating.htm");

  box.shown.clear();
  launcher.started.clear();
  f->cmdSupport_Click();
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv,
            (std::vector<std::string>{"xdg-email", "mailto:support@vlx7000.example?subject=Bug/Support on Veltrax/Quorvel (details below)"}));
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Support e-mail Created"});
  EXPECT_NE(box.shown[0].text.find("\t" + engine + "STANDARD.SET\n\t" + jobs + "Job12.txt\n"), std::string::npos);

  // The engine's console: in the terminal, or a message when there is none.
  box.shown.clear();
  launcher.started.clear();
  f->cmdRegVeltrax_Click();
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Veltrax failed to run!"});
  EXPECT_TRUE(launcher.started.empty());
  settings.set("Settings", "Terminal", "xterm");
  f->cmdRegVeltrax_Click();
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv, (std::vector<std::string>{"xterm", "-maximized", "-e", "./profile"}));
  EXPECT_EQ(launcher.started[0].folder, home.str() + "/vlx7000");
  HelpFile.clear();
}

TEST_F(RunFixture, TheManual) {
  box.answers = {Answer::Cancel};
  f->cmdManual_Click(0);
  ASSERT_EQ(box.titles(), std::vector<std::string>{"Veltrax Manual is Missing!"});
  EXPECT_EQ(box.shown[0].text.rfind("The file " + engine + "manual/Veltrax_User_Manual.pdf can not be found.\n", 0), 0u);
  box.answers = {Answer::Yes};  // search: the dialog is cancelled, and that is all
  f->cmdManual_Click(1);
  EXPECT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(files.requests.back().title, "Please locate the Veltrax Tutorial");
  fs::create_directories(engine + "manual");
  write_file(engine + "manual/Veltrax Tutor.PDF", "%PDF");
  f->cmdManual_Click(1);
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv, (std::vector<std::string>{"xdg-open", engine + "manual/Veltrax Tutor.PDF"}));
}

}  // namespace
}  // namespace quorvel
