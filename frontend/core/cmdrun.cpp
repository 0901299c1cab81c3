// The Run button: checks the choices, writes the run file, starts the engine in the engine folder and,
// when it has ended, judges the run by the file it left and brings that file to the user.
#include <filesystem>
#include <system_error>

#include "globals.h"
#include "mainform.h"
#include "osinfo.h"
#include "platform/paths.h"
#include "runfile.h"
#include "version.h"

namespace fs = std::filesystem;

namespace quorvel {

namespace {

const char* const kSettings = "Settings";

bool is_full_name(const std::string& s) {
  return s.find(':') != std::string::npos || (!s.empty() && IsSeparator(s.front()));
}

std::string native(const std::string& name) {
  platform::MappedPath m = platform::map_existing(name);
  return m.error ? platform::map_for_create(name).path : m.path;
}

}  // namespace

std::vector<std::string> MainForm::TerminalCommand(const std::vector<std::string>& argv) {
  std::string terminal = ports_.settings->contains(kSettings, "Terminal")
                             ? Trim(ports_.settings->get(kSettings, "Terminal"))
                             : (ports_.launcher && ports_.launcher->available("xterm") ? "xterm" : "");
  if (terminal.empty()) return {};
  std::vector<std::string> cmd = {terminal, "-e"};
  cmd.insert(cmd.end(), argv.begin(), argv.end());
  return cmd;
}

bool MainForm::LocateEngine() {
  SetVeltraxFolder(EngineFolder());
  while (!Exists(EngineFolder() + kEngineProgram)) {
    MessageText = "To run Veltrax successfully from Quorvel for Veltrax, you must locate the Veltrax folder.\n"
                  "Would you like to do this now?";
    if (ask(MessageText, Buttons::OkCancel, Icon::Question, "Veltrax path required!") != Answer::Ok) return false;
    std::string before = txtVeltraxFolder;
    cmdFile_Click(0);
    SetVeltraxFolder(EngineFolder());
    if (txtVeltraxFolder == before && !Exists(EngineFolder() + kEngineProgram)) continue;
  }
  return true;
}

void MainForm::run_error(const std::string& error_text) {
  std::string text = error_text + "\n" + CurrentStep +
                     Warn64Bit(ProgramWordSize(EngineFolder() + kEngineProgram), os());
  ask(text, Buttons::Ok, Icon::Exclamation, "Error in Sub cmdRun_Click in frmMain");
}

void MainForm::cmdRun_Click() {
  if (run_ || (ports_.process && ports_.process->running())) {
    ask("Veltrax is still running.\nPlease wait for it to end, or stop it in the Veltrax run window, before you run "
        "it again.",
        Buttons::Ok, Icon::Exclamation, "Veltrax is running!");
    return;
  }
  ports_.host->set_busy(true);
  if (!ports_.process) {
    run_error("No way to start programs");
    end_run();
    return;
  }
  if (!run_checks()) end_run();
}

// Steps up to the engine's start; false when the run ends before it.
bool MainForm::run_checks() {
  CurrentStep = "Checking for Veltrax";
  if (!LocateEngine()) return false;
  std::string folder = EngineFolder();

  if (EngineVersion.empty()) EngineVersion = GetEngineVersion(folder);
  if (CompareVersionText(EngineVersion, kMinimumEngine) < 0) {
    ask(std::string("To run Veltrax successfully from Quorvel for Veltrax, you\nmust have Veltrax Version ") +
            kMinimumEngine + " or later.\nYou  have Veltrax Version " + EngineVersion + ".",
        Buttons::Ok, Icon::Critical, "You need a Veltrax Upgrade!");
    return false;
  }

  // Setup file.
  SetSetupText(Trim(cboSetupFile.text));
  std::string setup = cboSetupFile.text;
  CurrentStep = "Checking for Veltrax Setup File " + setup;
  auto setup_full = [&] { return is_full_name(cboSetupFile.text) ? cboSetupFile.text : folder + cboSetupFile.text; };
  if (!setup.empty() && !Exists(setup_full())) {
    MessageText = "The Setup File \n" + setup_full() + "\ndoes not exist or is misspelled.";
    CurrentStep = "Removing " + setup + " from SET File List";
    std::erase_if(cboSetupFile.items, [&](const std::string& item) { return EqualText(item, setup); });
    cboSetupFile.index = -1;
    SetSetupText("");
    MessageText += "\nWould you like to locate a Setup File now?\nTip: Omit Setup File name to use STANDARD.SET";
    if (ask(MessageText, Buttons::YesNo, Icon::Question, "Setup File required! Find Now?") != Answer::Yes) return false;
    cmdFile_Click(1);
    if (!cboSetupFile.text.empty() && !Exists(setup_full())) return false;
  }

  // Input file.
  SetInputText(Trim(cboInputFile.text));
  std::string input = cboInputFile.text;
  CurrentStep = "Checking for Veltrax Input File " + input;
  bool profiles = ActivityText() == "PROFILES";
  if (profiles) {
    if (input.empty()) {
      MessageText = "You need a text Input File to run.\nWould you like to create one now using the Quorvel Editor?\n\n"
                    "Otherwise click the third [...] button and select an example from " + folder + "Examples";
      if (ask(MessageText, Buttons::YesNo, Icon::Question, "Start an Input File?") == Answer::Yes)
        cmdEditInputFile_Click();
      return false;
    }
    if (!Exists(input)) {
      ask("The Input File \n" + input + "\ndoes not exist or is misspelled.\nPlease locate the Input File!", Buttons::Ok,
          Icon::None, "Input Path\\File required!");
      return false;
    }
  } else {
    ++SymbolTestCount;
  }

  // Output folder.
  SetOutputPath(Trim(txtOutputPath));
  CurrentStep = "Checking for Veltrax Output Path " + txtOutputPath;
  if (!txtOutputPath.empty()) {
    SetOutputPath(WithFinalSeparator(txtOutputPath));
    while (!ExistDir(txtOutputPath)) {
      std::string out = txtOutputPath;
      MessageText = "The Output Path (location for output files) \n" + out +
                    "\ndoes not exist or is misspelled.\nWould you like to create it now?\n\n"
                    "To locate an existing path, click Cancel, then use the [...]\n"
                    "button next to the Output Path box to find a file in that folder.";
      if (ask(MessageText, Buttons::OkCancel, Icon::Question, "Create required Output Path?") != Answer::Ok) return false;
      std::string bare = out.substr(0, out.size() - 1);
      if (platform::exists(bare) && !platform::is_folder(bare)) {
        ask("The Output Path (location for output files) \n" + out +
                "\ncan not be used because there is a file by this name.\n"
                "Please use a Path only, and not an existing file name.",
            Buttons::Ok, Icon::Exclamation, "Can't Create Output Path = File name!");
        return false;
      }
      CurrentStep = "Creating Veltrax Output Path " + out;
      std::error_code ec;
      fs::create_directory(native(bare), ec);
      if (ec) {
        run_error(ec.message());
        return false;
      }
    }
  }

  // Names of the run.
  RunState r;
  r.folder = folder;
  r.output_type = OutputTypeText();
  r.profiles = profiles;
  r.input_entry = input;
  CurrentStep = "Getting Input File name for @runfile";
  bool long_names = CompareVersionText(EngineVersion, "7000") > 0;
  std::string run_input = profiles ? (long_names ? input : ShortPath(input)) : SymbolTestInput(folder, SymbolTestCount);
  r.network = profiles && setting_flag("NNNS Flag", false);
  if (r.network) {
    CurrentStep = "Pre-processing for Non-NTFS Network Support";
    r.network_folder = folder + "network";
    std::error_code ec;
    if (!ExistDir(r.network_folder)) fs::create_directory(native(r.network_folder), ec);
    std::string copy = r.network_folder + "/" + FileTitleOf(run_input);
    if (!ec) fs::copy_file(native(input), native(copy), fs::copy_options::overwrite_existing, ec);
    if (ec) {
      run_error(ec.message());
      return false;
    }
    run_input = copy;
    r.target = r.network_folder + "/temp1.pdf";
  } else {
    CurrentStep = "Getting DOS Output File name for @runfile";
    r.target = OutputFileName(run_input, txtOutputPath, EngineVersion);
  }
  if (ContainsText(r.output_type, "PDF +")) {
    CurrentStep = "Making Output File name for Veltrax";
    r.view = OutputFileName(input, txtOutputPath, EngineVersion);
    if (!profiles) r.view = OutputFileName(run_input, txtOutputPath, EngineVersion);
    while (Exists(r.view) || (platform::exists(r.view) && !platform::is_folder(r.view))) {
      std::string error;
      if (remove_file(native(r.view), error)) break;
      MessageText = error + " on " + r.view + "\n\nYou are probably still viewing the file in a PDF viewer.\n"
                    "Please Close the file so that it can be overwritten.";
      if (ask(MessageText, Buttons::OkCancel, Icon::Exclamation, "Can't delete old PDF file") != Answer::Ok) return false;
    }
  }

  // The run file.
  CurrentStep = "Saving the Veltrax @RunFile";
  RunFileItems items;
  items.inputfile = run_input;
  items.output = OutputWord(r.output_type);
  items.targetcopy = TargetForWord(r.target, items.output);
  r.target = items.targetcopy;
  items.setupfile = SetupFileValue(cboSetupFile.text, folder);
  items.activity = ActivityValue(cboActivity, ActivityText(), EngineVersion);
  items.output_addr = ShortPath(txtOutputPath);
  items.scale = txtScale;
  items.summary = chkSummary ? "YES" : "";
  if (PauseBeforeExit) {
    if (CompareVersionText(EngineVersion, "7001.16") > 0) {
      items.debug = true;
    } else {
      ask("Veltrax " + EngineVersion + " does not support 'Pause before Exit'.\n\n"
              "Upgrade your Veltrax or, in the Quorvel Text Editor,\nUNtick  Settings > 'Pause before Exiting Veltrax'",
          Buttons::Ok, Icon::Information, "Bad Option for OLD Veltrax!");
    }
  }
  if (std::optional<std::string> bad = RefusedRunFileItem(items)) {
    ask("The " + *bad + " of this run holds a line break or another control character,\n"
            "which the @RunFile cannot carry. Nothing was run.\n\nPlease correct the " + *bad + " and run again.",
        Buttons::Ok, Icon::Exclamation, "Can't write the @RunFile!");
    return false;
  }
  if (std::string e = WriteRunFile(folder, ComposeRunFile(items)); !e.empty()) {
    run_error(e);
    return false;
  }

  // The engine.
  CurrentStep = "Running Veltrax on " + folder;
  std::vector<std::string> engine = {std::string("./") + kEngineProgram, "@runfile.dat"};
  std::vector<std::string> terminal = TerminalCommand(engine);
  r.in_terminal = !terminal.empty();
  r.pause = PauseBeforeExit;
  run_ = r;
  ports_.host->hide_window();
  if (ports_.runwindow)
    ports_.runwindow->open(r.in_terminal ? "Veltrax runs in its own terminal window (" + terminal[0] + ").\n"
                                         : "Veltrax is making " + r.target + "\n",
                           [this] { stop_run(); });
  ProcessPort::Callbacks cb;
  cb.output = [this](const std::string& bytes) {
    if (ports_.runwindow) ports_.runwindow->append(bytes);
  };
  cb.finished = [this](const ProgramEnd& end) { run_finished(end); };
  ports_.process->start(r.in_terminal ? terminal : engine, native(folder), cb);
  return true;
}

void MainForm::stop_run() {
  if (!run_ || !ports_.process || !ports_.process->running()) return;
  run_->stopped = true;
  ports_.process->stop();
}

void MainForm::run_finished(const ProgramEnd& end) {
  if (!run_) return;
  RunState r = *run_;
  std::string closing;
  if (!end.started)
    closing = "Veltrax could not be started: " + end.error_text;
  else if (r.stopped)
    closing = "The run was stopped.";
  else if (end.crashed)
    closing = "Veltrax ended abnormally.";
  else
    closing = "Veltrax ended with exit code " + std::to_string(end.exit_code) + ".";
  ports_.host->show_window();
  ports_.host->process_events();

  bool made = false;
  if (!end.started) {
    run_error(end.error_text);
  } else if (r.stopped) {
    ask("The Veltrax run was stopped before it ended.\nIts output may be missing or incomplete.", Buttons::Ok,
        Icon::Exclamation, "Veltrax run stopped");
  } else {
    made = Exists(r.target);
    if (made && !r.view.empty()) {
      std::error_code ec;
      if (r.network) {
        CurrentStep = "Non NTFS network support: FileCopy " + r.target + " to " + r.view;
        fs::copy_file(native(r.target), native(r.view), fs::copy_options::overwrite_existing, ec);
        if (!ec) {
          CurrentStep = "Non NTFS network support: Removing files " + r.network_folder + "/*";
          fs::remove_all(native(r.network_folder), ec);
        }
      } else if (!EqualText(r.view, r.target)) {
        CurrentStep = "Renaming short output file " + r.target + " to view file " + r.view;
        fs::rename(native(r.target), native(r.view), ec);
      }
      if (ec) {
        run_error(ec.message());
      } else if (r.output_type.find('+') != std::string::npos) {
        CurrentStep = "Viewing Output File " + r.view;
        ViewOutputFile(r.view);
      }
    }
    if (!made) {
      // Said for every output type: a run that made nothing is never silent.
      ask("There was an error: Please check your Input File.\nDetails should have been visible during the Veltrax "
          "run.\n\nTip: If the Veltrax error disappeared too fast, in the Quorvel\nText Editor, tick  Settings > "
          "'Pause before Exiting Veltrax'",
          Buttons::Ok, Icon::Critical, "Veltrax did not create the Output File.");
    }
    if (r.profiles) remember_input(r.input_entry);
  }
  if (ports_.runwindow) ports_.runwindow->finished(closing, !r.in_terminal && (!made || r.pause));
  run_.reset();
  end_run();
}

void MainForm::remember_input(const std::string& entry) {
  AddFileToList(entry, cboInputFile);
  cboInputFile_Change();
  CurrentStep = "Inserting " + entry + " in Registry List";
  std::string carried = entry;
  for (long i = 1; i <= StackSize; ++i) {
    std::string key = "LastFile" + std::to_string(i);
    std::string read = ports_.settings->get(kSettings, key);
    ports_.settings->set(kSettings, key, carried);
    if (read.empty() || read == entry) break;
    carried = read;
  }
}

void MainForm::end_run() {
  CurrentStep.clear();
  ports_.host->set_busy(false);
}

}  // namespace quorvel
