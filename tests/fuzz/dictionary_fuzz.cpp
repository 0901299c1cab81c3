// Fuzz harness (front end): a spelling dictionary, the same bytes as the language's dictionary
// English.DIC and as its pending update English.DIK (merged on loading), checked against a short text:
// the suggestions for its first unknown word, a word added, the list sorted, and the dictionary saved.
#include <filesystem>

#include "frontend/core/spell.h"
#include "frontend/core/testing/textbox.h"
#include "frontend_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FrontEnd fe;
  fe.write("English.DIC", data, size);
  fe.write("English.DIK", data, size);
  fe.box.answers = {quorvel::Answer::Yes, quorvel::Answer::Yes};
  quorvel::fakes::TextBox text("Firm brwon CLAY with rare flnit gravel; teh sand is dense.");
  {
    quorvel::SpellForm spell(fe.ports, text, fuzz::FrontEnd::folder(), std::string());
    if (spell.load()) {
      if (!spell.suggestions.empty()) spell.pick_suggestion(spell.suggestions.front());
      spell.add_as_is();
      spell.ignore_all();
    }
    spell.unload();
  }
  quorvel::Dictionary dic;
  dic.set_text(std::string(reinterpret_cast<const char*>(data), size));
  dic.contains("clay");
  dic.suggestions("brwon");
  dic.sort_alphabetically();
  dic.file_bytes();
  std::filesystem::remove(fuzz::FrontEnd::folder() + "English.DIC");
  return 0;
}
