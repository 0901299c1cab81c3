// The logic of the main window frmMain: the user's choices for one run of the engine, their storage in
// the settings store, the start (finding the engine folder and its version) and the end of the window's
// life, the change tracking, the output-type rules, the Settings menu and the file buttons.
//
// The fields below are the window's controls as values; the Qt window (frontend/main/frmmain.*) shows
// them and, when the user changes a control, stores the new value and calls the control's event
// method. Methods that change a control themselves (the load, the file buttons) go through the Set...
// methods, which fire the control's event as the control would. After each call the window shows the
// fields again. Other windows read the engine folder, setup file, input file, output folder and output
// type from here, and hand control back through Tag ("RUN" or "").
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "modgeneral.h"
#include "ports.h"

namespace quorvel {

// Items of the output-type and activity lists, in list order.
extern const std::vector<std::string> kOutputTypes;
extern const std::vector<std::string> kActivities;

// Where the window stands on its screen, in pixels; given to the load.
struct ScreenFacts {
  int screen_width = 1024;
  int screen_height = 768;
  int window_width = 600;
  int designed_top = 100;
};

// The state of the Settings pop-up menu's three ticks.
struct SettingsMenuTicks {
  bool nnns = false;
  bool pause = false;
  bool tidy_up = true;
};

class MainForm {
 public:
  explicit MainForm(const Ports& ports);

  // Controls.
  std::string txtVeltraxFolder;
  ListState cboSetupFile;
  ListState cboInputFile;
  int cboOutputType = 1;  // index into kOutputTypes
  int cboActivity = 0;    // index into kActivities
  std::string txtScale;
  std::string txtOutputPath;
  bool chkSummary = true;
  ListState cboPrinters;
  std::string cboPrinters_tooltip = "Print PDF to this Printer";
  bool cmdOpen_visible = true;
  bool cboPrinters_visible = false;
  bool cboInputFile_enabled = true;
  std::string Tag;  // request word an editor leaves for Form_Activate

  // Window-level state.
  std::string ChangedChoices;
  std::string MessageText;
  std::string ReaderPath;
  long StackSize = 20;
  int WordChoice = 0;
  int Top = 0;
  int Left = 0;
  bool WindowNormal = true;  // neither minimised nor maximised (the window keeps it up to date)
  // The window's place as the desktop saves it (size, position without the frame, maximised): Top and
  // Left stay for a settings file that has no such text yet.
  std::string Geometry;
  // The folder of the front end's own program: a first start looks for the engine there and in the
  // folder above it (an engine folder that holds the front end in a subfolder) before asking.
  std::string ProgramFolder;
  int SymbolTestCount = 0;   // raised by every symbol-test run, never lowered

  // Text of the chosen output type and activity ("" outside the lists).
  std::string OutputTypeText() const;
  std::string ActivityText() const;
  // The engine folder box with a final separator.
  std::string EngineFolder() const;
  // The caption of the window: "Quorvel for Veltrax - Version 1.0.0".
  static std::string Caption();

  // Changes made by the logic, each firing the control's event when the value changes.
  void SetVeltraxFolder(const std::string& s);
  void SetSetupText(const std::string& s);
  void SetInputText(const std::string& s);
  void SetOutputPath(const std::string& s);
  void SetScale(const std::string& s);
  void SetOutputType(int index);
  void SetActivity(int index);
  void SetSummary(bool ticked);

  // Events of the controls (the window calls them after storing the control's new value).
  void txtVeltraxFolder_Change();
  void cboSetupFile_Change();
  void cboSetupFile_Click();
  void cboInputFile_Change();
  void cboInputFile_Click();
  void cboOutputType_Click();
  void cboActivity_Click();
  void txtScale_Change();
  void txtOutputPath_Change();
  void chkSummary_Click();
  void cboPrinters_Click();

  // The window's life.
  void Form_Load(const ScreenFacts& screen);
  void Form_Activate();
  // Save & Exit: stores every choice; the window then closes.
  void cmdExit_Click();
  // Closing in any way: may ask to store changed choices; true keeps the window open. Deletes the
  // engine's work files when "DeleteFiles" is on.
  bool Form_QueryUnload();

  // Buttons and menus.
  void cmdFile_Click(int index);
  void cmdInstall_Click();
  SettingsMenuTicks cmdSettings_Click();
  void mnuSettingsNNNS_Click();
  void mnuSettingsPause_Click();
  void mnuSettingsTidyUp_Click();
  void cmdRun_Click();
  void cmdOpen_Click();
  void cmdManual_Click(int index);
  void cmdHelp_Click(int index);
  void cmdAbout_Click();
  void cmdSupport_Click();
  void cmdRegVeltrax_Click();
  void cmdEditInputFile_Click();
  void cmdEditSetupFile_Click();

  // Shows the text editor on the input file ("" for a new file); the main window hides meanwhile.
  std::function<void(const std::string& file)> show_text_editor;
  // Closes the other windows before the main window goes (the editors set it).
  std::function<void()> unload_other_windows;
  // Opens the SET editor on a file (new_file: on the template, to be saved under that name); the main
  // window hides while it is open.
  std::function<void(const std::string& name, bool new_file)> open_set_editor;
  // True when the logic asked for the setup box to get the focus with its text selected.
  bool cboSetupFile_select = false;
  // Deletes a file (the old output before a run); false with an error text when it cannot.
  std::function<bool(const std::string& native_path, std::string& error)> remove_file;

  // Hands a file to the desktop as the output type says: open, print, print to the chosen printer, or
  // the print dialog; then arms the window's 20-second timer.
  void ViewOutputFile(const std::string& file);
  // The engine folder check of a run: a final separator, then the engine program picker until the
  // engine is found; false when the user gives up.
  bool LocateEngine();
  // The argument list that starts a program in the terminal of the setting "Terminal" (missing: xterm
  // when installed; empty: none); empty when there is no terminal.
  std::vector<std::string> TerminalCommand(const std::vector<std::string>& argv);
  // True while the engine runs.
  bool Running() const { return run_.has_value(); }
  // Ends the running engine (the run window's Stop).
  void stop_run();

  const Ports& ports() const { return ports_; }

 private:
  // A run between the engine's start and its end.
  struct RunState {
    std::string folder, output_type, input_entry, target, view, network_folder;
    bool profiles = true, network = false, in_terminal = false, pause = false, stopped = false;
  };
  bool run_checks();
  void run_finished(const ProgramEnd& end);
  void run_error(const std::string& error_text);
  void remember_input(const std::string& entry);
  void end_run();
  void track(const std::string& item);
  void discover_engine();
  void check_version();
  bool setting_flag(const std::string& key, bool fallback);
  Answer ask(const std::string& text, Buttons b, Icon i, const std::string& title);
  OsFactsPort& os();

  Ports ports_;
  WindowHost default_host_;
  SystemOsFacts default_os_;
  std::optional<RunState> run_;
};

// Parses a stored date "YYYY-MM-DD"; false when it is no date.
bool ParseIsoDate(const std::string& s, std::chrono::sys_days& out);
std::string IsoDate(std::chrono::sys_days d);

}  // namespace quorvel
