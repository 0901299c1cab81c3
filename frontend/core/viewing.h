// Handing files, web pages and mail to the desktop's programs, and the help, about and support texts.
//
// The shell's verbs become programs started from argument lists (never a shell line): open is
// xdg-open FILE, print is lp FILE, printto is lp -d PRINTER FILE, mail is xdg-email mailto:...
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ports.h"

namespace quorvel {

// Where the update question, the manual's download question and the web button lead: the installed
// help page on updating (one place for all three).
inline constexpr const char* kUpdatePageName = "08 Updating.htm";
inline constexpr const char* kDownloadPage = "help:08 Updating.htm";
inline constexpr const char* kSetupPage = "help:08 Updating.htm";
inline constexpr const char* kSupportAddress = "support@vlx7000.example";

// The text of an error code of the table the front end always used (2 "File not found", 31 "No
// association for file extension", ...).
std::string ShellExecuteErrorText(long code);

// What the user is told when the desktop has no program for a file or address (xdg-open's exit 3): the
// kind of program missing (a PDF reader, a web browser) and the Debian package of one to install.
std::string NoProgramText(const std::string& file_or_address);
// The same when xdg-open itself is not installed.
std::string NoOpenerText();

// The argument list for a verb: "" or "open" -> xdg-open, "print" -> lp, "printto" -> lp -d.
std::vector<std::string> VerbCommand(const std::string& verb, const std::string& file, const std::string& parameters);

// Starts the file with the verb's program. A missing file is code 2, xdg-open's "no program for this
// file" (exit 3) is code 31, other failures show the program's own error text. The message goes to
// on_error when given, else into a box titled "Quorvel Error Executing File".
void LaunchFile(const Ports& ports, const std::string& verb, const std::string& file, const std::string& parameters,
                std::function<void(const std::string&)> on_error = {});

// Help pages: the topic "::/04 Text File Editor.htm#wrap" opens HelpFile + "04 Text File Editor.htm#wrap",
// an empty topic HelpFile + "index.htm".
std::string HelpPageUrl(const std::string& topic);
void ShowHelp(const Ports& ports, const std::string& topic);
// Opens a web address ("help:PAGE" is an installed help page).
void GoToWeb(const Ports& ports, const std::string& address);
// A new mail: "mailto:" + address and query, through xdg-email.
void SendMailTo(const Ports& ports, const std::string& address_and_query);

// The about box's text for an engine version, engine folder, system text and engine word size.
std::string AboutText(const std::string& engine_version, const std::string& engine_folder,
                      const std::string& system_text, bool warn_32_bit_engine);
// The support mail's box text.
std::string SupportText(const std::string& setup_file_path, const std::string& input_entry);

}  // namespace quorvel
