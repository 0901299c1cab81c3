// FILEDATE: one of a file's three time stamps as a date text and a time text.
//
// The times are read from the file system as they stand; the file's attributes are not touched, so a
// read-only or hidden file is found like any other. A folder is found only when the mask holds 16.
#include <cstdio>

#include "engine/frame/dates.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"

void FILEDATE(const std::string& name, std::int32_t mask, const std::string& which, std::string& date,
              std::string& time) {
  RT_TRAP(trap, "FILEDATE");
  trap.step("0001");
  date.clear();
  time.clear();
  rt::FileTimes times;
  if (!rt::file_times(name, times)) return;
  if (times.folder && !(mask & 16)) return;
  trap.step("0002");
  const std::string sel = rt::UCASE(which);
  const platform::LocalTime* t = nullptr;
  if (sel == "C") t = &times.created;
  else if (sel == "R") t = &times.accessed;
  else if (sel == "W" || sel.empty()) t = &times.written;
  if (!t) {
    rt::raise(5);  // no such time
    return;
  }
  trap.step("0003");
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t->day, t->month, t->year);
  date = buf;
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t->hour, t->minute, t->second);
  time = buf;
}
