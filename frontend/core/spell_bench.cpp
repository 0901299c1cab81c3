// Times the spell check the way a user meets it: with a dictionary of the program's folder, a check from
// the top of an input of about 60 KB whose only unknown word is its last, until the check stops there with
// its suggestions; then Edit Dictionary's sorted rewrite after one added word.
//   spell_bench DICTIONARY INPUT_TEXT [KILOBYTES]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <string>

#include "frontend/core/spell.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/textbox.h"

namespace fs = std::filesystem;

namespace {

using TextBox = quorvel::fakes::TextBox;

double ms_since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DICTIONARY INPUT_TEXT [KILOBYTES]\n", argv[0]);
    return 2;
  }
  const size_t kilobytes = argc > 3 ? std::stoul(argv[3]) : 60;
  std::ifstream in(argv[2], std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string text;
  while (text.size() < kilobytes * 1024) text += s.str();
  text += "\r\nHousr Houzz\r\n";

  const fs::path work = fs::temp_directory_path() / ("spell_bench." + std::to_string(::getpid()));
  fs::create_directories(work / "engine");
  fs::create_directories(work / "program");
  fs::copy_file(argv[1], work / "program" / "English.DIC");
  quorvel::fakes::MemorySettings settings;
  quorvel::fakes::ScriptedMessageBox boxes;
  quorvel::fakes::RecordingLauncher launcher;
  quorvel::Ports ports;
  ports.settings = &settings, ports.msgbox = &boxes, ports.launcher = &launcher;

  TextBox box(text);
  auto start = std::chrono::steady_clock::now();
  quorvel::SpellForm form(ports, box, (work / "engine").string(), (work / "program").string());
  form.load();
  const double check_ms = ms_since(start);
  std::printf("check of %zu KB stopped at \"%s\" with %zu suggestions (first \"%s\") after %.1f ms\n", text.size() / 1024,
              form.not_in_dict.c_str(), form.suggestions.size(),
              form.suggestions.empty() ? "" : form.suggestions.front().c_str(), check_ms);
  form.add_as_is();
  boxes.answers = {quorvel::Answer::Yes};
  start = std::chrono::steady_clock::now();
  form.edit_dictionary();
  std::printf("Edit Dictionary: sorted rewrite of %zu words after %.1f ms\n", form.dictionary().words().size(),
              ms_since(start));
  fs::remove_all(work);
  return form.not_in_dict == "Housr" ? 0 : 1;
}
