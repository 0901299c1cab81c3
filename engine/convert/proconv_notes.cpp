// EDITNOTE: the notes part of one hole, every line after the layers up to the hole end "//". Each
// line is taken by the first kind that fits: an attribute block (a line that begins with a word of
// list 8), a sample block (list 2; with an attached-file word it names a file of samples), an
// abbreviation block (list 13), or a note. After the hole end the notes are tidied (the heading and
// the numbers of numbered notes go), the notes that name samples are scanned, and the attribute
// lines are turned into records.
#include <algorithm>
#include <cstdint>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr std::int16_t kMaxNotes = 36;  // ordinary notes of a hole
constexpr std::int32_t kMaxAbbreviations = 15;

// A note left out: "the rest is left out" is written down once in a hole, at the first such line.
void notes_full(ConvState& st) {
  if (st.NOTESFULL) return;
  st.NOTESFULL = true;
  input_fault(st, PROMPT(95) + " <" + CONVLINE + ">");
}

// Keeps where note NOTENUM stands in the input, for the messages of its sample scan.
void note_at(ConvState& st) {
  st.NOTEAT.resize(static_cast<size_t>(st.NOTENUM) + 1, -1);
  st.NOTEAT[static_cast<size_t>(st.NOTENUM)] = st.LINEAT;
}

void attached_file_line(ConvState& st);

// The lines of a sample block after its heading, up to the next attribute or abbreviation line or
// the hole end; each is scanned for samples. A line that names a file of samples (BIND FILE: x.txt,
// SAMPLES: FILE: x.txt) has that file read, as on the block's heading.
void sample_block(ConvState& st) {
  while (true) {
    GETLINE(st);
    st.section("EDITNOTE", "0011");
    if (st.ISLIST8 == 1 || st.ISLIST13 == 1 || st.SLASH2POS > 0 || input_ended()) return;
    if (FNPRES(CONVLINE, VOCABNAME) > 0) {
      attached_file_line(st);
      continue;
    }
    st.ISLIST2 = 1;
    st.LOWLINE = rt::LCASE(CONVLINE);
    PUTINPIC(st);
  }
}

// An attached-file line: a note of its own (taken without the limit of ordinary notes, while the
// notes table has room), and the file of samples it names with its last word; "BIND" in it prints the
// file with the hole. A file that is not there is said and left out; the other holes still convert.
void attached_file_line(ConvState& st) {
  st.section("EDITNOTE", "0020");
  auto& con = platform::console();
  if (st.NOTENUM < NOTE.ubound()) {
    ++st.NOTENUM;
    NOTE(st.NOTENUM) = CONVLINE;
    note_at(st);
  } else {
    con.print(PROMPT(95), true);
    con.print("<" + CONVLINE + ">", true);
    notes_full(st);
    st.WARNFLAG = 1;
  }
  const std::string line = CONVLINE;  // the file's reader takes CONVLINE for its lines
  std::string blank = " ";
  PARSVARS(CONVLINE, blank);
  // A file printed with the hole stays so when a later line of the hole names a file without BIND.
  const std::string bound = st.BINDFLAG > 0 ? NOTENAME : std::string();
  const std::int16_t bound_flag = st.BINDFLAG;
  NOTENAME = PARSEDCOUNT > 0 ? rt::TRIM(PARSED(PARSEDCOUNT)) : std::string();
  st.BINDFLAG = static_cast<std::int16_t>(std::min<long>(rt::INSTR(CONVLINE, "BIND"), INT16_MAX));
  st.step("0021");
  if (rt::file_exists(NOTENAME)) {
    READSAMP(st);
    if (st.BINDFLAG == 0 && !bound.empty()) {
      NOTENAME = bound, st.BINDFLAG = bound_flag;
    } else if (st.BINDFLAG > 0 && !bound.empty() && bound != NOTENAME) {
      // A hole prints one file with it: the last one bound. Its samples are all read.
      const std::string what = "One file a hole is printed with BIND: " + bound + " is not printed, " + NOTENAME + " is";
      con.print(what, true);
      input_fault(st, what + " <" + line + ">");
      st.WARNFLAG = 1;
    }
    return;
  }
  con.print("", true);
  con.print("File not found : " + NOTENAME, true);
  con.print("<" + CONVLINE + ">", true);
  input_fault(st, "File not found : " + NOTENAME + " <" + CONVLINE + ">");
  st.WARNFLAG = 1;
  st.BINDFLAG = 0;  // only a file that exists is printed with the hole
  if (!bound.empty()) NOTENAME = bound, st.BINDFLAG = bound_flag;
}

void abbreviation_block(ConvState& st) {
  do {
    st.section("EDITNOTE", "0030");
    if (st.ABBRN < kMaxAbbreviations) {
      ++st.ABBRN;
      ABBREV(st.ABBRN) = CONVLINE;
    } else if (!st.ABBRFULL) {
      // The coded file keeps 15 abbreviation lines: the rest is left out, said once in a hole.
      st.ABBRFULL = true;
      const std::string what = "More than " + rt::STR_TRIM(static_cast<int>(kMaxAbbreviations)) +
                               " abbreviation lines in this hole; left out from this one on:";
      auto& con = platform::console();
      con.print(what, true);
      con.print("<" + CONVLINE + ">", true);
      input_fault(st, what + " <" + CONVLINE + ">");
      st.WARNFLAG = 1;
    }
    GETLINE(st);
  } while (st.SLASH2POS == 0 && st.ISLIST8 == 0 && st.ISLIST2 == 0 && !input_ended());
}

void note_line(ConvState& st) {
  st.section("EDITNOTE", "0040");
  CONVLINE = rt::TRIM(CONVLINE);
  if (!CONVLINE.empty()) {
    if (st.NOTENUM < kMaxNotes) {
      ++st.NOTENUM;
      NOTE(st.NOTENUM) = CONVLINE;
      note_at(st);
    } else {
      platform::console().print(PROMPT(95), true);
      notes_full(st);
      st.WARNFLAG = 1;
    }
  }
  GETLINE(st);
}

// A first note that holds a notes-heading word (as a rule "NOTES:") is the heading, not a note.
void drop_heading(ConvState& st) {
  const std::int16_t count = st.NOTENUM;
  for (long i = 1; i <= count; ++i) {
    st.section("EDITNOTE", "0050");
    NOTE(i) = rt::TRIM(NOTE(i));
    std::string word = NOTE(i);
    STRIPPLU(word);
    if (i == 1 && FNPRES(rt::UCASE(word), st.CONVLIST[1]) > 0) {
      DELNOTE(1, st.NOTENUM);
      if (st.NOTEAT.size() > 1) st.NOTEAT.erase(st.NOTEAT.begin() + 1);
    }
  }
}

}  // namespace

void EDITNOTE(ConvState& st) {
  st.section("EDITNOTE", "0001");
  auto& con = platform::console();
  PIINIT(AWORKBASE + WORKFIRST);
  PIINIT(AWORKBASE + WORKSECOND);
  st.NOTENUM = 0;
  st.NOTEAT.clear();
  st.NOTESFULL = false;
  ATTRTOTAL = 0;
  st.ATTRAT.clear();
  st.ATTRLINESFULL = false;
  st.ABBRN = 0;
  st.ABBRFULL = false;
  GETLINE(st);
  while (st.SLASH2POS == 0 && !input_ended()) {
    st.section("EDITNOTE", "0002");
    if (st.ISLIST8 == 1) {
      read_attribute_block(st);
    } else if (st.ISLIST2 == 1) {
      if (FNPRES(CONVLINE, VOCABNAME) > 0) attached_file_line(st);
      sample_block(st);
    } else if (st.ISLIST13 == 1) {
      abbreviation_block(st);
    } else {
      note_line(st);
    }
    con.print(".", false);
  }

  // What follows works on the hole's notes and attribute lines as kept: a message names a note's own
  // line (NOTEAT), an attribute line's none.
  st.LINEAT = -1;
  drop_heading(st);
  // A note whose first word reads as a positive number ("1", "2.", "3)") loses that word.
  for (long i = 1; i <= st.NOTENUM; ++i) {
    st.section("EDITNOTE", "0060");
    const long p = rt::INSTR(NOTE(i), " ");
    if (p > 0 && rt::VAL(rt::LEFT(NOTE(i), p - 1)) > 0) {
      // A first word with figures after its point or comma ("3.20 Water strike") reads as a depth, but
      // it is the note's number and goes: said, so that the depth is written again where it counts.
      const std::string first = rt::LEFT(NOTE(i), p - 1);
      const size_t point = first.find_first_of(".,");
      if (point != std::string::npos && point + 1 < first.size() && first[point + 1] >= '0' && first[point + 1] <= '9') {
        st.LINEAT = static_cast<size_t>(i) < st.NOTEAT.size() ? st.NOTEAT[static_cast<size_t>(i)] : -1;
        const std::string what = "The first word of a note is its number, never a depth; " + first +
                                 " is left out (write \"Water strike at " + first + " m\"):";
        con.print(what, true);
        con.print("<" + NOTE(i) + ">", true);
        input_fault(st, what + " <" + NOTE(i) + ">");
        st.WARNFLAG = 1;
        st.LINEAT = -1;
      }
      NOTE(i) = rt::TRIM(rt::MID(NOTE(i), p + 1));
    }
  }

  // Notes that name a sample or a water level are scanned for them; the notes stay as they are.
  for (long i = 1; i <= st.NOTENUM; ++i) {
    st.section("EDITNOTE", "0070");
    CONVLINE = rt::TRIM(NOTE(i));
    st.LINEAT = static_cast<size_t>(i) < st.NOTEAT.size() ? st.NOTEAT[static_cast<size_t>(i)] : -1;
    st.LOWLINE = rt::LCASE(CONVLINE);
    for (const std::string* code : {&SYMULCODE, &ULWORDCODE, &SYMCODE, &FONTSWCODE, &CTRL25})
      if (!code->empty()) REMOVE(st.LOWLINE, *code);
    if (FNPRES(st.LOWLINE, VOCABNAME) > 0) continue;  // an attached-file line
    // The scan starts from the symbol mark of the search that chose the note: list 5, else CONVALL.
    if (FNPRES(st.LOWLINE, st.CONVLIST[5]) > 0 || FNPRES(st.LOWLINE, st.CONVALL) > 0) PUTINPIC(st);
  }

  st.LINEAT = -1;
  attribute_pass(st);
  PARSEDMAX = 120;
}
