// A program with one deliberate fault, named by its argument, for the test that a sanitizer report in a
// child program fails the test that ran it: "heap" reads one byte past a block, "overflow" overflows a
// signed integer. Built without sanitizers it ends quietly. The index and the addend come from argc so
// that the compiler cannot see the fault.
#include <climits>
#include <string>

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "heap") {
    char* block = new char[4]();
    volatile char past = block[argc + 2];
    delete[] block;
    return past == 1 ? 3 : 0;
  }
  if (what == "overflow") {
    volatile int big = INT_MAX;
    volatile int sum = big + (argc - 1);
    return sum == 0 ? 3 : 0;
  }
  return 0;
}
