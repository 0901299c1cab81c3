// RUNCHECK: the engine folder is looked at before a sheet run draws anything. A run that cannot keep
// its work files there (a folder in the place of one, a read-only folder or file system, a full disk)
// would stop in the middle with errors that say nothing of the cause; it is refused at its start with
// one line that says what to do, and ends with exit code 1.
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/run/run.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "platform/wholefile.h"

namespace {

constexpr std::size_t kProbeBytes = 16 * 1024;  // written into a new file that is then dropped

// What the user does about a folder that cannot be written for the reason errno_value.
std::string remedy(int errno_value) {
  switch (errno_value) {
    case ENOSPC:
    case EDQUOT: return "free some space on its disk and start the run again.";
    case EACCES:
    case EPERM:
    case EROFS: return "make the folder writable and start the run again.";
    default: return "the run cannot keep its work files there; start it again when the folder can be written.";
  }
}

}  // namespace

bool RUNCHECK() {
  RT_TRAP(trap, "RUNCHECK");
  std::error_code ec;
  const std::string folder = std::filesystem::current_path(ec).string();
  trap.step("0001");
  std::vector<std::string> names = work_file_names();
  names.insert(names.end(), {"PAGER.1", "plotfile"});
  for (const std::string& name : names) {
    if (!rt::folder_exists(name)) continue;
    rt::fault("A folder named " + name + " stands in the engine folder " + folder +
                  " where the run writes a work file of that name: remove that folder and start the run again.",
              {folder});
    return false;
  }
  trap.step("0002");
  platform::NewFile probe(folder + "/profile.probe");
  if (probe.error() == 0) {
    const std::string zeros(kProbeBytes, '\0');
    probe.write(zeros.data(), zeros.size());
  }
  const int e = probe.error();
  probe.abandon();
  if (e == 0) return true;
  rt::fault("The engine folder " + folder + " cannot be written (" + platform::failure_reason(e) + "): " + remedy(e),
            {folder});
  return false;
}
