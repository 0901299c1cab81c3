// SPLITFIL: a file name split at its first "." into name and extension.
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "engine/select/select.h"

void SPLITFIL(const std::string& default_name, std::string& name, std::string& ext) {
  RT_TRAP(trap, "SPLITFIL");
  const long p = rt::INSTR(name, ".");
  const long length = static_cast<long>(name.size());
  if (p > 0 && length > p) {
    ext = rt::MID(name, p + 1);
    name = rt::LEFT(name, p - 1);
  } else if (length == p) {  // the first "." is the last character, or the name is empty
    name = rt::LEFT(name, p - 1);
    ext.clear();
  } else {
    ext = name;
    name = default_name;
  }
  name = rt::TRIM(name);
  ext = rt::TRIM(ext);
}
