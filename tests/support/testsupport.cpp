// Temporary folders, process runs and the engine folder of the tests.
#include "testsupport.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace testing_support {

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "vlxtest-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

fs::path TempDir::write(const std::string& name, const std::string& bytes) const {
  fs::path p = path_ / name;
  fs::create_directories(p.parent_path());
  write_file(p, bytes);
  return p;
}

std::string TempDir::read(const std::string& name) const { return read_file(path_ / name); }

ScopedCwd::ScopedCwd(const fs::path& p) : old_(fs::current_path()) { fs::current_path(p); }
ScopedCwd::~ScopedCwd() {
  std::error_code ec;
  fs::current_path(old_, ec);
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
  const char* v = std::getenv(name.c_str());
  had_ = v != nullptr;
  if (v) old_ = v;
  setenv(name.c_str(), value.c_str(), 1);
}
ScopedEnv::~ScopedEnv() {
  if (had_) setenv(name_.c_str(), old_.c_str(), 1);
  else unsetenv(name_.c_str());
}

BoxRecorder::BoxRecorder(platform::BoxAnswer answer) : answer_(answer) {
  platform::set_message_box([this](std::string_view t) {
    texts.emplace_back(t);
    return answer_;
  });
  platform::set_end_process([](int code) { throw ProcessEnded{code}; });
}

BoxRecorder::~BoxRecorder() {
  platform::set_message_box(nullptr);
  platform::set_end_process(nullptr);
}

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

RunResult run_program(const std::vector<std::string>& argv, const fs::path& cwd, int timeout_seconds,
                      const std::vector<std::string>& extra_env) {
  RunResult r;
  int outp[2], errp[2];
  if (pipe(outp) != 0 || pipe(errp) != 0) return r;
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    if (chdir(cwd.c_str()) != 0) _exit(127);
    int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    dup2(outp[1], 1);
    dup2(errp[1], 2);
    // Only 0..2 stay open: a program that leaves a process behind (a server) must not hold the pipes.
    for (int fd : {devnull, outp[0], errp[0], outp[1], errp[1]})
      if (fd > 2) close(fd);
    for (const auto& e : extra_env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(outp[1]);
  close(errp[1]);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  pollfd fds[2] = {{outp[0], POLLIN, 0}, {errp[0], POLLIN, 0}};
  int open_fds = 2;
  char buf[4096];
  while (open_fds > 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      r.timed_out = true;
      kill(-pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(left.count())) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_fds;
      } else {
        (i == 0 ? r.out : r.err).append(buf, static_cast<size_t>(n));
      }
    }
  }
  for (auto& f : fds)
    if (f.fd >= 0) close(f.fd);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!r.timed_out && WIFEXITED(status)) r.exit_code = WEXITSTATUS(status);
  if (const std::string report = sanitizer_report(r.err); !report.empty())
    ADD_FAILURE() << argv[0] << " made a sanitizer report: " << report << "\n" << r.err;
  return r;
}

namespace {
std::vector<std::string> groups_of(const std::smatch& m) {
  std::vector<std::string> g;
  for (const auto& sub : m) g.push_back(sub.str());
  return g;
}
}  // namespace

std::vector<std::string> find_regex(const std::string& text, const std::string& pattern) {
  std::smatch m;
  if (!std::regex_search(text, m, std::regex(pattern))) return {};
  return groups_of(m);
}

std::vector<std::vector<std::string>> find_all_regex(const std::string& text, const std::string& pattern) {
  std::vector<std::vector<std::string>> all;
  const std::regex re(pattern);
  for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) all.push_back(groups_of(*it));
  return all;
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  if (part.empty()) return n;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

std::vector<std::string> numbered(const std::string& prefix, int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) {
    char b[16];
    std::snprintf(b, sizeof b, "%03d", i);
    names.push_back(prefix + b);
  }
  return names;
}

int drawn_scale(const std::filesystem::path& pdf) {
  const RunResult r = run_program({"/usr/bin/pdftotext", "-bbox", pdf.string(), "-"}, pdf.parent_path(), 30);
  const auto words = find_all_regex(r.out, R"re(yMin="([0-9.]+)"[^>]*>([0-9]+\.[0-9][0-9])</word>)re");
  if (words.size() < 2) return 0;
  const auto& a = words[words.size() - 2];
  const auto& b = words.back();
  const double paper_mm = (std::stod(b[1]) - std::stod(a[1])) * 25.4 / 72;
  return paper_mm > 0 ? static_cast<int>(std::lround((std::stod(b[2]) - std::stod(a[2])) * 1000 / paper_mm)) : 0;
}

std::string sanitizer_report(const std::string& err) {
  // "==PID==ERROR: AddressSanitizer: ..." (also LeakSanitizer), and "FILE:LINE:COL: runtime error: ..."
  // from the undefined-behaviour checks.
  std::istringstream lines(err);
  for (std::string line; std::getline(lines, line);) {
    const size_t e = line.find("ERROR: ");
    if ((e != std::string::npos && line.find("Sanitizer", e) != std::string::npos) ||
        line.find(": runtime error: ") != std::string::npos)
      return line;
  }
  return {};
}

fs::path source_dir() { return VLX_SOURCE_DIR; }
fs::path data_dir() { return source_dir() / "data"; }
fs::path profile_program() { return VLX_PROFILE_PROGRAM; }

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long bytes) {
  ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit l {};
  ::getrlimit(RLIMIT_FSIZE, &l);
  old_cur_ = l.rlim_cur;
  l.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &l);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  struct rlimit l {};
  ::getrlimit(RLIMIT_FSIZE, &l);
  l.rlim_cur = old_cur_;
  ::setrlimit(RLIMIT_FSIZE, &l);
}

EngineFolder::EngineFolder() {
  fs::copy(data_dir(), dir_.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::copy_file(profile_program(), dir_.path() / "profile", fs::copy_options::overwrite_existing);
}

RunResult EngineFolder::run(const std::vector<std::string>& args, int timeout_seconds) const {
  std::vector<std::string> argv{(dir_.path() / "profile").string()};
  argv.insert(argv.end(), args.begin(), args.end());
  // The engine's drive C (the output folder of the SET file) lies inside the engine folder, never in
  // the home folder of the person running the tests.
  fs::create_directories(dir_.path() / "drive_c");
  return run_program(argv, dir_.path(), timeout_seconds, {"VLX_DRIVE_C=" + (dir_.path() / "drive_c").string()});
}

}  // namespace testing_support
