// FILESECS: a file's last-write local time on the seconds scale of DATESECS.
//
// The time is read from the file system as it stands; the file's attributes are not touched. A folder
// is no file here and gives 0, as does a missing file (after its error report).
#include "engine/frame/dates.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"

std::int32_t FILESECS(const std::string& name) {
  RT_TRAP(trap, "FILESECS");
  trap.step("0001");
  rt::FileTimes times;
  if (!rt::file_times(name, times) || times.folder) return 0;
  trap.step("0002");
  const platform::LocalTime& w = times.written;
  return DATESECS(w.year, w.month, w.day, w.hour, w.minute, w.second);
}
