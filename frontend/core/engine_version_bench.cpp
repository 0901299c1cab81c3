// Prints the engine version text of a folder and how long reading it takes (the front end reads it at
// every change of the engine-folder box).
#include <chrono>
#include <cstdio>
#include <string>

#include "version.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s ENGINE_FOLDER [ROUNDS]\n", argv[0]);
    return 2;
  }
  int rounds = argc > 2 ? std::stoi(argv[2]) : 20;
  std::string version;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) version = quorvel::GetEngineVersion(std::string(argv[1]));
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / rounds;
  std::printf("version %s, %.2f ms per reading (%d rounds)\n", version.c_str(), ms, rounds);
  return 0;
}
