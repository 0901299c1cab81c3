// STAND-IN until the hole selection is built: PROCAT lists the coded hole files the conversion left
// and returns; nothing is selected, coded or drawn.
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/select/select.h"
#include "platform/console.h"

void PROCAT() {
  RT_TRAP(trap, "PROCAT");
  auto& con = platform::console();
  const auto names = rt::DIR("*.TRX");
  con.print("Coded hole files: " + std::to_string(names.size()) + "; the hole selection is not built yet.", true);
}
