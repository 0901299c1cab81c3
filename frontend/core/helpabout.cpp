// Help pages, the about box, web pages, the support mail and the engine's console.
#include <cstdio>

#include "buildinfo.h"
#include "globals.h"
#include "mainform.h"
#include "osinfo.h"
#include "platform/paths.h"
#include "version.h"
#include "viewing.h"

namespace quorvel {

namespace {

// file:// address of a local path, blanks and other reserved characters escaped.
std::string file_url(const std::string& path, const std::string& anchor) {
  std::string url = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
      url += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      url += hex;
    }
  }
  return anchor.empty() ? url : url + "#" + anchor;
}

std::string help_page(std::string topic, std::string& anchor) {
  if (topic.rfind("::/", 0) == 0) topic = topic.substr(3);
  if (topic.rfind("help:", 0) == 0) topic = topic.substr(5);
  size_t hash = topic.find('#');
  anchor = hash == std::string::npos ? "" : topic.substr(hash + 1);
  std::string page = hash == std::string::npos ? topic : topic.substr(0, hash);
  if (page.empty()) page = "index.htm";
  return WithFinalSeparator(HelpFile) + page;
}

}  // namespace

std::string HelpPageUrl(const std::string& topic) {
  std::string anchor;
  std::string page = help_page(topic, anchor);
  return file_url(page, anchor);
}

void ShowHelp(const Ports& ports, const std::string& topic) {
  std::string anchor;
  std::string page = help_page(topic, anchor);
  if (!platform::exists(page)) {
    if (ports.msgbox)
      ports.msgbox->show({"The help page\n" + page + "\nis not installed.", Buttons::Ok, Icon::Exclamation,
                          "Error in Sub cmdHelp_Click!"});
    return;
  }
  LaunchFile(ports, "", file_url(page, anchor), "");
}

void GoToWeb(const Ports& ports, const std::string& address) {
  std::string url = address.rfind("help:", 0) == 0 ? HelpPageUrl(address) : address;
  if (!ports.launcher) return;
  ports.launcher->start({"xdg-open", url}, "", [ports, url](const ProgramEnd& end) {
    if (end.started && end.exit_code == 0) return;
    std::string why = !end.started ? NoOpenerText()
                      : end.exit_code == 3 ? NoProgramText(url)
                                           : (end.error_text.empty() ? "xdg-open ended with exit code " +
                                                                           std::to_string(end.exit_code)
                                                                     : end.error_text);
    if (ports.msgbox)
      ports.msgbox->show({"Unable to open the web site\n" + url + "\n" + why, Buttons::Ok, Icon::Exclamation,
                          "Quorvel Error in Sub GoToWeb!"});
  });
}

void SendMailTo(const Ports& ports, const std::string& address_and_query) {
  if (ports.launcher) ports.launcher->start({"xdg-email", "mailto:" + address_and_query}, "", {});
}

std::string AboutText(const std::string& engine_version, const std::string& engine_folder,
                      const std::string& system_text, bool warn_32_bit_engine) {
  std::string tag = BuildTag();
  std::string t = "Quorvel for Veltrax Version " + ProgramVersion() + (tag.empty() ? "" : "  " + tag) +
                  "\nThe desktop front end of the vlx7000 soil-profile and borehole-log system.\n";
  t += "\nYou have Veltrax Version " + engine_version + " on " + engine_folder;
  if (CompareVersionText(engine_version, kMinimumEngine) >= 0) {
    t += "\nThis works with Quorvel.";
    if (CompareVersionText(engine_version, kLatest7000) < 0)
      t += "\nbut is not the latest version - you will lack some features.";
  } else {
    t += std::string("\nYou need Veltrax Version ") + kMinimumEngine + " or later!";
  }
  t += std::string("\nThe Latest Veltrax is Version ") + kLatest7000 + " or later.\n";
  if (system_text.find("Error") == std::string::npos) t += "\nYou are running";
  t += "\n" + system_text;
  if (warn_32_bit_engine)
    t += std::string("\nWARNING: THIS 32-bit Veltrax WILL NOT RUN ON YOUR 64-bit SYSTEM!  You need to upgrade to "
                     "Version ") + kLatest7000;
  t += "\n\nWould you like to check for updates on our Web Site now?";
  return t;
}

std::string SupportText(const std::string& setup_file_path, const std::string& input_entry) {
  return std::string("An e-mail is being created in your default e-mail program.\n"
                     "If you use internet-based e-mail (GMail, HotMail, Live, WebMail etc.) please create the mail "
                     "yourself\nand send to ") +
         kSupportAddress +
         " with \"Veltrax/Quorvel\" in the Subject.\n\nPlease describe the problem as fully as possible, then "
         "attach the files:\n\t" +
         setup_file_path + "\n\t" + input_entry +
         "\nplus anything else that is relevant, e.g. screen captures of error messages.\n\n"
         "Press Ctrl+C to copy messages like this to the Clipboard as text.\n"
         "Use your desktop's screenshot tool (often the PrintScreen key) to capture a window or the whole screen.\n"
         "To copy text from the Veltrax terminal window, select it with the mouse;\n"
         "\tthe middle mouse button pastes it.";
}

void MainForm::cmdHelp_Click(int) { ShowHelp(ports_, ""); }

void MainForm::cmdAbout_Click() {
  std::string folder = EngineFolder();
  EngineVersion = GetEngineVersion(folder);
  std::string system_text = OpSysInfo(false, os());
  bool warn = !Warn64Bit(ProgramWordSize(folder + kEngineProgram), os()).empty();
  Message m(AboutText(EngineVersion, folder, system_text, warn), Buttons::YesNo, Icon::Information,
            "About quorvel for Veltrax", Answer::No);
  if (ports_.msgbox && ports_.msgbox->show(m) == Answer::Yes)
    GoToWeb(ports_, ContainsText(EngineVersion, "700") ? kDownloadPage : kSetupPage);
}

void MainForm::cmdSupport_Click() {
  SendMailTo(ports_, std::string(kSupportAddress) + "?subject=Bug/Support on Veltrax/Quorvel (details below)");
  ask(SupportText(EngineFolder() + cboSetupFile.text, cboInputFile.text), Buttons::Ok, Icon::Information,
      "Support e-mail Created");
}

void MainForm::cmdRegVeltrax_Click() {
  CurrentStep = "Checking for Veltrax";
  if (!LocateEngine()) {
    CurrentStep.clear();
    return;
  }
  std::string folder = EngineFolder();
  CurrentStep = "Running Veltrax on " + folder;
  std::vector<std::string> engine = {std::string("./") + kEngineProgram};
  std::vector<std::string> cmd = TerminalCommand(engine);
  auto failed = [this, engine](const std::string& why) {
    ask("Unable to SHELL to \n" + engine[0] + (why.empty() ? "" : "\n" + why), Buttons::Ok, Icon::Critical,
        "Veltrax failed to run!");
  };
  if (cmd.empty() || !ports_.launcher) {
    failed("No terminal program to show its console in (setting \"Terminal\").");
  } else {
    if (FileTitleOf(cmd[0]) == "xterm") cmd.insert(cmd.begin() + 1, "-maximized");
    platform::MappedPath m = platform::map_existing(folder);
    ports_.launcher->start(cmd, m.error ? folder : m.path, [failed](const ProgramEnd& end) {
      if (!end.started) failed(end.error_text);
    });
  }
  ports_.host->process_events();
  CurrentStep.clear();
}

}  // namespace quorvel
