// A sanitizer report in the standard error of a program that a test runs fails that test, whatever the
// program's exit code (a sanitized engine that trips ends with 1, a code the tests also expect).
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "testsupport.h"

using namespace testing_support;

namespace {

// True when this test program, and the programs built with it, carry the address sanitizer.
bool built_with_sanitizers() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
  return false;
}

TEST(SanitizerReports, FailTheTestThatRanTheProgram) {
  struct Case {
    const char* err;
    bool report;
  } cases[] = {
      {"==4711==ERROR: AddressSanitizer: heap-buffer-overflow on address 0x602000000014\n", true},
      {"\n==4711==ERROR: LeakSanitizer: detected memory leaks\n", true},
      {"engine/frame/x.cpp:12:7: runtime error: signed integer overflow: 2147483647 + 1 cannot be represented\n",
       true},
      {"File not found : PROMPTS.ENG\nERROR: Increase iVmax% ( 5000) to  5999 in combine\n", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(sanitizer_report(c.err).empty(), !c.report) << c.err;

  EXPECT_NONFATAL_FAILURE(
      run_program({"/bin/sh", "-c", "echo '==1==ERROR: AddressSanitizer: stack-use-after-return' >&2"}, "/", 30),
      "made a sanitizer report: ==1==ERROR: AddressSanitizer");
  // The real reports of the sanitizers this build carries.
  if (built_with_sanitizers()) {
    EXPECT_NONFATAL_FAILURE(run_program({VLX_FAULTY_PROGRAM, "heap"}, "/", 30), "heap-buffer-overflow");
    EXPECT_NONFATAL_FAILURE(run_program({VLX_FAULTY_PROGRAM, "overflow"}, "/", 30), "signed integer overflow");
  }
}

}  // namespace
