// The numbered files: line ends, modes, errors, records, free numbers.
#include "engine/runtime/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::set_console(std::make_unique<platform::BatchConsole>(25, false)); }
  void TearDown() override {
    rt::close_all();
    platform::set_console(nullptr);
  }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

TEST_F(FilesTest, LineInputAcceptsEveryLineEnd) {
  dir.write("mixed.txt", "one\r\ntwo\nthree\rfour\r\n\r\nlast");
  rt::Trap t("test.cpp", "T");
  int f = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(f, "MIXED.TXT", rt::FileMode::Input));  // found without regard to case
  std::vector<std::string> lines;
  std::string line;
  while (!rt::at_eof(f) && rt::line_input(f, line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
  line = "unchanged";
  EXPECT_FALSE(rt::line_input(f, line));
  EXPECT_EQ(line, "unchanged");
  EXPECT_EQ(t.error(), 62);
}

TEST_F(FilesTest, InputItemsAreCommaSeparated) {
  // A quoted item holds commas and drops what follows its closing quote; a line end ends an item as a
  // comma does, so an empty line (or a comma at a line end) gives an empty item.
  dir.write("items.txt", "3\r\n\"a, b\" ,x\r\n  c,\r\n\r\nlast");
  rt::Trap t("test.cpp", "T");
  ASSERT_TRUE(rt::open_file(1, "items.txt", rt::FileMode::Input));
  std::vector<std::string> items;
  std::string item;
  while (rt::input_item(1, item)) items.push_back(item);
  EXPECT_EQ(items, (std::vector<std::string>{"3", "a, b", "x", "c", "", "", "last"}));
  EXPECT_EQ(item, "last");  // the failed read left it unchanged
  EXPECT_EQ(t.error(), 62);
  EXPECT_EQ(t.error_count(), 1);
}

TEST_F(FilesTest, OutputAppendAndErrors) {
  rt::Trap t("test.cpp", "T");
  int f = rt::FREEFILE();
  EXPECT_EQ(f, 1);
  ASSERT_TRUE(rt::open_file(f, "out.txt", rt::FileMode::Output));
  EXPECT_EQ(rt::FREEFILE(), 2);
  rt::print_line(f, "a");
  rt::close_file(f);
  ASSERT_TRUE(rt::open_file(f, "OUT.TXT", rt::FileMode::Append));  // appends to out.txt
  rt::print_line(f, "b", false);
  rt::close_file(f);
  EXPECT_EQ(dir.read("out.txt"), "a\r\nb");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "OUT.TXT"));

  struct Case {
    const char* name;
    rt::FileMode mode;
    int error;
  } cases[] = {{"missing.txt", rt::FileMode::Input, 53},
               {"nofolder\\x.txt", rt::FileMode::Output, 76},
               {"Q:\\x.txt", rt::FileMode::Input, 71}};
  for (const auto& c : cases) {
    rt::Trap inner("test.cpp", "T");
    EXPECT_FALSE(rt::open_file(3, c.name, c.mode));
    EXPECT_EQ(inner.error(), c.error) << c.name;
  }
  {
    rt::Trap inner("test.cpp", "T");
    ASSERT_TRUE(rt::open_file(4, "out.txt", rt::FileMode::Input));
    EXPECT_FALSE(rt::open_file(4, "out.txt", rt::FileMode::Input));
    EXPECT_EQ(inner.error(), 55);
  }
}

TEST_F(FilesTest, BinaryAndRandomRecords) {
  rt::Trap t("test.cpp", "T");
  ASSERT_TRUE(rt::open_file(1, "idx", rt::FileMode::Random, 4));
  rt::put_record(1, 3, "ABCD");
  rt::put_record(1, 1, "xy");
  std::string r;
  rt::get_record(1, 1, r);
  EXPECT_EQ(r, std::string("xy\0\0", 4));
  EXPECT_EQ(rt::LOF(1), 12);
  rt::close_file(1);
  ASSERT_TRUE(rt::open_file(1, "idx", rt::FileMode::Binary));
  rt::seek(1, 9);
  EXPECT_EQ(rt::get_bytes(1, 10), "ABCD");
  rt::seek(1, 2);
  rt::put_bytes(1, "Z");
  rt::seek(1, 1);
  EXPECT_EQ(rt::get_bytes(1, 2), "xZ");
  EXPECT_EQ(t.error(), 0);
}

// Files are buffered: whatever mix of seeks, reads and writes (within a page, across pages, past the
// end, more pages than a file keeps at once) reads back what was written before the file is closed,
// and after the close the file on disk holds the same bytes. The expected bytes come from a plain
// string that takes the same writes.
TEST_F(FilesTest, BufferedFilesReadBackAndReachTheDiskWhole) {
  rt::Trap t("test.cpp", "T");
  dir.write("old.bin", std::string(40000, 'o'));
  ASSERT_TRUE(rt::open_file(1, "old.bin", rt::FileMode::Binary));
  std::string model(40000, 'o');
  auto put = [&](std::int64_t at, const std::string& bytes) {
    rt::seek(1, at + 1);
    ASSERT_TRUE(rt::put_bytes(1, bytes));
    if (model.size() < at + bytes.size()) model.resize(at + bytes.size(), '\0');
    model.replace(static_cast<size_t>(at), bytes.size(), bytes);
  };
  struct Write {
    std::int64_t at;
    std::string bytes;
  } writes[] = {
      {0, "head"},                            // start of the first page
      {16380, std::string(10, 'x')},          // across the first page boundary
      {39990, std::string(30, 'e')},          // over the old end
      {50000, "gap"},                         // past the end: zeros between
      {5, "in"},                              // back into a page written before
      {3000000, std::string(70000, 'b')},     // far out: more pages than are kept
      {16383, "\r\n"},                       // a page written out before
  };
  for (const auto& w : writes) put(w.at, w.bytes);
  // Some pages went to disk on the way, others did not: the open file reads back the whole.
  EXPECT_EQ(rt::LOF(1), static_cast<std::int64_t>(model.size()));
  for (std::int64_t at : {0, 16370, 39980, 49990, 2999990, 3069990}) {
    rt::seek(1, at + 1);
    EXPECT_EQ(rt::get_bytes(1, 40), model.substr(static_cast<size_t>(at), 40)) << at;
  }
  rt::close_file(1);
  EXPECT_EQ(dir.read("old.bin"), model);

  // Records and lines the same way, and a record rewritten after later ones.
  ASSERT_TRUE(rt::open_file(2, "idx", rt::FileMode::Random, 4));
  rt::put_record(2, 2, "BBBB");
  rt::put_record(2, 5000, "EEEE");  // beyond the first page
  rt::put_record(2, 1, "A");
  std::string r;
  rt::get_record(2, 5000, r);
  EXPECT_EQ(r, "EEEE");
  rt::get_record(2, 3, r);
  EXPECT_EQ(r, std::string(4, '\0'));
  ASSERT_TRUE(rt::open_file(3, "lines.txt", rt::FileMode::Output));
  for (int i = 0; i < 3000; ++i) rt::print_line(3, "line " + std::to_string(i));
  rt::close_all();
  const std::string idx = dir.read("idx");
  ASSERT_EQ(idx.size(), 20000u);
  EXPECT_EQ(idx.substr(0, 8), std::string("A\0\0\0BBBB", 8));
  EXPECT_EQ(idx.substr(19996), "EEEE");
  const std::string lines = dir.read("lines.txt");
  EXPECT_EQ(lines.substr(0, 16), "line 0\r\nline 1\r\n");
  EXPECT_EQ(lines.substr(lines.size() - 11), "line 2999\r\n");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3000);
  EXPECT_EQ(t.error(), 0);
}

// One file under two numbers: each sees at once what the other wrote.
TEST_F(FilesTest, AFileOpenTwiceSeesItsOwnWrites) {
  rt::Trap t("test.cpp", "T");
  ASSERT_TRUE(rt::open_file(1, "both.bin", rt::FileMode::Binary));
  rt::put_bytes(1, "first");
  ASSERT_TRUE(rt::open_file(2, "BOTH.BIN", rt::FileMode::Binary));
  EXPECT_EQ(rt::get_bytes(2, 10), "first");
  rt::seek(2, 3);
  rt::put_bytes(2, "XY");
  rt::seek(1, 1);
  EXPECT_EQ(rt::get_bytes(1, 10), "fiXYt");
  rt::put_bytes(1, "++");
  EXPECT_EQ(rt::LOF(2), 7);
  EXPECT_EQ(dir.read("both.bin"), "fiXYt++");
  ASSERT_TRUE(rt::open_file(3, "both.bin", rt::FileMode::Input));
  std::string line;
  EXPECT_TRUE(rt::line_input(3, line));
  EXPECT_EQ(line, "fiXYt++");
  EXPECT_EQ(t.error(), 0);
}

// A file closed and opened again under the same name reads what is on disk now, whatever happened to
// it in between: rewritten in place, replaced by another file, deleted, or renamed away.
TEST_F(FilesTest, AFileOpenedAgainIsReadAsItIsNow) {
  struct Case {
    const char* change;
    std::string want;
  } cases[] = {{"none", "one"}, {"rewrite", "two"}, {"replace", "three"}, {"kill", ""}, {"rename", ""}};
  for (const auto& c : cases) {
    rt::Trap t("test.cpp", "T");
    for (auto mode : {rt::FileMode::Binary, rt::FileMode::Input}) {
      dir.write("work.bin", "one");
      ASSERT_TRUE(rt::open_file(1, "work.bin", rt::FileMode::Binary));
      EXPECT_EQ(rt::get_bytes(1, 10), "one");
      rt::close_file(1);
      const std::string change = c.change;
      if (change == "rewrite") dir.write("work.bin", "two");  // the same file, emptied and written
      if (change == "replace") {
        dir.write("new.bin", "three");
        std::filesystem::rename(dir.path() / "new.bin", dir.path() / "work.bin");
      }
      if (change == "kill") rt::kill_file("WORK.BIN");
      if (change == "rename") rt::rename_file("work.bin", "gone.bin");
      if (mode == rt::FileMode::Input && c.want.empty()) continue;  // nothing to read
      ASSERT_TRUE(rt::open_file(1, "work.bin", mode)) << c.change;
      EXPECT_EQ(rt::LOF(1), static_cast<std::int64_t>(c.want.size())) << c.change;
      EXPECT_EQ(rt::get_bytes(1, 10), c.want) << c.change;
      rt::close_file(1);
      std::filesystem::remove(dir.path() / "gone.bin");
    }
    EXPECT_EQ(t.error(), 0) << c.change;
  }
}

// A closed file is kept with the pages read, and taken back at the next open of its name: what it
// gives then is still what the disk holds, also for a file this process wrote last (its close put the
// bytes on disk; a change after that, here by name or by another program, is read).
TEST_F(FilesTest, AKeptFileGivesWhatTheDiskHolds) {
  struct Case {
    const char* change;
    std::string want;
  } cases[] = {{"none", "abc"},
               {"emptied and written here", "xyz"},
               {"rewritten in place by another program", "uvw"},
               {"replaced by another program", "rst"},
               {"made longer by another program", "abcdef"}};
  for (const auto& c : cases) {
    rt::Trap t("test.cpp", "T");
    dir.write("work.bin", "---");
    ASSERT_TRUE(rt::open_file(1, "work.bin", rt::FileMode::Binary));
    EXPECT_EQ(rt::get_bytes(1, 10), "---");
    rt::seek(1, 1);
    rt::put_bytes(1, "abc");
    rt::close_file(1);
    EXPECT_EQ(dir.read("work.bin"), "abc") << c.change << ": on disk at the close";
    const std::string change = c.change;
    if (change == "emptied and written here") {
      ASSERT_TRUE(rt::open_file(2, "WORK.BIN", rt::FileMode::Output));
      rt::print_line(2, "xyz", false);
      rt::close_file(2);
    }
    if (change.find("rewritten") != std::string::npos) dir.write("work.bin", "uvw");
    if (change.find("longer") != std::string::npos) dir.write("work.bin", "abcdef");
    if (change.find("replaced") != std::string::npos) {
      dir.write("new.bin", "rst");
      std::filesystem::rename(dir.path() / "new.bin", dir.path() / "work.bin");
    }
    ASSERT_TRUE(rt::open_file(1, "work.bin", rt::FileMode::Binary)) << c.change;
    EXPECT_EQ(rt::LOF(1), static_cast<std::int64_t>(c.want.size())) << c.change;
    EXPECT_EQ(rt::get_bytes(1, 10), c.want) << c.change;
    rt::close_file(1);
    EXPECT_EQ(t.error(), 0) << c.change;
  }
}

}  // namespace

// A run that ends on an untrapped error (the box answers Cancel without a terminal, and the process
// ends with 255) leaves every file it was writing complete on disk, though none was closed.
// Files written whole: the target is the old file or the whole new one, never a part. Each case
// writes "new" over a target that holds "old"; a write that fails is simulated with the file size limit
// (RLIMIT_FSIZE), which fails the buffered bytes only when they go out at the close.
TEST_F(FilesTest, WholeFilesReplaceTheirTargetOrLeaveIt) {
  auto owned = std::make_unique<CountingConsole>();
  CountingConsole* con = owned.get();
  platform::set_console(std::move(owned));
  enum Ending { Commit, Abandon, CloseAll, FailAtClose };
  struct Case {
    const char* name;
    Ending ending;
    bool link;            // the target is a symbolic link to real.txt
    const char* content;  // of the file the target leads to afterwards
    int exit_code;
    bool fresh = false;  // no file stands at the target before
  } cases[] = {
      {"committed", Commit, false, "new", 0},
      {"committed through a link", Commit, true, "new", 0},
      {"abandoned", Abandon, false, "old", 0},
      {"left open at the end of the run", CloseAll, false, "old", 0},
      {"a write fails at the close", FailAtClose, false, "old", 1},
      // A new file has the mode of any new file: 0666 less the umask (027 here).
      {"a new file", Commit, false, "new", 0, true},
  };
  const mode_t umask_before = ::umask(027);
  for (const auto& c : cases) {
    std::filesystem::remove(dir.path() / "t.txt");
    dir.write("real.txt", "old");
    if (c.link) std::filesystem::create_symlink("real.txt", dir.path() / "t.txt");
    else if (!c.fresh) dir.write("t.txt", "old");
    ::chmod((dir.path() / "real.txt").c_str(), 0640);
    if (!c.fresh) ::chmod((dir.path() / "t.txt").c_str(), 0640);
    rt::set_exit_code(0);
    rt::Trap t("test.cpp", "T");
    const int f = rt::FREEFILE();
    ASSERT_TRUE(rt::open_new_file(f, "t.txt")) << c.name;
    // Nothing of the new file shows before the end.
    EXPECT_EQ(std::filesystem::exists(dir.path() / "t.txt"), !c.fresh) << c.name;
    if (!c.fresh) {
      EXPECT_EQ(dir.read("t.txt"), "old") << c.name;
    }
    {
      std::optional<ScopedFileSizeLimit> full;
      if (c.ending == FailAtClose) full.emplace(2);
      EXPECT_TRUE(rt::print_line(f, "new", false)) << c.name;  // buffered: goes out at the close
      switch (c.ending) {
        case Commit: EXPECT_TRUE(rt::commit_file(f)) << c.name; break;
        case Abandon: rt::abandon_file(f); break;
        case CloseAll: rt::close_all(); break;
        case FailAtClose: EXPECT_FALSE(rt::commit_file(f)) << c.name; break;
      }
    }
    EXPECT_FALSE(rt::is_open(f)) << c.name;
    const std::string target = c.link ? "real.txt" : "t.txt";
    EXPECT_EQ(dir.read(target), c.content) << c.name;
    EXPECT_EQ(std::filesystem::is_symlink(dir.path() / "t.txt"), c.link) << c.name;
    struct stat st {};
    ::stat((dir.path() / target).c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << c.name;
    EXPECT_EQ(t.error(), 0) << c.name;  // said by the writer, not raised
    EXPECT_EQ(rt::exit_code(), c.exit_code) << c.name;
    // Nothing is left beside the target.
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.path().filename() != "ERROR.LOG";
    EXPECT_EQ(files, c.link ? 2u : 2u) << c.name;
  }
  ::umask(umask_before);
  EXPECT_NE(con->screen().find("t.txt cannot be written (File too large); the earlier file is kept."),
            std::string::npos)
      << con->screen();
  rt::set_exit_code(0);
}

// A finished file put in place: moved, linked or (when it is the target itself) left alone.
// A new file written under a work name goes to another target at its commit where that lies on the
// same file system: nothing appears under the work name, a replaced file keeps its permission bits.
// Elsewhere (another file system, a folder at the target) nothing changes: the commit makes the work
// name, for the caller to put in place.
TEST_F(FilesTest, ANewFileCommittedUnderAnotherName) {
  std::error_code ec;
  std::filesystem::create_directory(dir.path() / "job");
  const std::filesystem::path shm = "/dev/shm";
  struct stat a {}, b {};
  const bool other_fs = ::stat(dir.str().c_str(), &a) == 0 && ::stat(shm.c_str(), &b) == 0 && a.st_dev != b.st_dev &&
                        ::access(shm.c_str(), W_OK) == 0;
  const std::string far = other_fs ? (shm / ("vlx-files-test-" + std::to_string(::getpid()))).string() : std::string();
  struct Case {
    std::string target;
    bool earlier;   // the target exists (mode 0640)
    bool retargets;
  } cases[] = {{"job\\R1.pdf", false, true},
               {"job\\R2.pdf", true, true},
               {"job", false, false},
               {far, false, false}};
  for (const auto& c : cases) {
    if (c.target.empty()) continue;  // no second file system here
    SCOPED_TRACE(c.target);
    rt::Trap t("test.cpp", "T");
    const std::string leaf = c.target.size() > 4 ? c.target.substr(4) : std::string();  // after "job\\"
    const std::filesystem::path native = c.target == far ? std::filesystem::path(far) : dir.path() / "job" / leaf;
    if (c.earlier) {
      dir.write("job/" + leaf, "earlier");
      std::filesystem::permissions(native, std::filesystem::perms(0640), ec);
    }
    ASSERT_TRUE(rt::open_new_file(1, "PAGER.1"));
    rt::print_line(1, "new", false);
    EXPECT_EQ(rt::retarget_new_file(1, c.target), c.retargets);
    EXPECT_TRUE(rt::commit_file(1));
    EXPECT_EQ(std::filesystem::exists(dir.path() / "PAGER.1"), !c.retargets);
    if (c.retargets) {
      EXPECT_EQ(read_file(native), "new");
      struct stat st {};
      ASSERT_EQ(::stat(native.c_str(), &st), 0);
      if (c.earlier) {
        EXPECT_EQ(st.st_mode & 07777, 0640u);
      }
    } else {
      EXPECT_EQ(dir.read("PAGER.1"), "new");
      if (c.target == far) {
        EXPECT_FALSE(std::filesystem::exists(far));
      }
    }
    std::filesystem::remove(dir.path() / "PAGER.1", ec);
    EXPECT_EQ(t.error(), 0);
  }
}

TEST_F(FilesTest, FinishedFilesArePutInPlace) {
  dir.write("work.1", "result");
  dir.write("out.pdf", "earlier");
  ASSERT_TRUE(rt::place_file("work.1", "out.pdf", true));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "work.1"));
  EXPECT_EQ(dir.read("out.pdf"), "result");
  ASSERT_TRUE(rt::place_file("out.pdf", "copy.pdf", false));
  EXPECT_EQ(dir.read("copy.pdf"), "result");
  EXPECT_EQ(dir.read("out.pdf"), "result");
  ASSERT_TRUE(rt::place_file("out.pdf", "out.pdf", false));
  EXPECT_EQ(dir.read("out.pdf"), "result");
  // FILECOPY writes whole too: an open reader of the old target still reads the old file.
  ASSERT_TRUE(rt::copy_file("copy.pdf", "other.txt"));
  EXPECT_EQ(dir.read("other.txt"), "result");
}

// The engine's own work files, while this process holds the engine folder's lock: a closed one is held
// with its changes and taken back by the next open of its name without a look at the disk (here the
// disk is changed behind the engine's back to show it); the changes reach the disk where the file is
// read or replaced by name, and at the end of the holding; a delete forgets them.
TEST_F(FilesTest, WorkFilesAreHeldUntilSomethingReadsThemFromDisk) {
  struct Case {
    const char* then;
    std::string on_disk;  // work.B afterwards ("-" for none)
    std::string copy;     // copy.B afterwards ("-" for none)
  } cases[] = {{"reopen", "new", "-"},         {"let go", "new", "-"},     {"kill", "-", "-"},
               {"copy", "new", "new"},         {"rename", "-", "new"},     {"other spelling", "new", "-"},
               {"emptied", "", "-"}};
  ASSERT_TRUE(rt::lock_engine_folder());
  for (const auto& c : cases) {
    rt::Trap t("test.cpp", "T");
    const std::string then = c.then;
    dir.write("work.B", "old");
    rt::hold_work_files({"work.B"});
    ASSERT_TRUE(rt::open_file(1, "work.B", rt::FileMode::Binary));
    rt::put_bytes(1, "new");
    rt::close_file(1);
    EXPECT_EQ(dir.read("work.B"), "old") << then << ": held, not written at the close";
    if (then == "reopen") {
      std::filesystem::resize_file(dir.path() / "work.B", 0);  // behind the engine's back
      ASSERT_TRUE(rt::file_exists("work.B"));
      ASSERT_TRUE(rt::open_file(1, "work.B", rt::FileMode::Input));
      EXPECT_EQ(rt::get_bytes(1, 40), "new") << then;
      rt::close_file(1);
    }
    if (then == "kill") {
      EXPECT_TRUE(rt::kill_file("work.B"));
    }
    if (then == "copy") {
      EXPECT_TRUE(rt::copy_file("work.B", "copy.B"));
    }
    if (then == "rename") {
      EXPECT_TRUE(rt::rename_file("work.B", "copy.B"));
    }
    if (then == "other spelling" || then == "emptied") {
      ASSERT_TRUE(rt::open_file(1, "WORK.B", then == "emptied" ? rt::FileMode::Output : rt::FileMode::Binary));
      EXPECT_EQ(rt::LOF(1), then == "emptied" ? 0 : 3) << then;
      rt::close_file(1);
    }
    rt::let_go_work_files();
    const auto content = [&](const char* name) {
      return std::filesystem::exists(dir.path() / name) ? dir.read(name) : std::string("-");
    };
    EXPECT_EQ(content("work.B"), c.on_disk) << then;
    EXPECT_EQ(content("copy.B"), c.copy) << then;
    EXPECT_EQ(t.error(), 0) << then;
    std::filesystem::remove(dir.path() / "work.B");
    std::filesystem::remove(dir.path() / "copy.B");
  }
}

TEST(FilesEndOfRun, FilesAreCompleteWhenAnErrorEndsTheRun) {
  TempDir dir;
  ScopedCwd cwd(dir.path());
  EXPECT_EXIT(
      {
        platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
        rt::open_file(1, "out.txt", rt::FileMode::Output);
        rt::print_line(1, "written before the error");
        rt::open_file(2, "work.1R", rt::FileMode::Random, 4);
        rt::put_record(2, 3, "CCCC");
        rt::open_file(3, "work.1B", rt::FileMode::Binary);
        rt::put_bytes(3, std::string(20000, 'w') + "end");
        rt::lock_engine_folder();
        rt::hold_work_files({"held.B"});
        rt::open_file(4, "held.B", rt::FileMode::Binary);
        rt::put_bytes(4, "held");
        rt::close_file(4);
        rt::raise(9);  // no trap: the untrapped-error box, answered Cancel
      },
      ::testing::ExitedWithCode(255), "Untrapped Error #9");
  EXPECT_EQ(dir.read("out.txt"), "written before the error\r\n");
  EXPECT_EQ(dir.read("work.1R"), std::string(8, '\0') + "CCCC");
  EXPECT_EQ(dir.read("work.1B"), std::string(20000, 'w') + "end");
  EXPECT_EQ(dir.read("held.B"), "held");  // a held work file too
}
