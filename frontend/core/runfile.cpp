// The run file "@runfile.dat".
#include "runfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "modgeneral.h"
#include "platform/paths.h"
#include "version.h"

namespace quorvel {

namespace {

std::string line(int number, const std::string& key, const std::string& value) {
  std::string padded = std::string(key.size() < 12 ? 12 - key.size() : 0, ' ') + key;
  return std::to_string(number) + "/" + padded + " = " + value + "\r\n";
}

bool has_control(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) < 32) return true;
  return false;
}

}  // namespace

std::string ComposeRunFile(const RunFileItems& i) {
  std::string s = line(0, "setupfile", i.setupfile) + line(1, "inputfile", i.inputfile) + line(2, "output", i.output) +
                  line(3, "holelist", "ALL") + line(4, "activity", i.activity) +
                  line(5, "output-addr", i.output_addr) + line(6, "scale", i.scale) + line(7, "summary", i.summary) +
                  line(8, "targetcopy", i.targetcopy);
  if (i.debug) s += line(9, "debug", "YES");
  return s;
}

std::optional<std::string> RefusedRunFileItem(const RunFileItems& i) {
  const std::pair<const char*, const std::string*> values[] = {
      {"Setup File", &i.setupfile}, {"Input File", &i.inputfile}, {"Output Type", &i.output},
      {"Activity", &i.activity},    {"Output Path", &i.output_addr}, {"Scale", &i.scale},
      {"Summary", &i.summary},      {"Output File", &i.targetcopy}};
  for (const auto& [name, value] : values)
    if (has_control(*value)) return std::string(name);
  return std::nullopt;
}

std::string OutputWord(const std::string& output_type) {
  if (output_type == "Printer") return "";
  if (output_type.substr(0, 3) == "PDF") return "PDF";
  return output_type;
}

std::string TargetForWord(const std::string& target, const std::string& word) {
  if (word == "PDF") return target;
  std::string title = FileTitleOf(target);
  if (title.size() >= 4 && EqualText(title.substr(title.size() - 4), ".PDF") && !EndsWithSeparator(target))
    return target.substr(0, target.size() - 3) + word;
  return target;
}

std::string ActivityValue(int index, const std::string& text, const std::string& engine_version) {
  return CompareVersionText(engine_version, "6005") >= 0 ? std::to_string(index) : text;
}

std::string SetupFileValue(const std::string& setup_entry, const std::string& engine_folder) {
  std::string entry = Trim(setup_entry);
  if (entry.empty()) return {};
  bool full = entry.find(':') != std::string::npos || IsSeparator(entry.front());
  return ShortPath(full ? entry : WithFinalSeparator(engine_folder) + entry);
}

std::string SymbolTestInput(const std::string& engine_folder, int counter) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d", counter);
  return WithFinalSeparator(engine_folder) + "Examples/Symbol" + number + ".txt";
}

std::string WriteRunFile(const std::string& engine_folder, const std::string& bytes) {
  platform::MappedPath m = platform::map_for_create(WithFinalSeparator(engine_folder) + "@runfile.dat");
  if (m.error) return "Path not found";
  std::ofstream out(m.path, std::ios::binary | std::ios::trunc);
  if (!out) return std::strerror(errno);
  out << bytes;
  out.close();
  if (!out) return "Disk full or write error";
  return {};
}

}  // namespace quorvel
