// FIXSETUP: the upgrade of a SET file of the older layout, whose conversion block has eleven items and
// an empty twelfth line (or its END there). The two missing characters, to underline a word and to
// omit the soil symbol, are the first and the last of the standard characters that the file does not
// use yet. The upgraded copy "NewSetup.set" has the two item lines inserted before the twelfth line;
// the file as it was is kept as "oldsetup.set", and the copy takes its place. The files are copied
// directly: no command line is made of a file name.
//
// The upgrade runs under a trap of its own, so that a failure (a read-only engine folder) is reported
// once, names the step, and leaves the conversion's own trap for the conversion.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/setup/setup.h"

namespace {

// The standard conversion characters, in the order of choice.
constexpr const char* kStandardCharacters = "_`~\\^{}\"$#|";
constexpr const char* kNewSetup = "NewSetup.set";
constexpr const char* kOldSetup = "oldsetup.set";
constexpr int kUnderlineItem = 12;

// The line of an inserted item: the character, 35 blanks (the "=" in column 37) and the caption.
std::string item_line(const std::string& character, const char* caption) {
  return character + std::string(35, ' ') + "= " + caption;
}

}  // namespace

void FIXSETUP(ConvState& st) {
  st.section("FIXSETUP", "0001");
  rt::Trap trap("proconv.cpp", "FIXSETUP");
  trap.step("0001");
  if (SETUPNAME.empty()) SETUPNAME = "standard.set";
  const std::string old_name = SETUPNAME;
  std::string choice = kStandardCharacters;

  SETCHAN = rt::FREEFILE();
  if (!rt::open_file(SETCHAN, old_name, rt::FileMode::Input)) return;
  const int out = rt::FREEFILE();
  if (!rt::open_file(out, kNewSetup, rt::FileMode::Output)) {
    rt::close_file(SETCHAN);
    return;
  }
  // Every write must succeed before the copy may replace the SET file.
  bool written = true;
  auto put = [out, &written](const std::string& text) {
    if (written) written = rt::print_line(out, text);
  };

  // Up to and including the second BEGIN line (written in capitals), line by line unchanged.
  trap.step("0002");
  std::string line;
  int begins = 0;
  while (begins < 2 && !rt::at_eof(SETCHAN) && rt::line_input(SETCHAN, line)) {
    put(line);
    if (rt::TRIM(line) == "BEGIN") ++begins;
  }

  // The conversion block: each value in use strikes its character out of the choice; the two new
  // items go before the twelfth line, when it is empty or ends the block.
  trap.step("0003");
  int counter = 0;
  while (!rt::at_eof(SETCHAN) && rt::line_input(SETCHAN, line)) {
    ++counter;
    const std::string value = rt::TRIM(rt::LEFT(line, 28));
    if (!value.empty()) {
      const long p = rt::INSTR(choice, value);
      if (p > 0) choice[static_cast<size_t>(p - 1)] = ' ';
    }
    if (counter == kUnderlineItem && (value.empty() || rt::UCASE(value) == "END")) {
      std::string left = choice;
      DELBLANK(left);
      ULWORDCHAR = rt::LEFT(left, 1);
      NOSYMCHAR = rt::RIGHT(left, 1);
      put(item_line(ULWORDCHAR, "CHARACTER TO UNDERLINE A WORD  vlx6000"));
      put(item_line(NOSYMCHAR, "CHARACTER TO OMIT SOIL SYMBOL  vlx6000"));
    }
    put(line);
  }
  rt::close_file(SETCHAN);
  rt::close_file(out);
  if (!written) return;

  trap.step_copy("0004 copy " + old_name + " " + kOldSetup);
  if (!rt::copy_file(old_name, kOldSetup)) return;
  trap.step_copy("0005 copy " + std::string(kNewSetup) + " " + SETUPNAME);
  rt::copy_file(kNewSetup, SETUPNAME);
}
