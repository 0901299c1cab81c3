// The first stage of a one-shot run: the conversion of the run file's input, then the hole catalogue,
// which the run calls only after a complete conversion.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/convert/convert_fixture.h"
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/run/run.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/setup/globals.h"

namespace {

namespace fs = std::filesystem;

class RunStages : public ConvertFixture {};

TEST_F(RunStages, OneShotRunConvertsThenCatalogues) {
  copy_data({"STANDARD.SET", "wordpad.sig", "CONVOCAB.ENG", "PAINTLIB.ENG", "PROVOCAB.ENG", "PROLIB.DAT"});
  VOCABSETNAME = VOCABNAME = "PROVOCAB.ENG";
  dir.write("holes.txt", "Hole: BH1\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n///\r\n");
  SETUPNAME = "STANDARD.SET";
  SOURCENAME = "holes.txt";
  RUNFLAGS = 1;  // a one-shot run
  DATADIR = (dir.path() / "results").string();
  rt::set_exit_code(0);
  PROSHOW();
  EXPECT_EQ(rt::exit_code(), 0);
  EXPECT_TRUE(fs::exists(dir.path() / "000BH1.TRX"));
  EXPECT_NE(printed->transcript.find("Coded hole files: 1"), std::string::npos);  // the catalogue was reached
  EXPECT_EQ(VOCABNAME, "PROVOCAB.ENG");  // without the attached-file words the conversion added
  EXPECT_EQ(log(), "");
  EXPECT_TRUE(fs::exists(dir.path() / "results" / "000" / "BH1.pdf"));  // the sheet was drawn (job "000")

  // Without any conversion vocabulary the conversion ends before the catalogue.
  fs::remove(dir.path() / "CONVOCAB.ENG");
  take_printed();
  PROSHOW();
  EXPECT_NE(printed->transcript.find(PROMPT(79)), std::string::npos);
  EXPECT_EQ(printed->transcript.find("Coded hole files"), std::string::npos);
  EXPECT_EQ(rt::exit_code(), 1);  // the one-shot run ends as failed
}

}  // namespace
