// filetest: a file that another program is reading is replaced once the
// reader lets it go, and one held open throughout keeps its old content
// whole. Prints "filetest: N failures"; exit status 0 only when there were
// none.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/files/TextFiles.h"

namespace {

int failures = 0;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "filetest: check failed: %s\n", what);
  ++failures;
}

std::string Content(const std::filesystem::path& file) { return ReadWholeFile(file).value_or("(none)"); }

}  // namespace

int main() {
  const std::filesystem::path file = "filetest.txt";
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  Check(WriteFileAtomically(file, "old"), "a first write");

  {
    // Opened as every reader of the suite opens a file; the reader closes it
    // while the write is under way.
    std::ifstream reader(file, std::ios::binary);
    Check(static_cast<bool>(reader), "the reader opens the file");
    std::thread release([&reader] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      reader.close();
    });
    Check(WriteFileAtomically(file, "new"), "the write waits for a reader");
    release.join();
  }
  Check(Content(file) == "new", "the file holds the new content");

  {
    std::ifstream reader(file, std::ios::binary);
    Check(!WriteFileAtomically(file, "newer"), "a reader that never lets go fails the write");
  }
  Check(Content(file) == "new", "a failed write leaves the old content");
  Check(!std::filesystem::exists(temporary), "a failed write leaves no temporary file");

  std::printf("filetest: %d failures\n", failures);
  return failures == 0 ? 0 : 1;
}
