// AREAD: characters read back from the console screen.
#include "engine/frame/console.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void AREAD(std::string& text, std::int32_t row, std::int32_t col, std::int32_t count) {
  RT_TRAP(trap, "AREAD");
  auto& con = platform::console();
  text = rt::SPACE(count);
  // A cell outside the screen reads as a blank.
  for (std::int32_t i = 1; i <= count; ++i) {
    std::int64_t c = static_cast<std::int64_t>(col) + i - 1;
    if (c >= 1 && c <= platform::Console::kCols) text[static_cast<size_t>(i - 1)] = static_cast<char>(con.char_at(row, static_cast<int>(c)));
  }
}
