// The common ground of the hole coder's unit tests: the setup fixture (fresh globals, a temporary
// current folder, a console that counts beeps and key waits) with fresh select and conversion globals,
// the mark-up codes, the shipped prompt texts, a console that keeps what was printed, recorders in the
// coder's hand-over, and a writer of small coded hole files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/convert/convert_fixture.h"
#include "engine/convert/globals.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/procode.h"
#include "engine/select/select.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"
#include "markup_codes.h"

// One hole as the conversion writes it; a count of -1 is the number of lines given.
struct Hole {
  std::string name = "BH1";
  std::string scale;  // header item 3
  std::string vocab;  // header item 38
  std::string colour;
  std::vector<std::string> samples1, samples2;
  long samples_count = -1;
  std::vector<std::string> notes;
  long notes_count = -1;
  std::vector<std::string> layers;
  long layers_count = -1;
  std::vector<std::string> attributes;
  std::vector<long> widths;
  std::vector<std::string> records;
  long attributes_count = -1;
  std::vector<std::string> abbreviations;  // the title first
  long abbreviations_count = -1;
  std::vector<std::string> other = std::vector<std::string>(14);  // items 43..46, 49, 53..61

  std::string text() const {
    std::string t;
    auto line = [&t](const std::string& s) { t += s + "\r\n"; };
    auto count = [&line](long given, size_t lines) { line(" " + std::to_string(given >= 0 ? given : static_cast<long>(lines))); };
    line("7022");
    for (int i = 1; i <= 22; ++i) line(i == 3 ? scale : i == 20 ? name : i == 22 ? "J-631" : "");
    line(vocab);
    line(colour);
    count(samples_count, samples1.size());
    for (const auto& s : samples1) line(s);
    for (const auto& s : samples2) line(s);
    count(notes_count, notes.size());
    for (const auto& s : notes) line(s);
    count(layers_count, layers.size());
    for (const auto& s : layers) line(s);
    count(attributes_count, attributes.size());
    for (const auto& s : attributes) line(s);
    for (long w : widths) line(" " + std::to_string(w));
    for (const auto& s : records) line(s);
    count(abbreviations_count, abbreviations.size());
    for (const auto& s : abbreviations) line(s);
    for (const auto& s : other) line(s);
    line(std::string(2, '\xb4'));
    line(std::string(3, '\xb4'));
    return t;
  }
};

class CoderFixture : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    auto c = std::make_unique<TranscriptConsole>();
    con = c.get();
    printed = c.get();
    platform::set_console(std::move(c));
    reset_select_globals();
    reset_convert_globals();
    set_markup_codes();
    STATUSROW = CONROWS = 25;
    PROCOM();  // the work-channel numbers
    OUTDEV = 1;
    copy_data({"prompts.eng"});
    std::string prompts = "prompts.eng";
    FETCHPRO(prompts);
    rt::set_exit_code(0);
    coder_hand_over() = CoderHandOver{};
    // A sheet drawn as PDF is listed for the join, as its end does.
    coder_hand_over().proforma = [this] {
      sheets.push_back(rt::TRIM(PROFILECODE) + " " + HEADER(20));
      if (OUTDEV == 1) OUTLIST += "|" + rt::TRIM(PROFILECODE) + ".pdf";
    };
    coder_hand_over().prosumma = [this] { sheets.push_back("summary data"); };
    coder_hand_over().combine = [this] {
      sheets.push_back("combine");
      done.clear();
      for (std::int32_t i = 1; i <= DONECOUNT; ++i) done.push_back(DONELIST(i));
    };
  }
  void TearDown() override {
    coder_hand_over() = CoderHandOver{};
    rt::set_exit_code(0);
    SetupFixture::TearDown();
    reset_select_globals();
    reset_convert_globals();
  }
  // Loads the shipped vocabulary as the SET file's.
  void load_vocabulary() {
    copy_data({"PROVOCAB.ENG", "PROLIB.DAT"});
    VOCABSETNAME = VOCABNAME = "PROVOCAB.ENG";
    READVOCB(VOCABNAME);
  }
  void write_hole(const std::string& code, const Hole& h) const { dir.write(code + ".TRX", h.text()); }
  // Codes the entries of INFILE (codes, each padded to an entry) as a one-shot run does.
  void code(const std::vector<std::string>& codes, std::int32_t flags = 1) {
    INFILE.clear();
    for (const auto& c : codes) INFILE += rt::LSET(c, 10);
    RUNFLAGS = flags;
    PROCODE();
  }
  std::string take_printed() { return std::exchange(printed->transcript, std::string()); }
  TranscriptConsole* printed = nullptr;
  std::vector<std::string> sheets;
  std::vector<std::int32_t> done;
};
