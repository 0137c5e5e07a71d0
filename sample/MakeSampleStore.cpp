// Builds the bundled sample store from the plain-text messages and the manifest that says how each
// is laid out.  Usage: make-sample-store MANIFEST MESSAGES_DIR OUTPUT
#include <cstdio>
#include <exception>

#include "tests/support/SampleStore.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s MANIFEST MESSAGES_DIR OUTPUT\n", argv[0]);
    return 2;
  }
  try {
    testsupport::ComposeSampleStore(argv[1], argv[2], argv[3]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-sample-store: %s\n", error.what());
    return 1;
  }
  return 0;
}
