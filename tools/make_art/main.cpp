// Draws the demo program's pictures.
//
//   make_art <folder>           writes every picture as a BMP file
//   make_art --png <folder>     the same pictures as PNG, for looking at them
//   make_art --check <folder>   compares the BMP files in folder with what it would write
#include <cstdio>
#include <exception>
#include <string>

#include "tools/make_art/art.h"

int main(int argc, char** argv) {
  const std::string usage = "usage: make_art [--png | --check] <folder>\n";
  if (argc < 2 || argc > 3) {
    std::fputs(usage.c_str(), stderr);
    return 2;
  }
  const std::string mode = argc == 3 ? argv[1] : "";
  const std::string folder = argv[argc - 1];
  if (argc == 3 && mode != "--png" && mode != "--check") {
    std::fprintf(stderr, "make_art: unknown option %s\n%s", mode.c_str(), usage.c_str());
    return 2;
  }
  try {
    if (mode == "--check") {
      const auto problems = art::Check(folder);
      for (const std::string& p : problems) std::fprintf(stderr, "make_art: %s\n", p.c_str());
      return problems.empty() ? 0 : 1;
    }
    art::WriteAll(folder, mode == "--png");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
