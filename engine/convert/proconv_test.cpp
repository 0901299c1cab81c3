// The conversion's driver and its set-up sections: the SET file's conversion block, the input check,
// the clean-up of old work files, and the loading of the conversion vocabularies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/convert/convert_fixture.h"
#include "engine/runtime/command.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::ProcessEnded;

namespace {

std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// A SET line: the value, padded to column 37, then the caption.
std::string item(const std::string& value) { return value + std::string(value.size() < 36 ? 36 - value.size() : 1, ' ') + "= item"; }

// A SET file whose conversion block holds the given values (as many as given).
std::string set_file(const std::vector<std::string>& values, bool end = true) {
  std::vector<std::string> lines{"A SET file", "BEGIN", item("PROMPTS .ENG"), "END", "", "Conversion:", "BEGIN"};
  for (const auto& v : values) lines.push_back(item(v));
  if (end) lines.push_back("END");
  return crlf(lines);
}

const std::vector<std::string> kStandardValues{"0", "ENG", "`", "~", "\\", "^", "{", "}", "\"", "$", "#", "_", "|"};

// A conversion vocabulary: header keyword lines, then the 23 list lines (missing ones empty).
std::string convocab(const std::vector<std::string>& keywords, std::vector<std::string> lists) {
  lists.resize(23);
  std::vector<std::string> lines{"A conversion vocabulary", "BEGIN"};
  lines.insert(lines.end(), keywords.begin(), keywords.end());
  lines.insert(lines.end(), {"END", "Lists:", "  begin  "});
  lines.insert(lines.end(), lists.begin(), lists.end());
  lines.push_back("anything after the lists");
  return crlf(lines);
}

class ConversionSetUp : public ConvertFixture {
 protected:
  void SetUp() override {
    ConvertFixture::SetUp();
    st = state();
  }
  int log_lines() const {
    const std::string l = log();
    return static_cast<int>(std::count(l.begin(), l.end(), '\n'));
  }
  ConvState st;
};

TEST_F(ConversionSetUp, PreliminReadsTheStandardSetFile) {
  copy_data({"STANDARD.SET", "wordpad.sig"});
  SETUPNAME = "standard.set";
  BEZIER = 3;
  SYMBOLDPI = 300;
  for (int i = 0; i <= 100; ++i) HEADER(i) = "h";
  CRLF.clear();
  PRELIMIN(st);
  EXPECT_EQ(st.CONVEXTS, "ENG");
  const std::string chars = SYMULCHAR + SYMCHAR + BREAKCHAR + HARDSPCHAR + INDONCHAR + INDOFFCHAR + ESCCHAR +
                            FONTSWCHAR + COLUMNCHAR + ULWORDCHAR + NOSYMCHAR;
  EXPECT_EQ(chars, "`~\\^{}\"$#_|");
  EXPECT_EQ(STARS, "**");
  EXPECT_EQ(CRLF, "\r\n");
  EXPECT_EQ(st.WPSIG, std::string("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8) + std::string(16, '\0'));
  EXPECT_EQ(BEZIER, 0);
  EXPECT_EQ(SYMBOLDPI, 0);
  EXPECT_EQ(HEADER(0), "h");
  EXPECT_EQ(HEADER(1), "");
  EXPECT_EQ(HEADER(63), "");
  EXPECT_EQ(HEADER(64), "h");
  EXPECT_FALSE(rt::is_open(SETCHAN));
  EXPECT_EQ(log(), "");
}

TEST_F(ConversionSetUp, ConversionBlockVariants) {
  dir.write("wordpad.sig", "SIG");
  std::vector<std::string> cut = kStandardValues;
  cut.resize(5);
  std::vector<std::string> old_layout = kStandardValues;
  old_layout[11] = "";
  old_layout.pop_back();
  std::vector<std::string> old_no_blank = old_layout;
  old_no_blank.pop_back();
  std::vector<std::string> underscore_used = old_layout;
  underscore_used[2] = "_";  // item 3 takes the underscore: the choice moves on
  std::vector<std::string> long_values = kStandardValues;
  long_values[1] = "ENG,AFR" + std::string(21, ' ') + "X";  // the 29th character is cut off
  struct Case {
    const char* what;
    std::string file;
    const char* chars;  // the eleven characters in the order of the SET file
    const char* exts;
    int errors;         // lines in ERROR.LOG
  } cases[] = {
      {"standard", set_file(kStandardValues), "`~\\^{}\"$#_|", "ENG", 0},
      {"ends before the block", crlf({"BEGIN", "x", "END", "no second block"}), "", "", 1},
      {"ends within the block", set_file(cut, false), "`~\\", "ENG", 1},
      {"older layout, empty twelfth line", set_file(old_layout), "`~\\^{}\"$#_|", "ENG", 0},
      {"older layout, END as twelfth line", set_file(old_no_blank), "`~\\^{}\"$#_|", "ENG", 0},
      {"older layout, underscore in use", set_file(underscore_used), "_~\\^{}\"$#`|", "ENG", 0},
      {"values cut at 28 characters", set_file(long_values), "`~\\^{}\"$#_|", "ENG,AFR", 0},
      {"lower-case begin lines", [] {
         std::string s = set_file(kStandardValues);
         for (size_t p = s.find("BEGIN"); p != std::string::npos; p = s.find("BEGIN")) s.replace(p, 5, "begin");
         return s;
       }(), "`~\\^{}\"$#_|", "ENG", 0},
  };
  for (const auto& k : cases) {
    clear_log();
    reset_convert_globals();
    st = state();
    dir.write("test.set", k.file);
    SETUPNAME = "test.set";
    PRELIMIN(st);
    const std::string chars = SYMULCHAR + SYMCHAR + BREAKCHAR + HARDSPCHAR + INDONCHAR + INDOFFCHAR + ESCCHAR +
                              FONTSWCHAR + COLUMNCHAR + ULWORDCHAR + NOSYMCHAR;
    EXPECT_EQ(chars, k.chars) << k.what;
    EXPECT_EQ(st.CONVEXTS, k.exts) << k.what;
    EXPECT_EQ(log_lines(), k.errors) << k.what;
    EXPECT_EQ(st.WPSIG, "SIG") << k.what;
  }
  EXPECT_TRUE(box.texts.empty());
}

// A SET file of the older layout is upgraded: the two new items go before its twelfth line, the file
// as it was is kept as "oldsetup.set", and the next conversion reads the new items. The files are
// copied directly, whatever the SET file's name holds.
TEST_F(ConversionSetUp, OlderSetFileIsUpgraded) {
  dir.write("wordpad.sig", "SIG");
  std::vector<std::string> old_layout = kStandardValues;
  old_layout[11] = "";
  old_layout.pop_back();
  std::vector<std::string> end_as_twelfth = old_layout;
  end_as_twelfth.pop_back();
  std::vector<std::string> one_left = old_layout;
  one_left[1] = "_";  // items 2 to 11 use every standard character but the vertical bar
  const std::string underline = "_" + std::string(35, ' ') + "= CHARACTER TO UNDERLINE A WORD  vlx6000";
  const std::string omit = "|" + std::string(35, ' ') + "= CHARACTER TO OMIT SOIL SYMBOL  vlx6000";
  struct Case {
    const char* what;
    const char* name;
    std::vector<std::string> values;
    std::vector<std::string> inserted;  // the two lines the block gains before its twelfth line
  } cases[] = {
      {"empty twelfth line", "old.set", old_layout, {underline, omit}},
      {"END as twelfth line", "My setup & co (1).set", end_as_twelfth, {underline, omit}},
      {"one character left", "one.set", one_left,
       {"|" + underline.substr(1), omit}},
  };
  for (const auto& k : cases) {
    for (const char* f : {"oldsetup.set", "NewSetup.set"}) fs::remove(dir.path() / f);
    const std::string before = set_file(k.values);
    dir.write(k.name, before);
    SETUPNAME = k.name;
    reset_convert_globals();
    st = state();
    PRELIMIN(st);
    EXPECT_EQ(ULWORDCHAR + NOSYMCHAR, k.inserted[0].substr(0, 1) + k.inserted[1].substr(0, 1)) << k.what;
    std::string after = before;
    const std::string block = "BEGIN\r\n";
    size_t at = after.find(block, after.find(block) + 1) + block.size();
    for (int line = 1; line < 12; ++line) at = after.find("\r\n", at) + 2;
    after.insert(at, crlf(k.inserted));
    EXPECT_EQ(dir.read(k.name), after) << k.what;
    EXPECT_EQ(dir.read("oldsetup.set"), before) << k.what;
    EXPECT_EQ(dir.read("NewSetup.set"), after) << k.what;

    // Upgraded, the file is read as it stands and not upgraded again.
    fs::remove(dir.path() / "oldsetup.set");
    reset_convert_globals();
    st = state();
    PRELIMIN(st);
    EXPECT_EQ(ULWORDCHAR + NOSYMCHAR, k.inserted[0].substr(0, 1) + k.inserted[1].substr(0, 1)) << k.what;
    EXPECT_FALSE(fs::exists(dir.path() / "oldsetup.set")) << k.what;
  }
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"My setup & co (1).set", "NewSetup.set", "old.set", "one.set",
                                            "prompts.eng", "wordpad.sig"}));
  EXPECT_EQ(log(), "");
}

TEST_F(ConversionSetUp, MissingSetOrSignatureFileEndsTheConversion) {
  SETUPNAME = "none.set";
  EXPECT_THROW(PRELIMIN(st), LeaveConversion);
  EXPECT_NE(printed->transcript.find("File not found : none.set"), std::string::npos);
  EXPECT_EQ(con->keys, 1);
  dir.write("x.set", set_file(kStandardValues));
  SETUPNAME = "x.set";
  EXPECT_THROW(PRELIMIN(st), LeaveConversion);
  EXPECT_NE(printed->transcript.find("File not found : wordpad.sig"), std::string::npos);
  EXPECT_EQ(con->keys, 2);
  EXPECT_EQ(NOSYMCHAR, "|");  // the SET file was read before
}

TEST_F(ConversionSetUp, CheckworFindsWordProcessorDocuments) {
  st.WPSIG = std::string("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8) + std::string(16, '\0');
  SOURCENAME.clear();
  EXPECT_THROW(CHECKWOR(st), LeaveConversion);  // nothing to convert: silently
  EXPECT_EQ(printed->transcript, "");

  struct Case {
    std::string head;
    const char* inname;
  } cases[] = {
      {st.WPSIG + "rest of the document", "workfile.txt"},
      {"Client: A\r\n/\r\n", "input.txt"},
      {st.WPSIG.substr(0, 10), "input.txt"},  // shorter than the signature
      {"", "input.txt"},
  };
  for (const auto& k : cases) {
    fs::remove(dir.path() / "workfile.txt");
    dir.write("input.txt", k.head);
    SOURCENAME = "input.txt";
    CHECKWOR(st);
    EXPECT_EQ(st.INNAME, k.inname) << k.head.size();
    EXPECT_EQ(fs::exists(dir.path() / "workfile.txt"), std::string(k.inname) == "workfile.txt");
    EXPECT_FALSE(rt::is_open(INCHAN));
  }
  st.WPSIG.clear();  // an empty signature file takes no input for a document, not even an empty one
  dir.write("input.txt", "");
  CHECKWOR(st);
  EXPECT_EQ(st.INNAME, "input.txt");
}

TEST_F(ConversionSetUp, MissingInputEndsTheEngineWithAFailure) {
  SOURCENAME = "C:\\nowhere\\holes.txt";
  try {
    CHECKWOR(st);
    ADD_FAILURE() << "the engine goes on";
  } catch (const ProcessEnded& e) {
    EXPECT_EQ(e.code, 1);
  }
  EXPECT_NE(printed->transcript.find("C:\\nowhere\\holes.txt " + PROMPT(78)), std::string::npos);
  EXPECT_EQ(printed->transcript.find(PROMPT(110)), std::string::npos);  // no one there to press a key
  EXPECT_EQ(con->beeps, 1);
  EXPECT_EQ(con->keys, 1);
}

TEST_F(ConversionSetUp, EnterfilDeletesTheLastConversionsWorkFiles) {
  for (const char* f : {"J12BH1.TRX", "j12bh2.trx", "work-lay.1", "WORK-ATT.B", "keep.txt", "trx.keep", "Dwork.1R"})
    dir.write(f, "x");
  fs::create_directory(dir.path() / "folder.trx");
  st.CONVEXTS = "ENG";  // no vocabulary here: FETCHVOC gives up after the clean-up
  EXPECT_THROW(ENTERFIL(st), LeaveConversion);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Dwork.1R", "ERROR.LOG", "LASTFILE", "folder.trx", "keep.txt", "prompts.eng",
                                            "trx.keep"}));
  EXPECT_EQ(dir.read("LASTFILE"), "");
  EXPECT_NE(printed->transcript.find(PROMPT(79)), std::string::npos);
  EXPECT_EQ(st.WARNFLAG, 1);
  // The missing vocabulary, and the conversion that could not be made, written down.
  const std::string log = dir.read("ERROR.LOG");
  EXPECT_NE(log.find("CONVOCAB.ENG " + PROMPT(78) + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(PROMPT(79) + "\r\n"), std::string::npos) << log;
}

// An input whose name fits a work-file mask is the user's file and stays, however the listing or the
// run names it (another letter case, a hard link or a symbolic link beside it); the other work files go.
TEST_F(ConversionSetUp, EnterfilKeepsAnInputThatLooksLikeAWorkFile) {
  struct Case {
    const char* input;   // as the run names it
    const char* listed;  // how the input shows in the folder, besides "holes.trx"
  } cases[] = {{"holes.trx", nullptr}, {"HOLES.TRX", nullptr}, {"holes.trx", "link.trx"}, {"holes.trx", "sym.trx"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " " + (c.listed ? c.listed : ""));
    dir.write("holes.trx", "the user's holes");
    dir.write("old.trx", "x");
    if (c.listed && std::string(c.listed) == "link.trx") fs::create_hard_link(dir.path() / "holes.trx", dir.path() / c.listed);
    if (c.listed && std::string(c.listed) == "sym.trx") fs::create_symlink("holes.trx", dir.path() / c.listed);
    SOURCENAME = c.input;
    st.INNAME = c.input;
    st.CONVEXTS = "ENG";  // no vocabulary here: FETCHVOC gives up after the clean-up
    EXPECT_THROW(ENTERFIL(st), LeaveConversion);
    EXPECT_EQ(dir.read("holes.trx"), "the user's holes");
    EXPECT_FALSE(fs::exists(dir.path() / "old.trx"));
    if (c.listed) {
      EXPECT_TRUE(fs::exists(fs::symlink_status(dir.path() / c.listed))) << "it leads to the input";
      fs::remove(dir.path() / c.listed);
    }
  }
}

TEST_F(ConversionSetUp, FetchvocJoinsTheVocabulariesInListOrder) {
  std::vector<std::string> eng(23), afr(23);
  for (int n = 1; n <= 23; ++n) {
    eng[static_cast<size_t>(n - 1)] = "/E" + std::to_string(n) + "/";
    afr[static_cast<size_t>(n - 1)] = "/A" + std::to_string(n) + "/";
  }
  eng[1] = "/SAMPLES:/";
  afr[1] = "";  // an empty list line adds nothing and moves no other line
  dir.write("CONVOCAB.ENG", convocab({"/client/<05", "/groundlevel/gl/<08>>", "/hole/<20", "/x/<12>>"}, eng));
  dir.write("convocab.afr", convocab({"/klient/<05", "/grondvlak/<08>>", "/y/<34>>", "/z/<23>>"}, afr));
  dir.write("PAINTLIB.ENG", crlf({"BEGIN", "/red = 255 0 0.", "END"}));
  dir.write("PAINTLIB.AFR", crlf({"Paints", "BEGIN", "/Rooi = 255 0 0.", "/dark blue = 0 0 139.", " end ", "/after = 1."}));
  dir.write("userconv.dat", "/Extra Word/\r\nsecond line\r\n");
  VOCABNAME = "PROVOCAB.ENG";
  CONVWORDS = "/[old/";
  st.CONVEXTS = "ENG, AFR";
  FETCHVOC(st);
  EXPECT_EQ(st.CONVBLOCK, "/client/<05/groundlevel/gl/<08>>/hole/<20/x/<12>>/klient/<05/grondvlak/<08>>/y/<34>>/z/<23>>");
  EXPECT_EQ(st.CONVCODECOUNT, 3);  // 08 once; 23 counts as seen inside "081234"
  EXPECT_EQ(st.CONVCODES, "081234");
  EXPECT_EQ(st.CONVCODE(1), 8);
  EXPECT_EQ(st.CONVCODE(2), 12);
  EXPECT_EQ(st.CONVCODE(3), 34);
  EXPECT_EQ(st.CONVLIST[1], "/E1//A1/");
  EXPECT_EQ(st.CONVLIST[2], "/SAMPLES:/");
  EXPECT_EQ(st.CONVLIST[3], "/e3//a3/");  // lower-cased
  EXPECT_EQ(st.CONVLIST[5], "/E5/SAMPLES//A5//");
  EXPECT_EQ(st.CONVLIST[8], "/E8//A8/");
  EXPECT_EQ(st.CONVLIST[23], "/e23//a23/");
  EXPECT_EQ(VOCABNAME, "PROVOCAB.ENG/E21//A21/");
  EXPECT_EQ(CONVWORDS, "/[old//e22//a22/");
  EXPECT_EQ(st.CONVALL, "/e3//a3//e4//a4//e14//a14//e15//a15//e16//a16//e17//a17//e23//a23//extra word/");
  EXPECT_EQ(st.USERCONV, "/Extra Word/");
  EXPECT_EQ(PAINTWORDS, "/rooi= 255 0 0./darkblue= 0 0 139.");  // the last extension's paints only
  EXPECT_EQ(st.PAINTNAME, "PAINTLIB.AFR");
  EXPECT_EQ(st.WARNFLAG, 0);
  EXPECT_EQ(log(), "");
  EXPECT_EQ(con->keys, 0);
}

TEST_F(ConversionSetUp, FetchvocExtensionsAndFailures) {
  dir.write("CONVOCAB.ENG", convocab({"/client/<05"}, {"/N/"}));
  dir.write("PAINTLIB.ENG", crlf({"BEGIN", "END"}));
  for (const char* exts : {".ENG", "X.ENG", "+ENG+"}) {
    st = state();
    st.CONVEXTS = exts;
    FETCHVOC(st);
    EXPECT_EQ(st.CONVEXT, "ENG") << exts;
    EXPECT_EQ(st.CONVLIST[1], "/N/") << exts;
  }
  // A missing vocabulary is named and skipped, without a key wait; the paint library of the last
  // extension is looked for all the same.
  st = state();
  st.CONVEXTS = "ENG NONE";
  FETCHVOC(st);
  EXPECT_NE(printed->transcript.find("CONVOCAB.NONE " + PROMPT(78)), std::string::npos);
  EXPECT_NE(printed->transcript.find("PAINTLIB.NONE " + PROMPT(78)), std::string::npos);
  EXPECT_EQ(st.WARNFLAG, 1);
  EXPECT_EQ(con->beeps, 1);  // for the paint library only
  EXPECT_EQ(con->keys, 1);
  // No extension at all: nothing to convert with; the paint library is not read.
  st = state();
  st.CONVEXTS = "";
  PAINTWORDS.clear();
  EXPECT_THROW(FETCHVOC(st), LeaveConversion);
  EXPECT_NE(printed->transcript.find(PROMPT(79)), std::string::npos);
  EXPECT_EQ(PAINTWORDS, "");
  // Each written down once: the missing files, and the conversion that could not be made.
  const std::string l = log();
  EXPECT_EQ(log_lines(), 3) << l;
  EXPECT_NE(l.find("CONVOCAB.NONE " + PROMPT(78) + "\r\n"), std::string::npos) << l;
  EXPECT_NE(l.find("PAINTLIB.NONE " + PROMPT(78) + "\r\n"), std::string::npos) << l;
  EXPECT_NE(l.find(PROMPT(79) + "\r\n"), std::string::npos) << l;
}

TEST_F(ConversionSetUp, ShortVocabularyFilesAreReportedOnceEach) {
  dir.write("CONVOCAB.ENG", crlf({"BEGIN", "/client/<05"}));               // ends in the keyword block
  dir.write("CONVOCAB.AFR", crlf({"BEGIN", "/klient/<05", "END", "BEGIN", "/L1/", "/L2/"}));  // 2 of 23 lines
  dir.write("PAINTLIB.AFR", crlf({"BEGIN", "/red = 255 0 0."}));          // no END
  st.CONVEXTS = "ENG AFR";
  FETCHVOC(st);
  EXPECT_EQ(st.CONVBLOCK, "/client/<05/klient/<05");
  EXPECT_EQ(st.CONVLIST[1], "/L1/");
  EXPECT_EQ(st.CONVLIST[2], "/L2/");
  EXPECT_EQ(st.CONVLIST[5], "/L2/");
  EXPECT_EQ(PAINTWORDS, "/red= 255 0 0.");
  EXPECT_EQ(log_lines(), 3);  // one "input past end" per file
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(ConversionSetUp, TenPerHoleFieldsAtMost) {
  std::vector<std::string> keywords;
  for (int n = 40; n <= 52; ++n) keywords.push_back("/k" + std::to_string(n) + "/<" + std::to_string(n) + ">>");
  dir.write("CONVOCAB.ENG", convocab(keywords, {}));
  dir.write("PAINTLIB.ENG", crlf({"BEGIN", "END"}));
  st.CONVEXTS = "ENG";
  FETCHVOC(st);
  EXPECT_EQ(st.CONVCODECOUNT, 10);
  EXPECT_EQ(st.CONVCODE(10), 49);
  EXPECT_NE(printed->transcript.find("field 50"), std::string::npos);
  EXPECT_EQ(st.WARNFLAG, 1);
  // Each field that keeps its value from hole to hole is written down.
  EXPECT_EQ(log_lines(), 3) << log();
  EXPECT_NE(log().find("More than 10 per-hole header fields in CONVOCAB.ENG; field 52 keeps its value from hole to hole.\r\n"),
            std::string::npos)
      << log();
}

TEST_F(ConversionSetUp, ProconvRunsTheSectionsAndHandsOver) {
  copy_data({"STANDARD.SET", "wordpad.sig", "CONVOCAB.ENG", "PAINTLIB.ENG", "PROVOCAB.ENG", "PROLIB.DAT"});
  VOCABSETNAME = VOCABNAME = "PROVOCAB.ENG";
  dir.write("holes.txt", "Hole: BH1\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n///\r\n");
  dir.write("OLD001.TRX", "x");
  SETUPNAME = "STANDARD.SET";
  SOURCENAME = "holes.txt";
  RUNFLAGS = 1;  // a one-shot run
  rt::set_exit_code(0);
  EXPECT_TRUE(PROCONV());  // the run goes on to the catalogue
  EXPECT_EQ(rt::exit_code(), 0);
  EXPECT_FALSE(fs::exists(dir.path() / "OLD001.TRX"));
  EXPECT_TRUE(fs::exists(dir.path() / "000BH1.TRX"));
  EXPECT_EQ(con->keys, 0);                                            // no warning to read
  EXPECT_EQ(log(), "");

  // A warning (here: the paint library is missing) is shown before the catalogue.
  fs::remove(dir.path() / "PAINTLIB.ENG");
  con->keys = 0;
  PROCONV();
  EXPECT_NE(printed->transcript.find(rt::UCASE(PROMPT(22))), std::string::npos);
  EXPECT_EQ(con->keys, 2);  // the paint library's message, then the warning

  // Without any conversion vocabulary the conversion ends before the catalogue.
  fs::remove(dir.path() / "CONVOCAB.ENG");
  take_printed();
  EXPECT_FALSE(PROCONV());
  EXPECT_NE(printed->transcript.find(PROMPT(79)), std::string::npos);
  EXPECT_EQ(rt::FREEFILE(), 1);  // the early exit closed every file
  EXPECT_EQ(rt::exit_code(), 1);  // and the one-shot run ends as failed
  rt::set_exit_code(0);
}

}  // namespace
