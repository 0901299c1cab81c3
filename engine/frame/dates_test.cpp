// The seconds scale of the date functions and the time stamps of files.
#include "engine/frame/dates.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <gtest/gtest.h>

#include "engine/runtime/files.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "engine/frame/frame_fixture.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class DatesTest : public FrameFixture {};

// Sets a file's last-access and last-write times to local dates and times.
void set_times(const std::filesystem::path& p, std::tm access, std::tm write) {
  access.tm_isdst = write.tm_isdst = -1;
  timespec ts[2] = {{std::mktime(&access), 0}, {std::mktime(&write), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, p.c_str(), ts, 0), 0);
}
std::tm local(int y, int mo, int d, int h, int mi, int s) {
  std::tm t{};
  t.tm_year = y - 1900, t.tm_mon = mo - 1, t.tm_mday = d, t.tm_hour = h, t.tm_min = mi, t.tm_sec = s;
  return t;
}

TEST_F(DatesTest, SecondsScale) {
  struct Case {
    int y, mo, d, h, mi, s;
    std::int32_t want;
  } cases[] = {
      {2000, 1, 1, 0, 0, 0, 0},
      {1999, 12, 31, 23, 59, 59, -1},
      {2000, 3, 1, 0, 0, 0, 5184000},
      {2001, 1, 1, 0, 0, 0, 31536000},
      {2004, 12, 31, 0, 0, 0, 157680000},  // the leap day of 2004 is not carried into 2005
      {2005, 1, 1, 0, 0, 0, 157680000},
      {2016, 2, 28, 0, 0, 0, 509587200},
      {2016, 2, 29, 0, 0, 0, 509587200 + 86400},
      {2016, 3, 1, 0, 0, 0, 509587200 + 2 * 86400},
      {2001, 13, 1, 0, 0, 0, 63072000},  // month 13 counts the whole year
      {2068, 2, 5, 3, 14, 7, 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(DATESECS(c.y, c.mo, c.d, c.h, c.mi, c.s), c.want) << c.y << "-" << c.mo << "-" << c.d;
  EXPECT_EQ(log(), "");

  // One second later no longer fits: overflow, reported, and 0.
  EXPECT_EQ(DATESECS(2068, 2, 5, 3, 14, 8), 0);
  EXPECT_NE(log().find("datesecs.cpp @ 0003  Error  6 -Overflow"), std::string::npos) << log();

  platform::set_clock([] {
    platform::LocalTime t;
    t.year = 2016, t.month = 2, t.day = 29, t.hour = 1, t.minute = 2, t.second = 3;
    return t;
  });
  EXPECT_EQ(SYSSECONDS(), 509587200 + 86400 + 3723);
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(DatesTest, FileTimes) {
  auto file = dir.write("Hole1.TXT", "x");
  set_times(file, local(2016, 1, 2, 3, 4, 5), local(2015, 3, 7, 9, 5, 3));
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const auto perms = std::filesystem::status(file).permissions();

  EXPECT_EQ(FILESECS("hole1.txt"), DATESECS(2015, 3, 7, 9, 5, 3));
  struct Case {
    const char* which;
    const char* date;
    const char* time;
  } cases[] = {{"W", "07/03/2015", "09:05:03"},
               {"w", "07/03/2015", "09:05:03"},
               {"", "07/03/2015", "09:05:03"},
               {"r", "02/01/2016", "03:04:05"}};
  for (const auto& c : cases) {
    std::string date = "old", time = "old";
    FILEDATE("Hole1.TXT", 0, c.which, date, time);
    EXPECT_EQ(date, c.date) << c.which;
    EXPECT_EQ(time, c.time) << c.which;
  }
  std::string date, time;
  FILEDATE("Hole1.TXT", 0, "C", date, time);
  EXPECT_EQ(date.size(), 10u);
  EXPECT_EQ(time.size(), 8u);
  // The file is read as it stands: its attributes and times are unchanged.
  EXPECT_EQ(std::filesystem::status(file).permissions(), perms);
  EXPECT_EQ(FILESECS("hole1.txt"), DATESECS(2015, 3, 7, 9, 5, 3));
  EXPECT_EQ(log(), "");

  // A folder is found only with the mask 16.
  std::filesystem::create_directory(dir.path() / "logs");
  set_times(dir.path() / "logs", local(2020, 5, 6, 7, 8, 9), local(2020, 5, 6, 7, 8, 9));
  FILEDATE("LOGS", 0, "W", date, time);
  EXPECT_EQ(date + time, "");
  FILEDATE("LOGS", 16, "W", date, time);
  EXPECT_EQ(date + " " + time, "06/05/2020 07:08:09");
  EXPECT_EQ(FILESECS("logs"), 0);
  EXPECT_EQ(log(), "");
}

TEST_F(DatesTest, FileTimeErrors) {
  dir.write("a.txt", "x");
  struct Case {
    const char* name;
    const char* which;
    const char* error;
  } cases[] = {{"missing.txt", "W", "Error  53 -File not found"},
               {"nofolder\\a.txt", "W", "Error  76 -Path not found"},
               {"", "W", "Error  64 -Bad file name"},
               {"a.txt", "X", "Error  5 -Illegal function call"}};
  for (const auto& c : cases) {
    clear_log();
    std::string date = "old", time = "old";
    FILEDATE(c.name, 0, c.which, date, time);
    EXPECT_EQ(date + time, "") << c.name;
    EXPECT_NE(log().find(std::string("filedate.cpp @ ")), std::string::npos) << c.name;
    EXPECT_NE(log().find(c.error), std::string::npos) << c.name << ": " << log();
  }
  clear_log();
  EXPECT_EQ(FILESECS("missing.txt"), 0);
  EXPECT_NE(log().find("filesecs.cpp @ 0001  Error  53 -File not found"), std::string::npos) << log();
  EXPECT_TRUE(box.texts.empty());
}

}  // namespace
