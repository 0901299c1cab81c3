// The common ground of the conversion's unit tests: the setup fixture (fresh globals, a temporary
// current folder, a console that counts beeps and key waits) with fresh conversion globals, the
// mark-up codes the main program sets, the shipped prompt texts and the usual SET characters.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/setup/setup_fixture.h"
#include "markup_codes.h"

// The counting console that also keeps everything printed, so that a test sees messages that a
// later clear of the screen wiped.
class TranscriptConsole : public CountingConsole {
 public:
  std::string transcript;

 protected:
  void on_print(std::string_view text, bool newline) override {
    transcript += text;
    if (newline) transcript += "\n";
  }
};

class ConvertFixture : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    auto c = std::make_unique<TranscriptConsole>();
    con = c.get();
    printed = c.get();
    platform::set_console(std::move(c));
    reset_convert_globals();
    set_markup_codes();
    OUTDEV = 1;
    copy_data({"prompts.eng"});
    std::string prompts = "prompts.eng";
    FETCHPRO(prompts);
  }
  void TearDown() override {
    SetupFixture::TearDown();
    reset_convert_globals();
  }
  // Everything printed since the last call.
  std::string take_printed() { return std::exchange(printed->transcript, std::string()); }
  TranscriptConsole* printed = nullptr;

  // The mark-up characters of the standard SET file.
  static void standard_characters() {
    SYMULCHAR = "`";
    SYMCHAR = "~";
    BREAKCHAR = "\\";
    HARDSPCHAR = "^";
    INDONCHAR = "{";
    INDOFFCHAR = "}";
    ESCCHAR = "\"";
    FONTSWCHAR = "$";
    COLUMNCHAR = "#";
    ULWORDCHAR = "_";
    NOSYMCHAR = "|";
    STARS = "**";
  }
  // Writes the input text and opens it as the hole pass does: CONVCHAN, LINECOUNT 0, INFILELEN.
  void open_input(const std::string& text, const std::string& name = "input.txt") {
    dir.write(name, text);
    CONVCHAN = rt::FREEFILE();
    ASSERT_TRUE(rt::open_file(CONVCHAN, name, rt::FileMode::Binary));
    LINECOUNT = 0;
    INFILELEN = static_cast<std::int32_t>(rt::LOF(CONVCHAN));
  }
  // Every line FETCHNEX delivers up to the end of the input.
  std::vector<std::string> fetch_all() {
    std::vector<std::string> lines;
    for (int guard = 0; LINECOUNT < INFILELEN && guard < 1000; ++guard) {
      std::string line;
      FETCHNEX(CONVCHAN, line);
      lines.push_back(line);
    }
    return lines;
  }
  // A state for the sections, with PROCONV's arrays, under a trap of the test's own.
  ConvState state() {
    ConvState st;
    st.dim_arrays();
    return st;
  }
};
