// STAND-IN until the hole selection is built: PROCAT counts the coded hole files the conversion left
// and returns; nothing is selected, coded or drawn. As the selection does on entry, it puts the
// vocabulary name back to the SET file's (the conversion appends its attached-file words to it).
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

void PROCAT() {
  RT_TRAP(trap, "PROCAT");
  if (VOCABNAME != VOCABSETNAME) {
    VOCABNAME = VOCABSETNAME;
    READVOCB(VOCABNAME);
  }
  auto& con = platform::console();
  const auto names = rt::DIR("*.TRX");
  con.print("Coded hole files: " + std::to_string(names.size()) + "; the hole selection is not built yet.", true);
}
