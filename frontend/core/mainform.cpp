// The logic of the main window: stored choices, start and end, change tracking, file buttons.
#include "mainform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "buildinfo.h"
#include "globals.h"
#include "platform/paths.h"
#include "version.h"
#include "viewing.h"

namespace fs = std::filesystem;

namespace quorvel {

const std::vector<std::string> kOutputTypes = {"PDF", "PDF + Preview", "PDF + Print All Now!", "PDF + Print All to...",
                                               "PDF + Print dialog", "PGL", "DXF"};
const std::vector<std::string> kActivities = {"PROFILES", "TEST-SYMB"};

namespace {

const char* const kSettings = "Settings";
const char* const kReminders = "Reminders";
// The folder that STANDARD.SET's "Default path for Print-to-File" names.
const char* const kDefaultOutputFolder = "C:\\VLXFILES\\";

// A whole number stored as text; false when the text is no number.
bool parse_long(const std::string& s, long& out) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(t.c_str(), &end);
  if (*end != '\0' || errno == ERANGE || v != v || v < -2147483648.0 || v > 2147483647.0) return false;
  out = static_cast<long>(v < 0 ? v - 0.5 : v + 0.5);
  return true;
}

long stored_number(SettingsStore& s, const std::string& key, long fallback, long lowest, long highest) {
  long v = 0;
  if (!parse_long(s.get(kSettings, key), v) || v < lowest || v > highest) return fallback;
  return v;
}

// A name that names its own folder: a drive letter, or a path from the root.
bool is_full_name(const std::string& s) {
  return s.find(':') != std::string::npos || (!s.empty() && IsSeparator(s.front()));
}

// The native folder of a name that the engine would write "C:\vlx7000\": home folder written out.
std::string engine_candidate(const char* windows_name) { return DisplayFolder(windows_name); }

}  // namespace

bool ParseIsoDate(const std::string& s, std::chrono::sys_days& out) {
  int y = 0;
  unsigned m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(s.c_str(), "%d-%u-%u%c", &y, &m, &d, &tail) != 3) return false;
  std::chrono::year_month_day ymd{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
  if (!ymd.ok()) return false;
  out = std::chrono::sys_days(ymd);
  return true;
}

std::string IsoDate(std::chrono::sys_days d) {
  std::chrono::year_month_day ymd(d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()));
  return buf;
}

MainForm::MainForm(const Ports& ports) : ports_(ports) {
  if (!ports_.host) ports_.host = &default_host_;
  remove_file = [](const std::string& path, std::string& error) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) error = ec.message();
    return !ec;
  };
}

std::string MainForm::OutputTypeText() const {
  return cboOutputType >= 0 && cboOutputType < static_cast<int>(kOutputTypes.size()) ? kOutputTypes[cboOutputType] : "";
}

std::string MainForm::ActivityText() const {
  return cboActivity >= 0 && cboActivity < static_cast<int>(kActivities.size()) ? kActivities[cboActivity] : "";
}

std::string MainForm::EngineFolder() const { return WithFinalSeparator(txtVeltraxFolder); }

std::string MainForm::Caption() { return "Quorvel for Veltrax - Version " + ProgramVersion(); }

Answer MainForm::ask(const std::string& text, Buttons b, Icon i, const std::string& title) {
  if (!ports_.msgbox) return b == Buttons::YesNo ? Answer::No : Answer::Cancel;
  return ports_.msgbox->show({text, b, i, title});
}

OsFactsPort& MainForm::os() { return ports_.os ? *ports_.os : default_os_; }

void MainForm::track(const std::string& item) {
  if (!ContainsText(ChangedChoices, item)) ChangedChoices += item;
}

// ---- Changes made by the logic ----

void MainForm::SetVeltraxFolder(const std::string& s) {
  if (s == txtVeltraxFolder) return;
  txtVeltraxFolder = s;
  txtVeltraxFolder_Change();
}

void MainForm::SetSetupText(const std::string& s) {
  if (s == cboSetupFile.text) return;
  cboSetupFile.text = s;
  cboSetupFile_Change();
}

void MainForm::SetInputText(const std::string& s) {
  if (s == cboInputFile.text) return;
  cboInputFile.text = s;
  cboInputFile_Change();
}

void MainForm::SetOutputPath(const std::string& s) {
  if (s == txtOutputPath) return;
  txtOutputPath = s;
  txtOutputPath_Change();
}

void MainForm::SetScale(const std::string& s) {
  if (s == txtScale) return;
  txtScale = s;
  txtScale_Change();
}

void MainForm::SetOutputType(int index) {
  cboOutputType = index;
  cboOutputType_Click();
}

void MainForm::SetActivity(int index) {
  cboActivity = index;
  cboActivity_Click();
}

void MainForm::SetSummary(bool ticked) {
  if (ticked == chkSummary) return;
  chkSummary = ticked;
  chkSummary_Click();
}

// ---- Events of the controls ----

void MainForm::txtVeltraxFolder_Change() {
  track(", Veltrax path");
  EngineVersion = GetEngineVersion(txtVeltraxFolder);
}

void MainForm::cboSetupFile_Change() { track(", Setup File"); }
void MainForm::cboSetupFile_Click() { track(", Setup File"); }
void MainForm::cboInputFile_Change() { track(", Input File"); }
void MainForm::cboInputFile_Click() { track(", Input file"); }
void MainForm::txtScale_Change() { track(", Scale"); }
void MainForm::txtOutputPath_Change() { track(", Output Path"); }
void MainForm::chkSummary_Click() { track(", Summary"); }

void MainForm::cboOutputType_Click() {
  // On this system "PDF + Print dialog" uses the front end's own print dialog: no reader to locate.
  std::string type = OutputTypeText();
  cmdOpen_visible = ContainsText(type, "PDF");
  cboPrinters_visible = type == "PDF + Print All to...";
  if (cboPrinters_visible && cboPrinters.items.empty() && ports_.printers) {
    cboPrinters.items = ports_.printers->printers();
    if (!cboPrinters.items.empty()) {
      cboPrinters.index = 0;
      cboPrinters.text = cboPrinters.items[0];
    }
  }
  track(", Output Type");
}

void MainForm::cboActivity_Click() {
  cboInputFile_enabled = ActivityText() != "TEST-SYMB";
  track(", Activity");
}

void MainForm::cboPrinters_Click() { cboPrinters_tooltip = "Print PDF to " + cboPrinters.text; }

// ---- Start ----

void MainForm::Form_Load(const ScreenFacts& screen) {
  SettingsStore& s = *ports_.settings;
  AppName = "quorvel";
  ports_.host->set_caption(Caption());

  long top = stored_number(s, "Top", screen.designed_top, -2147483647L, 2147483647L);
  long left = stored_number(s, "Left", (screen.screen_width - screen.window_width) / 2, -2147483647L, 2147483647L);
  if (top < 0 || top > screen.screen_height) top = 300;
  if (left < 0 || left > screen.screen_width) left = 300;
  Top = static_cast<int>(top);
  Left = static_cast<int>(left);
  Geometry = s.get(kSettings, "Geometry");

  ports_.host->show_window();

  ReaderPath = s.get(kSettings, "Adobe Reader");
  SetSetupText(s.get(kSettings, "SetupFile", "STANDARD.SET"));
  SetInputText(s.get(kSettings, "InputFile"));
  SetOutputPath(s.get(kSettings, "OutputAddr"));
  SetOutputType(static_cast<int>(stored_number(s, "Output", 1, 0, static_cast<long>(kOutputTypes.size()) - 1)));
  SetActivity(static_cast<int>(stored_number(s, "Activity", 0, 0, static_cast<long>(kActivities.size()) - 1)));
  SetScale(s.get(kSettings, "Scale"));
  SetSummary(stored_number(s, "Summary", 1, 0, 2) != 0);
  StackSize = stored_number(s, "StackSize", 20, 0, 10000);

  cboSetupFile.items.clear();
  for (long n = 0; n <= StackSize; ++n) {
    std::string v = s.get(kSettings, "SETFile" + std::to_string(n));
    if (v.empty()) {
      if (n > 0) break;
      v = cboSetupFile.text;
      if (v.empty()) break;
    }
    cboSetupFile.items.push_back(v);
  }
  cboInputFile.items.clear();
  for (long n = 1; n <= StackSize; ++n) {
    std::string v = s.get(kSettings, "LastFile" + std::to_string(n));
    if (v.empty()) break;
    cboInputFile.items.push_back(v);
  }

  std::string folder = s.get(kSettings, "Veltrax Folder");
  if (folder.empty() && !ProgramFolder.empty()) {
    fs::path own = fs::path(ProgramFolder).lexically_normal();
    if (own.filename().empty()) own = own.parent_path();  // "/opt/vlx7000/quorvel/" names .../quorvel
    for (const fs::path& candidate : {own, own.parent_path()}) {
      if (!candidate.empty() && Exists(WithFinalSeparator(candidate.string()) + kEngineProgram)) {
        folder = DisplayFolder(WithFinalSeparator(candidate.string()));
        break;
      }
    }
  }
  if (folder.empty()) {
    if (Exists(std::string("C:\\vlx7000\\") + kEngineProgram))
      folder = engine_candidate("C:\\vlx7000\\");
    else if (Exists(std::string("C:\\vlx6000\\") + kEngineProgram))
      folder = engine_candidate("C:\\vlx6000\\");
  }
  SetVeltraxFolder(WithFinalSeparator(folder));

  ChangedChoices.clear();
  discover_engine();

  if (Trim(cboInputFile.text).empty() && !Trim(txtVeltraxFolder).empty()) {
    SetInputText(txtVeltraxFolder + "Examples/Examples.TXT");
    if (txtOutputPath.empty()) SetOutputPath(DisplayFolder(kDefaultOutputFolder));
  }
}

void MainForm::discover_engine() {
  std::string home = DisplayFolder("C:\\");
  for (;;) {
    std::string folder = EngineFolder();
    if (Exists(folder + kEngineProgram)) {
      check_version();
      return;
    }
    if (Exists(std::string("C:\\vlx6000\\") + kEngineProgram)) {
      MessageText = "Quorvel can not find Veltrax on " + folder +
                    " !\nWould you like to use your existing vlx6000 instead?\n\nNOTE:\n"
                    "To Check for a newer version on a hard drive, click Check.\n"
                    "To Check for a newer version on the Internet, click About.";
      if (ask(MessageText, Buttons::YesNo, Icon::Question, "Use Veltrax 6000 path?") != Answer::Yes) return;
      SetVeltraxFolder(engine_candidate("C:\\vlx6000\\"));
      continue;
    }
    if (Exists(std::string("C:\\vlx5000\\") + kEngineProgram)) {
      SetVeltraxFolder(engine_candidate("C:\\vlx5000\\"));
      CheckInstalled("", ports_);
      return;
    }
    if (!CheckInstalled("", ports_)) {
      MessageText = "To run Quorvel for Veltrax successfully, you must locate the Veltrax folder,\n"
                    "containing the program " + std::string(kEngineProgram) + ".\nIt should be named " + home +
                    "vlx6000 or " + home + "vlx7000.\n\nWould you like to do this now?";
      if (ask(MessageText, Buttons::YesNo, Icon::Question, "Veltrax path required!") == Answer::Yes) cmdFile_Click(0);
    }
    return;
  }
}

void MainForm::check_version() {
  std::string folder = EngineFolder();
  EngineVersion = GetEngineVersion(folder);
  std::string latest = CompareVersionText(EngineVersion.substr(0, 2), "70") < 0 ? kLatest6000 : kLatest7000;
  MessageText = "Quorvel is using Veltrax Version " + EngineVersion + " on " + folder;
  int c = CompareVersionText(EngineVersion, latest);
  if (c == 0) return;
  if (c < 0) {
    MessageText += "\nbut the Latest Veltrax is Version " + std::string(kLatest7000) +
                   " for 32- and 64-bit.\n\nWould you like to check for a newer Veltrax on a hard drive?\n\n"
                   "To Check for a newer version on the Internet, click NO, then About.";
    if (ask(MessageText, Buttons::YesNo, Icon::Question, "Look for Veltrax path?") == Answer::Yes) CheckInstalled("", ports_);
    return;
  }
  // Newer than this front end knows: remind at most once in 30 days per engine version.
  std::chrono::sys_days today = ports_.clock ? ports_.clock->today() : SystemClock().today();
  std::chrono::sys_days last{};
  bool reminded = ParseIsoDate(ports_.settings->get(kReminders, EngineVersion), last);
  if (reminded && (today - last).count() <= 30) return;
  MessageText += "\nThis is after the latest version this Quorvel knows,\nVersion " + std::string(kLatest6000) +
                 " for 32-bit, and " + kLatest7000 +
                 " for 64-bit.\n\nWe suggest you update your Veltrax+Quorvel package to get the newest features.\n"
                 "To Check for a newer version on the Internet, click OK, then About.\n\n"
                 "To not be reminded again for a month, click Cancel.";
  if (ask(MessageText, Buttons::OkCancel, Icon::Information, "Quorvel may be out of date.") == Answer::Cancel)
    ports_.settings->set(kReminders, EngineVersion, IsoDate(today));
}

void MainForm::Form_Activate() {
  if (EqualText(Tag, "RUN")) {
    Tag.clear();
    cmdRun_Click();
  }
  ports_.host->set_busy(false);
}

// ---- End ----

void MainForm::cmdExit_Click() {
  SettingsStore& s = *ports_.settings;
  s.set(kSettings, "Veltrax Folder", txtVeltraxFolder);
  s.set(kSettings, "SetupFile", cboSetupFile.text);
  s.set(kSettings, "InputFile", cboInputFile.text);
  s.set(kSettings, "OutputAddr", txtOutputPath);
  s.set(kSettings, "Output", std::to_string(cboOutputType));
  s.set(kSettings, "Activity", std::to_string(cboActivity));
  s.set(kSettings, "Scale", txtScale);
  s.set(kSettings, "Summary", chkSummary ? "1" : "0");
  if (!ReaderPath.empty()) s.set(kSettings, "Adobe Reader", ReaderPath);
  if (WindowNormal) {
    s.set(kSettings, "Top", std::to_string(Top));
    s.set(kSettings, "Left", std::to_string(Left));
  }
  if (!Geometry.empty()) s.set(kSettings, "Geometry", Geometry);
  ChangedChoices.clear();
  CurrentStep = "Saving Setup Files in Registry List";
  for (long n = 0; n <= StackSize; ++n) {
    std::string key = "SETFile" + std::to_string(n);
    if (n < static_cast<long>(cboSetupFile.items.size()))
      s.set(kSettings, key, cboSetupFile.items[static_cast<size_t>(n)]);
    else
      s.remove(kSettings, key);
  }
  CurrentStep.clear();
}

bool MainForm::Form_QueryUnload() {
  if (unload_other_windows) unload_other_windows();
  bool cancel = false;
  if (!ChangedChoices.empty()) {
    MessageText = "Do you want to Save your new choices?\n(" + ChangedChoices.substr(2) +
                  " changed)\n\nYes\t = Save and Close.\nNo \t = Lose changes and Close.\nCancel\t = Do not End Quorvel";
    Answer a = ask(MessageText, Buttons::YesNoCancel, Icon::Question, "Save new Choices before Closing?");
    if (a == Answer::Cancel) cancel = true;
    if (a == Answer::Yes) cmdExit_Click();
  }
  if (setting_flag("DeleteFiles", true)) DeleteTempFiles(txtVeltraxFolder);
  return cancel;
}

// ---- Settings menu ----

bool MainForm::setting_flag(const std::string& key, bool fallback) {
  std::string v = Trim(ports_.settings->get(kSettings, key));
  if (EqualText(v, "True") || v == "1" || v == "-1") return true;
  if (EqualText(v, "False") || v == "0") return false;
  return fallback;
}

SettingsMenuTicks MainForm::cmdSettings_Click() {
  return {setting_flag("NNNS Flag", false), PauseBeforeExit, setting_flag("DeleteFiles", true)};
}

void MainForm::mnuSettingsNNNS_Click() {
  ports_.settings->set(kSettings, "NNNS Flag", setting_flag("NNNS Flag", false) ? "False" : "True");
}

void MainForm::mnuSettingsPause_Click() { PauseBeforeExit = !PauseBeforeExit; }

void MainForm::mnuSettingsTidyUp_Click() {
  ports_.settings->set(kSettings, "DeleteFiles", setting_flag("DeleteFiles", true) ? "False" : "True");
}

// ---- File buttons ----

void MainForm::cmdFile_Click(int index) {
  if (index < 0 || index > 3) {
    ask("cmdFile " + std::to_string(index) + " does not exist!", Buttons::Ok, Icon::Exclamation, "Program Error!");
    return;
  }
  if (!ports_.files) return;
  FileDialogRequest r;
  switch (index) {
    case 0:
      r = {EngineFolder() + kEngineProgram, std::string("Please locate Veltrax program ") + kEngineProgram, "",
           std::string("Veltrax (") + kEngineProgram + ")|" + kEngineProgram, false};
      break;
    case 1: {
      if (!Trim(txtVeltraxFolder).empty() && !EndsWithSeparator(txtVeltraxFolder)) SetVeltraxFolder(EngineFolder());
      std::string name = cboSetupFile.text.empty() ? "*.SET" : cboSetupFile.text;
      if (!is_full_name(name)) name = EngineFolder() + name;
      r = {name, "Please locate Setup File (Blank = STANDARD.SET)", "SET", "Setup File (*.SET)|*.SET", false};
      break;
    }
    case 2:
      r = {cboInputFile.text, "Please locate Input File (Obligatory!)", "TXT",
           "Text File (*.TXT)|*.TXT|Word Document (*.DOC)|*.DOC|All Files (*.*)|*", false};
      break;
    case 3:
      r = {WithFinalSeparator(txtOutputPath) + "*", "Please locate any file in the Output Folder, or name a new file",
           "NEW", "All Files (*.*)|*", true};
      break;
  }
  std::optional<std::string> chosen = ports_.files->choose(r);
  if (!chosen || chosen->empty()) return;  // cancelled: nothing changes
  const std::string& name = *chosen;
  switch (index) {
    case 0:
      SetVeltraxFolder(FolderOf(name));
      break;
    case 1: {
      std::string folder = EngineFolder();
      std::string rest = StartsWithText(name, folder) ? name.substr(folder.size()) : name;
      if (rest.find_first_of("/\\") == std::string::npos) {
        AddFileToList(rest, cboSetupFile);
        cboSetupFile_Change();
        break;
      }
      std::string title = FileTitleOf(name);
      MessageText = "The Setup File " + title + " MUST be on the Veltrax Folder, i.e. on\n" + folder + "\n\nCopy " +
                    title + " there?";
      if (Exists(folder + title)) MessageText += "\nThe EXISTING File will be REPLACED!";
      if (ask(MessageText, Buttons::OkCancel, Icon::Question, "Wrong Path for SET file - COPY?") != Answer::Ok) break;
      std::error_code ec;
      platform::MappedPath from = platform::map_existing(name);
      platform::MappedPath to = platform::map_for_create(folder + title);
      fs::copy_file(from.path, to.path, fs::copy_options::overwrite_existing, ec);
      if (ec || from.error || to.error) {
        ask((ec ? ec.message() : std::string("File not found")) + "\nCopying " + name + " to " + folder, Buttons::Ok,
            Icon::Exclamation, "Error in Sub cmdFile_Click in frmMain");
        break;
      }
      AddFileToList(title, cboSetupFile);
      cboSetupFile_Change();
      break;
    }
    case 2:
      SetInputText(name);
      break;
    case 3:
      SetOutputPath(FolderOf(name));
      break;
  }
}

void MainForm::cmdInstall_Click() { CheckInstalled("", ports_); }

// ---- Buttons whose windows come later ----

void MainForm::cmdEditInputFile_Click() {
  const std::string file = Trim(cboInputFile.text);
  if (WordChoice == 0 && ContainsText(file, ".DOC")) {
    MessageText =
        "Do You want to Edit your DOC files in Microsoft Word?\n  If so, you must remember to save and close the "
        "file before using it.\n\nClick NO to use the Quorvel for Veltrax Editor:\n  This will read your Word file "
        "and let you save it as a Text file.\n  This Editor is easy to use and has an 'Insert' Menu that puts in\n"
        "  the standard Format Control Characters used by Veltrax.\n  To Run a file directly from the Editor click "
        "the [Run Now] button.\n\nClick Cancel if you need to cable Moscow for Instructions...";
    Answer a = ports_.msgbox->show({MessageText, Buttons::YesNoCancel, Icon::Question, "Use Word to Edit DOC files?",
                                    Answer::No});
    if (a == Answer::Cancel) return;
    WordChoice = a == Answer::Yes ? 2 : 1;
  }
  ports_.host->set_busy(true);
  if (WordChoice == 2 && ContainsText(file, ".DOC")) {
    LaunchFile(ports_, "", file, "");
  } else if (show_text_editor) {
    show_text_editor(file);
  } else {
    NotAvailableYet(*ports_.msgbox);
  }
  ports_.host->set_busy(false);
}
void MainForm::cmdEditSetupFile_Click() {
  if (!open_set_editor) {
    NotAvailableYet(*ports_.msgbox);
    return;
  }
  if (!LocateEngine()) return;
  SetSetupText(Trim(cboSetupFile.text));
  std::string name = cboSetupFile.text.empty() ? "STANDARD.SET" : cboSetupFile.text;
  // A SET file named without a folder lives in the engine folder.
  if (!is_full_name(name)) name = EngineFolder() + name;
  if (Exists(name)) {
    ports_.host->set_busy(true);
    open_set_editor(name, false);
  } else {
    MessageText = "The Setup File name\n" + name +
                  "\ndoes not exist or is misspelled.\n\nDo you want to create this as a NEW Setup (.SET) File?";
    if (ask(MessageText, Buttons::YesNo, Icon::Question, "Create NEW Setup File?") != Answer::Yes) {
      cboSetupFile_select = true;
    } else {
      ports_.host->set_busy(true);
      open_set_editor(name, true);
    }
  }
  ports_.host->set_busy(false);
}

}  // namespace quorvel
