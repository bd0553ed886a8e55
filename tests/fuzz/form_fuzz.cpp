// Feeds arbitrary bytes to the form text reader; whatever it reads must print, read back and
// print the same again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/classes/form_text.h"
#include "host/classes/sysutils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  host::formtext::Object tree;
  try {
    tree = host::formtext::Parse(text, "fuzz");
  } catch (const host::EReadError&) {
    return 0;
  }
  try {
    const std::string printed = host::formtext::Print(tree);
    const std::string again = host::formtext::Print(host::formtext::Parse(printed, "printed"));
    if (again != printed) {
      std::fprintf(stderr, "printing is not stable:\n%s\n---\n%s\n", printed.c_str(), again.c_str());
      std::abort();
    }
  } catch (const host::Exception& e) {
    std::fprintf(stderr, "a form that was read could not be written and read back: %s\n", e.what());
    std::abort();
  }
  return 0;
}
