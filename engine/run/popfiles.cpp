// POPFILES and PUSHFILE: the input files chosen in the console picker, kept in "memofile" (one a line,
// CR LF, newest first, at most 20).
//
// Without "memofile" the list offers drive C (C:\), the engine folder's Examples and the home folder
// (when drive C is not that folder), each as a folder to list.
//
// An older entry is dropped only when it names the same file as the new one: equal to it (letter case
// ignored) or ending with it right after a folder separator or drive colon (c:\data\pit3.txt beside
// pit3.txt). A file that merely ends with the same letters (C:\JOBS\DATA.TXT beside A.TXT) is kept. A
// "memofile" made by hand with more than 90 lines is read up to the list's capacity of 90.
#include "engine/run/picker.h"

#include <cstdlib>
#include <filesystem>

#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "platform/paths.h"

namespace {
constexpr std::int32_t kCapacity = 90;
constexpr const char* kMemo = "memofile";
}  // namespace

void POPFILES(std::vector<std::string>& list, std::int32_t& count) {
  RT_TRAP(trap, "POPFILES");
  count = 0;
  list.assign(kCapacity + 1, std::string());
  if (!rt::file_exists(kMemo)) {
    // Nothing chosen yet: places to start from. Drive C, the engine folder's examples, and the home
    // folder where drive C is mapped elsewhere.
    list[static_cast<size_t>(++count)] = "C:\\";
    const std::string engine = platform::program_folder();
    if (!engine.empty() && platform::is_folder(engine + "/Examples"))
      list[static_cast<size_t>(++count)] = engine + "/Examples/";
    const char* home = std::getenv("HOME");
    if (home && *home == '/' && platform::is_folder(home)) {
      std::error_code ec;
      const std::string drive_c = platform::map_existing("C:\\").path;
      if (drive_c.empty() || !std::filesystem::equivalent(drive_c, home, ec))
        list[static_cast<size_t>(++count)] = std::string(home) + (std::string_view(home).ends_with('/') ? "" : "/");
    }
    return;
  }
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, kMemo, rt::FileMode::Input)) return;
  std::string line;
  while (count < kCapacity && !rt::at_eof(f) && rt::line_input(f, line)) list[static_cast<size_t>(++count)] = line;
  rt::close_file(f);
}

void PUSHFILE(std::vector<std::string> list, std::int32_t count, std::string entry) {
  RT_TRAP(trap, "PUSHFILE");
  const int f = rt::FREEFILE();
  if (!rt::open_new_file(f, kMemo)) return;
  entry = rt::TRIM(entry);
  const std::string key = rt::UCASE(entry);
  if (!entry.empty()) rt::print_line(f, entry);
  for (std::int32_t i = 1; i <= count && i < static_cast<std::int32_t>(list.size()); ++i) {
    const std::string old = rt::UCASE(rt::TRIM(list[static_cast<size_t>(i)]));
    bool same = false;
    if (!entry.empty() && old.size() >= key.size() && old.compare(old.size() - key.size(), key.size(), key) == 0) {
      const size_t before = old.size() - key.size();
      same = before == 0 || old[before - 1] == '\\' || old[before - 1] == '/' || old[before - 1] == ':';
    }
    if (!same && i < 20) rt::print_line(f, rt::TRIM(list[static_cast<size_t>(i)]));
  }
  rt::close_file(f);
}
