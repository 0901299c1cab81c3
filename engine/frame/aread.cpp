// AREAD: characters read back from the console screen.
#include "engine/frame/console.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void AREAD(std::string& text, std::int32_t row, std::int32_t col, std::int32_t count) {
  RT_TRAP(trap, "AREAD");
  auto& con = platform::console();
  text.clear();
  // A cell outside the screen reads as a blank; a letter of a name shown in the terminal's encoding
  // reads as its bytes, so that a name read back is the name that was shown.
  for (std::int32_t i = 1; i <= count; ++i) {
    std::int64_t c = static_cast<std::int64_t>(col) + i - 1;
    text += c >= 1 && c <= platform::Console::kCols ? con.text_at(row, static_cast<int>(c)) : std::string(" ");
  }
}
