// READCODE: the number that a binary font file's header command announces, e.g. 80 in ESC ")s80W".
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/setup/setup.h"

void READCODE(const std::string& code, std::int32_t& value, const std::string& stop, const std::int32_t& file) {
  RT_TRAP(trap, "READCODE");
  value = 0;
  rt::seek(file, 1);

  // The code must end within the first 17 bytes. The window starts as the code itself.
  std::string window = code;
  const size_t len = code.size();
  int reads = 0;
  bool at_end = false;
  do {
    std::string byte = rt::get_bytes(file, 1);
    if (byte.empty()) {
      at_end = true;
      break;
    }
    window += byte;
    if (window.size() > len) window.erase(0, window.size() - len);
    ++reads;
  } while (window != code && reads < 17);
  if (at_end || window != code) return;

  // The number: at most 15 characters up to the stop text, within 16 bytes.
  std::string c, text;
  reads = 0;
  do {
    if (c == stop) break;
    text += c;
    c = rt::get_bytes(file, 1);
    if (c.empty()) return;
    ++reads;
  } while (reads < 16);
  if (c == stop) rt::let(value, rt::VAL(text));
}
