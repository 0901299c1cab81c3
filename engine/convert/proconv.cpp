// PROCONV: the input conversion. The driver runs its sections in a fixed order over one shared state
// (proconv.h); this file holds the driver, the per-run set-up from the SET file (PRELIMIN), the check of
// the input file (CHECKWOR), the clean-up of the last conversion's work files (ENTERFIL), the early exit
// and AIN, the reader of the SET file's conversion block.
#include "engine/convert/proconv.h"

#include <filesystem>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "platform/console.h"
#include "platform/msgbox.h"
#include "platform/paths.h"

namespace {

constexpr const char* kSignatureFile = "wordpad.sig";
constexpr const char* kWorkfile = "workfile.txt";
constexpr std::size_t kSignatureLength = 24;

// The work files of a conversion, deleted before a new one writes any.
constexpr const char* kWorkMasks[] = {"*.trx", "work-lay.*", "work-att.*"};

// True when the two lookups found one existing file: by what the lookups saw of two regular files,
// else (a link on the way, a folder) by asking the system.
bool same_file(const platform::MappedPath& pa, const platform::MappedPath& pb) {
  if (pa.error != 0 || pb.error != 0) return false;
  if (pa.regular && pb.regular) return pa.device == pb.device && pa.inode == pb.inode;
  std::error_code ec;
  return std::filesystem::equivalent(pa.path, pb.path, ec);
}

}  // namespace

bool PROCONV() {
  RT_TRAP(trap, "PROCONV");
  ConvState st;
  st.trap = &trap;
  trap.step("0001");
  st.dim_arrays();
  try {
    PRELIMIN(st);
    CHECKWOR(st);
    ENTERFIL(st);
    BLOCKSLA(st);
    JOBHEADE(st);
    HOLEDETA(st);
  } catch (const LeaveConversion&) {
    // A one-shot run whose input could not be converted must not end as if it had made its sheets.
    if ((RUNFLAGS & 1) && !SOURCENAME.empty()) rt::set_exit_code(1);
    return false;
  }
  trap.section("PROCONV");
  trap.step("0002");
  if (st.WARNFLAG > 0) {
    auto& con = platform::console();
    con.print(rt::UCASE(PROMPT(22)), true);
    if (con.interactive()) con.print(PROMPT(110), false);  // no key is asked for where no one is there
    con.flush();
    con.wait_key();
    st.WARNFLAG = 0;
  }
  trap.step("0003");
  return true;
}

bool AIN(std::string& text, std::int32_t& counter) {
  RT_TRAP(trap, "AIN");
  std::string line;
  if (!rt::line_input(SETCHAN, line)) return false;  // the end of the file, reported here once
  ++counter;
  text = rt::TRIM(rt::LEFT(line, 28));
  return true;
}

void PRELIMIN(ConvState& st) {
  st.section("PRELIMIN", "0001");
  BEZIER = 0;
  SYMBOLDPI = 0;
  for (long i = 1; i <= 63; ++i) HEADER(i).clear();

  st.step("0002");
  if (!rt::file_exists(SETUPNAME)) {
    NOFILE(SETUPNAME);
    throw LeaveConversion{};
  }
  SETCHAN = rt::FREEFILE();
  if (!rt::open_file(SETCHAN, SETUPNAME, rt::FileMode::Input)) throw LeaveConversion{};
  rt::engine_file(SETCHAN);

  // The conversion block follows the second BEGIN line. A file that ends early has been reported by
  // AIN; nothing more is read and the items not reached stay empty.
  st.step("0003");
  std::string value;
  bool ended = false;
  for (int begins = 0; begins < 2;) {
    if (!AIN(value, st.SETLINES)) {
      ended = true;
      break;
    }
    if (rt::UCASE(value) == "BEGIN") ++begins;
  }
  st.step("0004");
  std::string page_order;  // item 1, not used by the conversion
  std::string* const items[] = {&page_order, &st.CONVEXTS, &SYMULCHAR, &SYMCHAR,    &BREAKCHAR,
                                &HARDSPCHAR, &INDONCHAR,   &INDOFFCHAR, &ESCCHAR,   &FONTSWCHAR,
                                &COLUMNCHAR, &ULWORDCHAR,  &NOSYMCHAR};
  for (std::string* item : items) item->clear();
  STARS = "**";
  int item_count = 0;  // items read, up to 12 here; item 13 depends on item 12
  while (!ended && item_count < 12) {
    if (!AIN(value, st.SETLINES)) {
      ended = true;
      break;
    }
    // The END line closes the block: an older file that has no items 12 and 13 may end its block
    // there instead of leaving the twelfth line empty.
    if (rt::UCASE(value) == "END") {
      if (item_count == 11) value.clear();
      else break;
    }
    *items[item_count++] = value;
  }

  st.step("0005");
  if (item_count == 12 && ULWORDCHAR.empty()) {
    rt::close_file(SETCHAN);
    FIXSETUP(st);
  } else {
    if (item_count == 12 && AIN(value, st.SETLINES) && rt::UCASE(value) != "END") NOSYMCHAR = value;
    rt::close_file(SETCHAN);
  }

  st.step("0006");
  if (!rt::file_exists(kSignatureFile)) {
    missing_file(kSignatureFile);
    throw LeaveConversion{};
  }
  const int f = rt::FREEFILE();
  if (rt::open_file(f, kSignatureFile, rt::FileMode::Binary)) {
    rt::engine_file(f);
    st.WPSIG = rt::get_bytes(f, kSignatureLength);
    rt::close_file(f);
  }
  CRLF = "\r\n";
}

void CHECKWOR(ConvState& st) {
  st.section("CHECKWOR", "0001");
  if (SOURCENAME.empty()) throw LeaveConversion{};
  st.INNAME = SOURCENAME;
  // The remap of word-processor text is on for a word-processor document, and for an input whose
  // marker line says it is word-processor text (the pre-scan looks for it); for this conversion only.
  WPMODE = 0;
  if (rt::file_exists(SOURCENAME)) {
    st.step("0002");
    // An input the user may not read converts nothing: said once, with what to do, instead of an
    // error at every step that reads it.
    if (const int e = rt::read_access(SOURCENAME); e != 0) {
      show_unreadable(SOURCENAME, e);
      throw LeaveConversion{};
    }
    INCHAN = rt::FREEFILE();
    std::string head;
    if (rt::open_file(INCHAN, SOURCENAME, rt::FileMode::Binary)) head = rt::get_bytes(INCHAN, kSignatureLength);
    rt::close_all();
    // An empty signature file would take every empty input for a word-processor document.
    if (!st.WPSIG.empty() && head == st.WPSIG) {
      st.step("0003");
      MSVLX();
      st.INNAME = kWorkfile;
      WPMODE = 1;
    }
    return;
  }
  // The input file is missing: the run cannot go on. The engine ends here, with a code that says the
  // run failed (a one-shot run must not look as if it had made its sheets).
  st.step("0004");
  auto& con = platform::console();
  con.beep();
  con.print("", true);
  con.print(SOURCENAME + " " + PROMPT(78), true);
  rt::fault_logged(SOURCENAME + " " + PROMPT(78));
  if (con.interactive()) con.print(PROMPT(110), false);  // no key is asked for where no one is there
  st.WARNFLAG = 1;
  con.flush();
  con.wait_key();
  rt::close_all();
  platform::end_process(1);
}

void ENTERFIL(ConvState& st) {
  st.section("ENTERFIL", "0001");
  // "LASTFILE" is opened and read but never changed (opening creates it when it is missing).
  VOCCHAN = rt::FREEFILE();
  if (rt::open_file(VOCCHAN, "LASTFILE", rt::FileMode::Binary)) {
    rt::get_bytes(VOCCHAN, 128);
    rt::close_file(VOCCHAN);
  }
  // The work files of the last conversion, in the current folder (the engine folder) only; an input
  // file whose name fits a mask is the user's, not a work file, and stays.
  st.step("0002");
  // The input is looked up once: a listed name that leads to it is kept.
  const platform::MappedPath input = platform::map_existing(st.INNAME), source = platform::map_existing(SOURCENAME);
  for (const char* mask : kWorkMasks)
    for (const std::string& name : rt::DIR(mask)) {
      const platform::MappedPath listed = platform::map_existing(name);
      if (!same_file(listed, input) && !same_file(listed, source) && !rt::kill_file(name)) {
        // Coded files of the last run left beside the new ones would be drawn as holes of this input.
        show_fault("The work file " + name + " of the last run cannot be deleted; the input is not converted.");
        EXXIT(st);
      }
    }
  st.step("0003");
  auto& con = platform::console();
  con.cls();
  con.print(PROMPT(84), true);
  FETCHVOC(st);
}

void EXXIT(ConvState& st) {
  st.section("EXXIT", "0001");
  rt::close_all();
  throw LeaveConversion{};
}
