// Bringing output to the user: open, print, print to a printer, or the print dialog; the manual.
#include <cstdio>

#include "globals.h"
#include "mainform.h"
#include "platform/paths.h"
#include "runfile.h"
#include "version.h"
#include "viewing.h"

namespace quorvel {

std::string ShellExecuteErrorText(long code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Path not found";
    case 5: return "Access denied";
    case 8: return "Out of memory";
    case 11: return "Invalid EXE file or error in EXE image";
    case 26: return "A sharing violation occurred";
    case 27: return "Incomplete or invalid file association";
    case 28: return "DDE Time out";
    case 29: return "DDE transaction failed";
    case 30: return "DDE busy";
    case 31: return "No association for file extension";
    case 32: return "DLL not found";
    default: return "Unknown ShellExecute Error " + std::to_string(code);
  }
}

std::string NoProgramText(const std::string& file_or_address) {
  std::string name = file_or_address.substr(0, file_or_address.find_first_of("#?"));
  const size_t dot = name.find_last_of("./\\");
  const std::string ext = dot != std::string::npos && name[dot] == '.' ? name.substr(dot) : "";
  const bool web = file_or_address.rfind("http://", 0) == 0 || file_or_address.rfind("https://", 0) == 0 ||
                   EqualText(ext, ".htm") || EqualText(ext, ".html");
  if (EqualText(ext, ".pdf"))
    return "No PDF reader is installed on this computer.\n"
           "Install one, for example with the command\n    sudo apt install evince\n"
           "(other PDF readers: okular, qpdfview, mupdf), then try again.";
  if (web)
    return "No web browser is installed on this computer.\n"
           "Install one, for example with the command\n    sudo apt install firefox-esr\n"
           "(other web browsers: chromium, epiphany-browser), then try again.";
  return "No program on this computer opens " + (ext.empty() ? std::string("such") : ext) +
         " files.\nInstall one, or choose one with Open With in the desktop's file manager, then try again.";
}

std::string NoOpenerText() {
  return "xdg-open, which hands files to the desktop's programs, is not installed.\n"
         "Install it with the command\n    sudo apt install xdg-utils\nthen try again.";
}

std::vector<std::string> VerbCommand(const std::string& verb, const std::string& file, const std::string& parameters) {
  if (EqualText(verb, "print")) return {"lp", file};
  if (EqualText(verb, "printto")) return {"lp", "-d", parameters, file};
  return {"xdg-open", file};
}

void LaunchFile(const Ports& ports, const std::string& verb, const std::string& file, const std::string& parameters,
                std::function<void(const std::string&)> on_error) {
  std::string shown_verb = verb.empty() ? "Launch" : verb;
  auto fail = [=](long code, const std::string& program_text) {
    std::string message = "Unable to " + shown_verb + " the File\n" + file + "\n\n" +
                          (program_text.empty() ? ShellExecuteErrorText(code) : program_text);
    if (code == 2 && ContainsText(file, ".PDF")) message += ": Veltrax did not create the PDF File.";
    if (on_error)
      on_error(message);
    else if (ports.msgbox)
      ports.msgbox->show({message, Buttons::Ok, Icon::Exclamation, "Quorvel Error Executing File"});
  };
  bool url = file.find("://") != std::string::npos || file.rfind("mailto:", 0) == 0;
  if (!url && !platform::exists(file)) {
    fail(2, "");
    return;
  }
  if (!ports.launcher) return;
  std::vector<std::string> argv = VerbCommand(verb, url ? file : platform::map_existing(file).path, parameters);
  ports.launcher->start(argv, "", [fail, argv](const ProgramEnd& end) {
    if (!end.started) {
      fail(0, argv[0] == "xdg-open" ? NoOpenerText() : argv[0] + ": " + end.error_text);
    } else if (end.exit_code == 3 && argv[0] == "xdg-open") {
      fail(31, NoProgramText(argv.back()));  // no program for this kind of file
    } else if (end.exit_code != 0 || end.crashed) {
      fail(0, end.error_text.empty() ? argv[0] + " ended with exit code " + std::to_string(end.exit_code)
                                     : end.error_text);
    }
  });
}

void MainForm::ViewOutputFile(const std::string& file) {
  std::string type = OutputTypeText();
  if (type == "PDF + Print dialog") {
    if (!ports_.printdialog) return;
    std::optional<PrintChoice> c = ports_.printdialog->ask(file);
    if (!c) return;  // cancelled: nothing is printed
    std::vector<std::string> argv = {"lp"};
    if (!c->printer.empty()) argv.insert(argv.end(), {"-d", c->printer});
    argv.insert(argv.end(), {"-n", std::to_string(c->copies < 1 ? 1 : c->copies)});
    if (!c->pages.empty()) argv.insert(argv.end(), {"-P", c->pages});
    argv.push_back(platform::map_existing(file).path);
    if (ports_.launcher)
      ports_.launcher->start(argv, "", [this, file](const ProgramEnd& end) {
        if (!end.started || end.exit_code != 0)
          ask("Unable to print the File\n" + file + "\n\n" +
                  (end.error_text.empty() ? "lp ended with exit code " + std::to_string(end.exit_code) : end.error_text),
              Buttons::Ok, Icon::Exclamation, "Quorvel Error Executing File");
      });
  } else if (type == "PDF + Print All Now!") {
    LaunchFile(ports_, "print", file, "");
  } else if (type == "PDF + Print All to...") {
    LaunchFile(ports_, "printto", file, cboPrinters.text);
  } else {
    LaunchFile(ports_, "", file, "");
  }
  ports_.host->start_wait_timer(20000);
}

void MainForm::cmdOpen_Click() {
  std::string type = OutputTypeText();
  if (type.substr(0, 3) == "PDF") {
    // The rule the run used for the file it shows.
    std::string source = ActivityText() == "PROFILES" ? Trim(cboInputFile.text)
                                                      : SymbolTestInput(EngineFolder(), SymbolTestCount);
    std::string name = OutputFileName(source, Trim(txtOutputPath), EngineVersion);
    if (Exists(name)) {
      ViewOutputFile(name);
    } else {
      ask("Quorvel could not find the Output File:\n" + name + "\n\nPlease RUN first with one of the \"PDF\" options!",
          Buttons::Ok, Icon::Exclamation, "Output file not found!");
    }
  } else if (type.size() == 3) {
    ask("This Option is currently only available for PDF files.\n\nTry Upgrading to a newer version of Quorvel for "
        "Veltrax!",
        Buttons::Ok, Icon::Information, "Option not available yet!");
  } else {
    ask("Output Type \n" + type + "\ndoes not Produce a file.", Buttons::Ok, Icon::Exclamation,
        "No Output file for this choice!");
  }
}

void MainForm::cmdManual_Click(int index) {
  std::string folder = Trim(txtVeltraxFolder).empty() ? DisplayFolder("C:\\vlx6000\\") : EngineFolder();
  bool manual = index == 0;
  std::string file = folder + (manual ? "manual/Veltrax_User_Manual.pdf" : "manual/Veltrax_Tutor.PDF");
  std::string key = manual ? "Manual" : "Tutor";
  std::string title = manual ? "Veltrax Manual is Missing!" : "Veltrax Tutorial is Missing!";
  std::string text = manual ? "It might not have been included in the Setup program,\n"
                              "or may have been installed in the wrong folder."
                            : "To save space it is not included in the Setup program.\n"
                              "If you already downloaded it, you put it in the wrong folder or gave it another name.";
  std::string blanks = file;
  for (char& c : blanks)
    if (c == '_') c = ' ';
  if (Exists(file) || Exists(blanks)) {
    ViewOutputFile(Exists(file) ? file : blanks);
    return;
  }
  text = "The file " + file + " can not be found.\n" + text;
  std::string remembered = ports_.settings->get("Settings", key);
  std::erase(remembered, '"');
  if (!remembered.empty()) {
    if (Exists(remembered)) {
      ViewOutputFile(remembered);
      return;
    }
    text = "The files " + remembered + "\nand" + text.substr(8);
    ports_.settings->remove("Settings", key);
  }
  text += "\n\nYou can search your computer for the " + key + ",\nor download a new copy to " + folder +
          "\n\nWould you like to Search your Hard Drive now?\nYes\t = Search Hard Drive.\nNo \t = Go to Web Site "
          "Downloads.\nCancel\t = Forget it, I'll muddle on!";
  Answer a = ask(text, Buttons::YesNoCancel, Icon::Question, title);
  if (a == Answer::No) {
    GoToWeb(ports_, kDownloadPage);
  } else if (a == Answer::Yes && ports_.files) {
    std::string what = title.substr(0, title.find(" is Missing"));
    std::optional<std::string> chosen = ports_.files->choose(
        {folder + "manual/*.PDF", "Please locate the " + what, "PDF",
         "PDF Manual (*.PDF)|*.PDF|Word Document (*.DOC)|*.DOC|All Files (*)|*", false});
    if (!chosen || chosen->empty()) return;  // cancelled: nothing more to do
    ViewOutputFile(*chosen);
    if (!ContainsText(*chosen, key) &&
        ask(*chosen + "\ndoes not look like the " + key + "!\n\nAre you sure?", Buttons::YesNo, Icon::Question,
            "Really use this file?") == Answer::No)
      return;
    ports_.settings->set("Settings", key, *chosen);
  }
}

}  // namespace quorvel
