// libFuzzer target for the readers of the shared small files, of the
// channel scan's tables and of the guide's tables. The first byte chooses the reader, the rest is the
// file or the sections. Built outside the CMake tree by
// run-readers-fuzzer.sh, which the test run calls for a minute when clang and
// its fuzzer runtime are installed; the randomised ReaderFuzz unit test runs
// everywhere.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>
#include <unistd.h>

#include "core/files/ChannelEntry.h"
#include "core/files/FileNames.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/ScheduleFile.h"
#include "core/files/ViewerConfig.h"
#include "core/guide/GuideFile.h"
#include "core/guide/SeriesRules.h"
#include "core/ts/ChannelScanRules.h"
#include "core/ts/Crc32Mpeg.h"
#include "core/ts/GuideCollector.h"
#include "core/ts/PsiTables.h"
#include "core/ts/PsipCollector.h"

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

// Sections back to back, each given a CRC that matches, so that damaged
// bodies reach the table readers instead of stopping at the CRC check.
std::vector<std::uint8_t> WithMatchingCrcs(std::vector<std::uint8_t> bytes) {
  std::size_t at = 0;
  while (const auto length = SectionLength(std::span(bytes).subspan(at))) {
    if (*length > bytes.size() - at) break;
    if (*length >= 4) {
      const std::uint32_t crc = Crc32Mpeg(std::span(bytes).subspan(at, *length - 4));
      for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + *length - 4 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
      }
    }
    at += *length;
  }
  return bytes;
}

// The scan's offers from whatever table was read: one-word names, numbers
// in range, no channel twice, none of the list's.
void CheckOffers(const Tvct& tvct) {
  const std::vector<ChannelEntry> list{{"Mine", 20, 7, 1}, {"Other", 20, 9, -1}};
  const auto offered = OfferedChannels(tvct, 20, list);
  for (std::size_t i = 0; i < offered.size(); ++i) {
    const ChannelEntry& entry = offered[i];
    if (entry.name.empty() || entry.name.find_first_of(" \t\r\n") != std::string::npos) std::abort();
    if (entry.major < 1 || entry.major > 9999 || entry.minor < 0 || entry.minor > 999) std::abort();
    if ((entry.major == 7 && entry.minor == 1) || (entry.major == 9 && entry.minor == 1)) std::abort();
    for (std::size_t j = 0; j < i; ++j) {
      if (offered[j].major == entry.major && offered[j].minor == entry.minor) std::abort();
    }
  }
}

// True when `text` is well-formed UTF-8 without NUL (what the guide's
// decoded texts promise).
bool IsCleanUtf8(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t extra = 0;
    char32_t c = lead;
    if (lead == 0) return false;
    if (lead >= 0x80) {
      if (lead >= 0xC2 && lead < 0xE0) {
        extra = 1, c = lead & 0x1F;
      } else if (lead >= 0xE0 && lead < 0xF0) {
        extra = 2, c = lead & 0x0F;
      } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07;
      } else {
        return false;
      }
    }
    if (extra >= text.size() - at) return false;
    for (std::size_t i = 1; i <= extra; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if ((extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000) || c > 0x10FFFF ||
        (c >= 0xD800 && c <= 0xDFFF)) {
      return false;
    }
    at += extra + 1;
  }
  return true;
}

// The guide's readers and collector over sections on the PIDs of EIT-0,
// EIT-1 and ETT-0 in turn; every decoded text is clean UTF-8.
void FuzzGuide(const std::vector<std::uint8_t>& bytes) {
  Mgt mgt;
  const std::uint16_t pids[] = {0x1D00, 0x1D01, 0x1E00};
  mgt.tables = {{0x0100, pids[0], 0, 0, {}}, {0x0101, pids[1], 0, 0, {}}, {0x0200, pids[2], 0, 0, {}}};
  GuideCollector guide;
  guide.SetMgt(mgt);
  std::size_t at = 0;
  for (int turn = 0; at < bytes.size(); ++turn) {
    const auto rest = std::span(bytes).subspan(at);
    guide.Feed(pids[turn % 3], rest);
    if (const auto eit = ParseEitSection(rest)) {
      for (const EitEvent& event : eit->part.events) {
        if (event.eventId > 0x3FFF || event.lengthSeconds > 0xFFFFF) std::abort();
        if (!IsCleanUtf8(TextOf(event.title))) std::abort();
      }
    }
    if (const auto ett = ParseEttSection(rest)) {
      if (!IsCleanUtf8(TextOf(ett->part.text)) || !IsCleanUtf8(TextOf(ett->part.text, "fra"))) std::abort();
    }
    at += SectionLength(rest).value_or(rest.size());
  }
  // The bytes as one multiple-string structure as well.
  if (const auto text = ParseMultipleString(bytes); text && !IsCleanUtf8(TextOf(*text))) std::abort();
  Stt stt;
  stt.gpsUtcOffset = 18;
  const auto events = guide.Events(stt);
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (!IsCleanUtf8(events[i].title) || !IsCleanUtf8(events[i].description)) std::abort();
    const bool sameSource = i > 0 && events[i - 1].sourceId == events[i].sourceId;
    if (sameSource && events[i - 1].startUtc > events[i].startUtc) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 8) {
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
    case 5: {
      const auto bytes = WithMatchingCrcs(std::vector<std::uint8_t>(data + 1, data + size));
      PsipCollector collector;
      std::size_t at = 0;
      while (at < bytes.size()) {
        const auto rest = std::span(bytes).subspan(at);
        collector.Feed(rest);
        if (const auto tvct = ParseTvctSection(rest)) CheckOffers(tvct->part);
        (void)ParseMgtSection(rest);
        if (const auto stt = ParseSttSection(rest)) (void)UtcUnixSeconds(stt->part);
        at += SectionLength(rest).value_or(rest.size());
      }
      if (collector.CompleteTvct()) CheckOffers(*collector.CompleteTvct());
      break;
    }
    case 6:
      FuzzGuide(WithMatchingCrcs(std::vector<std::uint8_t>(data + 1, data + size)));
      break;
    case 7: {
      // The guide's own files: guide.txt, series.txt and the hand-off to the
      // scheduler and its answer. What is read writes back and reads the same.
      const auto guide = ReadGuideFile(WriteScratch("guide.txt", text));
      if (guide.damage && !guide.programmes.empty()) std::abort();
      const auto series = SeriesRules::Parse(text);
      if (SeriesRules::Parse(SeriesRules::Format(series.rules)).rules != series.rules) std::abort();
      const auto offer = HandOffFiles::ParseGuideEvent(text);
      if (offer && HandOffFiles::ParseGuideEvent(HandOffFiles::GuideEventText(*offer)) != offer) std::abort();
      const auto answer = HandOffFiles::ParseGuideAnswer(text);
      if (answer && HandOffFiles::ParseGuideAnswer(HandOffFiles::GuideAnswerText(*answer)) != answer) std::abort();
      break;
    }
  }
  return 0;
}
