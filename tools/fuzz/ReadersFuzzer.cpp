// libFuzzer target for the readers of the shared small files. The first byte
// chooses the reader, the rest is the file. Built outside the CMake tree by
// run-readers-fuzzer.sh, which the test run calls for a minute when clang and
// its fuzzer runtime are installed; the randomised ReaderFuzz unit test runs
// everywhere.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/files/ChannelEntry.h"
#include "core/files/FileNames.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/ScheduleFile.h"
#include "core/files/ViewerConfig.h"

namespace {

std::filesystem::path Scratch(const char* name) {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / ("telvantis-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder / name;
}

std::filesystem::path WriteScratch(const char* name, const std::string& text) {
  const auto file = Scratch(name);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 5) {
    case 0: {
      const auto contents = ScheduleFile::Parse(text);
      const auto again = ScheduleFile::Parse(ScheduleFile::Format(contents.events));
      if (again.events != contents.events || contents.events.size() > ScheduleList::kMaxEvents) std::abort();
      ScheduleList list(contents.events);
      list.CleanUp(CivilTime{2020, 1, 1, 0, 0, 0});
      break;
    }
    case 1: {
      const auto h = HandOffFiles::ParseSilentEvent(text);
      if (h && HandOffFiles::ParseSilentEvent(HandOffFiles::SilentEventText(*h)) != h) std::abort();
      break;
    }
    case 2: {
      const auto h = HandOffFiles::ParseRecLive(text);
      if (h && HandOffFiles::ParseRecLive(HandOffFiles::RecLiveText(*h)) != h) std::abort();
      break;
    }
    case 3: {
      const auto channels = ReadChannelFile(WriteScratch(FileNames::kChannels, text));
      if (channels && channels->size() > static_cast<size_t>(kMaxChannels)) std::abort();
      break;
    }
    case 4: {
      const auto file = WriteScratch(FileNames::kConfig, text);
      (void)ReadViewerConfig(file, ViewerConfig{});
      (void)RewriteCurrentChannel(file, 3);
      break;
    }
  }
  return 0;
}
