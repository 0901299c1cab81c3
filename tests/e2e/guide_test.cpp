// The user's guide and the README keep telling the truth: every input example in docs/guide.md and
// README.md, read from the files themselves, is run through the engine and checked against what the
// text says of it.
//
// Each fenced block of the two files stands below a comment that a reader does not see:
//   <!-- guide-test: not an input (why) -->     a block that is no input of holes (commands, a run file)
//   <!-- guide-test: input KEY=VALUE ... -->    an input example and what the text says of it
// The keys of an input example (a value with blanks is written in double quotes; keys may repeat):
//   wrap=layers     the block is a hole's layer lines: a header and the slash lines are put round it
//   wrap=notes      the block is a hole's notes part: a header and a layer to 20 m go before it
//   exit=N          the run's exit code (0: and no ERROR.LOG)
//   sample=KIND@DEPTH[:LABEL]   a mark of that kind (disturbed, bulk, undisturbed, other, water, strike,
//                   level, seepage, core) at that depth or range, with that label
//   layer=DEPTH     a layer of that bottom depth (as written, 12.00+ too)
//   column=TITLE    a borehole-log column of that title
//   pages=N         the hole's result PDF has N pages
//   text=TEXT       the hole's result PDF shows the text
//   says=TEXT       the console shows the text
//   logged=TEXT     ERROR.LOG holds the text
// A fenced block without such a comment fails the test, so a new example cannot go unchecked.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct Example {
  std::string file;
  int line = 0;  // of the opening fence
  bool input = false;
  std::vector<std::pair<std::string, std::string>> keys;
  std::string text;  // the block's lines
};

// The words of a marker comment: KEY=VALUE or KEY="VALUE WITH BLANKS".
std::vector<std::pair<std::string, std::string>> marker_keys(const std::string& s) {
  std::vector<std::pair<std::string, std::string>> keys;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    const size_t eq = s.find('=', i);
    if (eq == std::string::npos) break;
    const std::string key = s.substr(i, eq - i);
    std::string value;
    i = eq + 1;
    if (i < s.size() && s[i] == '"') {
      const size_t close = s.find('"', i + 1);
      value = s.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
      i = close == std::string::npos ? s.size() : close + 1;
    } else {
      const size_t end = s.find(' ', i);
      value = s.substr(i, end == std::string::npos ? std::string::npos : end - i);
      i = end == std::string::npos ? s.size() : end;
    }
    keys.emplace_back(key, value);
  }
  return keys;
}

// Every fenced block of a markdown file with the comment above it; a block without one is a failure.
std::vector<Example> examples_of(const std::string& name) {
  std::vector<Example> found;
  std::istringstream in(read_file(source_dir() / name));
  std::string line, marker;
  int number = 0;
  bool inside = false;
  Example current;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("```", 0) == 0) {
      if (inside) {
        found.push_back(current);
        inside = false;
        continue;
      }
      inside = true;
      current = Example{};
      current.file = name;
      current.line = number;
      static const std::string kInput = "<!-- guide-test: input", kNot = "<!-- guide-test: not an input";
      if (marker.rfind(kInput, 0) == 0) {
        current.input = true;
        const size_t end = marker.rfind("-->");
        current.keys = marker_keys(marker.substr(kInput.size(), end == std::string::npos ? std::string::npos : end - kInput.size()));
      } else if (marker.rfind(kNot, 0) != 0) {
        ADD_FAILURE() << name << " line " << number << ": a fenced block without a guide-test comment above it";
      }
      continue;
    }
    if (inside) {
      current.text += line + "\r\n";
    } else if (!line.empty()) {
      marker = line;
    }
  }
  EXPECT_FALSE(inside) << name << ": a fenced block is not closed";
  return found;
}

std::string value_of(const Example& e, const std::string& key, const std::string& otherwise = "") {
  for (const auto& [k, v] : e.keys)
    if (k == key) return v;
  return otherwise;
}

std::string input_of(const Example& e) {
  const std::string wrap = value_of(e, "wrap", "none");
  const std::string head = "Job Number : G1\r\nHole Number : GT1\r\n/\r\n";
  if (wrap == "layers") return head + e.text + "/\r\n//\r\n///\r\n";
  if (wrap == "notes") return head + "20.00 Firm brown CLAY.\r\n/\r\n" + e.text + "//\r\n///\r\n";
  return e.text;
}

std::string tool(const std::string& program, const std::vector<std::string>& args, const fs::path& cwd) {
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  return run_program(argv, cwd, 60).out;
}

// The sample lines of the coded holes as the hole coder reads them: the kind mark's number, the label
// and the depth ("sample 3: [SYMB3]U1[SYMB3][S-UNDIST] | 1.00--1.45").
struct Mark {
  std::string kind, label, depth;
};
std::vector<Mark> marks_of(const std::string& dump) {
  std::vector<Mark> marks;
  for (const auto& m : find_all_regex(dump, R"(sample \d+: \[SYMB(\d)\]([^\[|]*)[^|]*\| *([^\n]*))")) {
    std::string depth = m[3];
    while (!depth.empty() && (depth.back() == 'm' || depth.back() == ' ' || depth.back() == '\r')) depth.pop_back();
    std::string label = m[2];
    while (!label.empty() && label.back() == ' ') label.pop_back();
    marks.push_back({m[1], label, depth});
  }
  return marks;
}

const std::map<std::string, std::string> kKinds = {{"disturbed", "1"}, {"bulk", "2"},   {"undisturbed", "3"},
                                                   {"other", "4"},     {"water", "5"},  {"strike", "6"},
                                                   {"level", "7"},     {"seepage", "8"}, {"core", "9"}};

void check(const Example& e) {
  SCOPED_TRACE(e.file + " line " + std::to_string(e.line));
  EngineFolder ef;
  ef.write("holes.txt", input_of(e));
  ef.write("@runfile.dat",
           "0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n"
           "3/    holelist = ALL\r\n4/    activity = 0\r\n");
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : "";
  const int exit_code = std::stoi(value_of(e, "exit", "0"));
  EXPECT_EQ(r.exit_code, exit_code) << r.out << r.err << log;
  if (exit_code == 0) {
    EXPECT_EQ(log, "");
  }

  // The hole's result: the one PDF of the job folder that is neither the joined file nor the legend.
  fs::path pdf;
  if (fs::exists(ef.file("drive_c/VLXFILES"))) {
    for (const auto& f : fs::recursive_directory_iterator(ef.file("drive_c/VLXFILES"))) {
      if (f.path().extension() == ".pdf" && f.path().filename() != "combined.pdf" && f.path().filename() != "LEGEND.pdf")
        pdf = f.path();
    }
  }
  std::string dump;
  for (const auto& [key, value] : e.keys) {
    if (key == "says") {
      EXPECT_NE(r.out.find(value), std::string::npos) << value << "\n" << r.out;
    } else if (key == "logged") {
      EXPECT_NE(log.find(value), std::string::npos) << value << "\n" << log;
    } else if (key == "text" || key == "pages") {
      ASSERT_FALSE(pdf.empty()) << "no result PDF\n" << r.out;
      if (key == "text") {
        const std::string text = tool("/usr/bin/pdftotext", {pdf.string(), "-"}, ef.path());
        EXPECT_NE(text.find(value), std::string::npos) << value << "\n" << text;
      } else {
        const std::string info = tool("/usr/bin/pdfinfo", {pdf.string()}, ef.path());
        EXPECT_NE(info.find("Pages:           " + value + "\n"), std::string::npos) << value << "\n" << info;
      }
    } else if (key == "sample" || key == "layer" || key == "column") {
      if (dump.empty()) dump = tool(VLX_CODEDUMP_PROGRAM, {}, ef.path());
      if (key == "layer") {
        EXPECT_NE(dump.find(": [" + value + "]"), std::string::npos) << value << "\n" << dump;
      } else if (key == "column") {
        bool found = false;
        for (const auto& m : find_all_regex(dump, R"(attribute \d+ width \d+: ([^\n]*))")) found = found || m[1].find(value) != std::string::npos;
        EXPECT_TRUE(found) << value << "\n" << dump;
      } else {
        const size_t at = value.find('@'), colon = value.find(':');
        ASSERT_NE(at, std::string::npos) << value;
        const std::string kind = value.substr(0, at);
        const std::string depth = value.substr(at + 1, colon == std::string::npos ? std::string::npos : colon - at - 1);
        const std::string label = colon == std::string::npos ? "" : value.substr(colon + 1);
        ASSERT_EQ(kKinds.count(kind), 1u) << value;
        bool found = false;
        for (const Mark& m : marks_of(dump))
          found = found || (m.kind == kKinds.at(kind) && m.depth == depth && (label.empty() || m.label == label));
        EXPECT_TRUE(found) << value << "\n" << dump;
      }
    } else if (key != "wrap" && key != "exit") {
      ADD_FAILURE() << "unknown key " << key;
    }
  }
}

TEST(Guide, EveryInputExampleDoesWhatTheTextSays) {
  int inputs = 0;
  for (const char* file : {"docs/guide.md", "README.md"}) {
    for (const Example& e : examples_of(file)) {
      if (!e.input) continue;
      ++inputs;
      check(e);
    }
  }
  EXPECT_GE(inputs, 8);  // the markers are read at all
}

}  // namespace
