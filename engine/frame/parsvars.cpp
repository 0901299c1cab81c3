// PARSVARS: splits a line into the shared field list PARSED().
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"

void PARSVARS(const std::string& line, std::string& delims) {
  RT_TRAP(trap, "PARSVARS");
  bool keep_empty = false;
  if (delims.find("blanksok") != std::string::npos) {
    keep_empty = true;
    delims = delims.substr(0, 1);
  }
  for (long i = 1; i <= PARSEDCOUNT && i <= PARSED.ubound(); ++i) PARSED(i).clear();
  PARSEDCOUNT = 0;
  if (PARSEDMAX < 1) PARSEDMAX = 60;

  const size_t len = line.size();
  size_t i = 0;
  while (i < len && PARSEDCOUNT < PARSEDMAX) {
    size_t j = i;
    while (j < len && delims.find(line[j]) == std::string::npos) ++j;
    std::string field = rt::TRIM(std::string_view(line).substr(i, j - i));
    if (!field.empty() || keep_empty) {
      ++PARSEDCOUNT;
      PARSED(PARSEDCOUNT) = field;
    }
    i = j + 1;
  }
}
