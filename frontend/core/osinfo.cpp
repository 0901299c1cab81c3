// Operating-system facts for the about box.
#include "osinfo.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/paths.h"

namespace quorvel {

OsFacts SystemOsFacts::read() {
  OsFacts f;
  std::ifstream in("/etc/os-release");
  if (!in) in.open("/usr/lib/os-release");
  if (in) {
    std::ostringstream s;
    s << in.rdbuf();
    f.os_release = s.str();
  }
  struct utsname u {};
  if (::uname(&u) == 0) {
    f.kernel_release = u.release;
    f.machine = u.machine;
  } else {
    f.ok = false;
    f.error_text = std::strerror(errno);
  }
  f.processors = ::sysconf(_SC_NPROCESSORS_ONLN);
  return f;
}

std::chrono::sys_days SystemClock::today() {
  std::time_t t = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&t, &local);
  return std::chrono::sys_days(std::chrono::year(local.tm_year + 1900) / (local.tm_mon + 1) / local.tm_mday);
}

namespace {

// The value of one KEY=value line of os-release, quotes removed.
std::string release_field(const std::string& text, const std::string& key) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + "=", 0) != 0) continue;
    std::string v = line.substr(key.size() + 1);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return v;
  }
  return {};
}

std::string bits_of(const std::string& machine) {
  if (machine.empty()) return {};
  return machine.find("64") != std::string::npos || machine == "s390x" ? "64-bit" : "32-bit";
}

}  // namespace

std::string OpSysInfo(bool bits_only, OsFactsPort& os) {
  OsFacts f = os.read();
  std::string text;
  if (!bits_only) {
    std::string name = release_field(f.os_release, "PRETTY_NAME");
    if (name.empty()) name = release_field(f.os_release, "NAME");
    if (name.empty()) name = "Linux";
    text = name + " Version " + release_field(f.os_release, "VERSION_ID");
    if (!f.kernel_release.empty()) text += " Kernel " + f.kernel_release;
    text += "\n";
  }
  if (!f.ok || f.machine.empty()) {
    return text + "\nError " + std::to_string(f.ok ? 0 : 1) + ": " +
           (f.error_text.empty() ? "no machine name" : f.error_text) + " in OpSysInfo:\nUnable to get Processor Address bits.";
  }
  text += bits_of(f.machine);
  if (!bits_only) text += ", " + std::to_string(f.processors) + " processors";
  return text;
}

std::string Warn64Bit(const std::string& engine_word_size, OsFactsPort& os) {
  OsFacts f = os.read();
  if (engine_word_size.substr(0, 2) == "32" && bits_of(f.machine) == "64-bit")
    return "\n\nWARNING: THIS 32-bit Veltrax WILL NOT RUN ON YOUR 64-bit SYSTEM!\n"
           "You need to upgrade to the latest vlx7000. Click [About].";
  return {};
}

std::string ProgramWordSize(const std::string& program_path) {
  platform::MappedPath m = platform::map_existing(program_path);
  if (m.error) return {};
  std::ifstream in(m.path, std::ios::binary);
  char head[5] = {};
  if (!in.read(head, 5) || std::memcmp(head, "\x7f" "ELF", 4) != 0) return {};
  if (head[4] == 1) return "32-bit";
  if (head[4] == 2) return "64-bit";
  return {};
}

}  // namespace quorvel
