// ROWCENTR: a text centred on a row.
#include "engine/frame/console.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void ROWCENTR(std::int32_t row, const std::string& text) {
  RT_TRAP(trap, "ROWCENTR");
  auto& con = platform::console();
  std::string t = " " + text + " ";
  std::int32_t n = static_cast<std::int32_t>(std::min<size_t>(t.size(), 78));
  std::int32_t c = (78 - n) / 2;
  // A text of 77 or 78 characters would start in column 0; it starts in column 1 instead of wherever
  // the cursor happened to be.
  if (c < 1) c = 1;
  con.locate(row, c);
  con.print(rt::LEFT(t, n), false);
}
