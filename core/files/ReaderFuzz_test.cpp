// Randomised robustness test of the readers of the small shared files:
// schedule.txt, silentevent.txt, reclive.txt, channels.txt and config.txt.
// Valid files are mutated (bytes flipped, inserted, deleted, duplicated,
// numbers replaced by extremes, lines made over-long, the file truncated)
// with a fixed seed, and every reader must come back with a sound result.

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "core/files/ChannelEntry.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/ScheduleFile.h"
#include "core/testing/TestFolder.h"
#include "core/files/ViewerConfig.h"

namespace {

const std::string kSeeds[] = {
    "2\n2 1 7 2008 33 7 1 20 0 21 30 0 2 0\nD:\\Recordings\n"
    "3 1 8 2008 33 7 -1 23 0 1 0 1 1 2\n\n",
    "33 7 -1 21 5 2\nD:\\Rec\\\n",
    "23 30 0 15 0 ",
    "3\nKAAA 20 2 1\nKBBB 33 7 -1\nKCCC 41 9 3\n",
    "17\n10\n0\n1040\n582\n300\n600\n1\n0\n0\n-1\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0",
};

const char* const kExtremes[] = {"2147483647", "-2147483648", "99999999999999999999", "-0", "+5",
                                 "0x10", "1e9", "", " ", "\t", "\r", "\0", "-", "ÿ"};

std::string Mutate(std::string text, std::mt19937& random) {
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
  const int rounds = 1 + static_cast<int>(pick(5));
  for (int round = 0; round < rounds; ++round) {
    const std::size_t at = pick(text.size());
    switch (pick(7)) {
      case 0:
        if (!text.empty()) text[std::min(at, text.size() - 1)] = static_cast<char>(pick(255));
        break;
      case 1: text.insert(at, 1, "0123456789 -\n\r\t\0x"[pick(16)]); break;
      case 2: text.erase(at, pick(12)); break;
      case 3: text.insert(at, text.substr(pick(text.size()), pick(40))); break;
      case 4: {
        const std::string extreme = kExtremes[pick(std::size(kExtremes) - 1)];
        const std::size_t end = text.find_first_of(" \n", at);
        text.replace(at, end == std::string::npos ? 0 : end - at, extreme);
        break;
      }
      case 5: text.insert(at, std::string(150 + pick(300), "aZ9 "[pick(3)])); break;
      case 6: text.resize(at); break;
      default: text.insert(at, "\n2 1 7 2008 33 7 1 20 0 21 30 0 2 0\n"); break;
    }
  }
  return text;
}

}  // namespace

TEST(ReaderFuzz, MutatedFilesGiveSoundResults) {
  TestFolder folder;
  std::mt19937 random(20301207);
  int accepted[5] = {};
  constexpr int kRounds = 3000;
  for (int round = 0; round < kRounds; ++round) {
    const std::size_t which = static_cast<std::size_t>(round % 5);
    const std::string text = Mutate(kSeeds[which], random);
    SCOPED_TRACE("round " + std::to_string(round));
    switch (which) {
      case 0: {
        const auto contents = ScheduleFile::Parse(text);
        ASSERT_LE(contents.events.size(), ScheduleList::kMaxEvents);
        for (const ScheduleEvent& e : contents.events) ASSERT_EQ(EventFieldProblem(e), std::nullopt);
        // What was accepted is written and read back unchanged.
        const auto again = ScheduleFile::Parse(ScheduleFile::Format(contents.events));
        ASSERT_EQ(again.events, contents.events);
        ASSERT_FALSE(again.IsDamaged());
        // Loading never loses the text: a damaged file is kept aside whole.
        folder.Write("schedule.txt", text);
        const auto loaded = ScheduleFile::Load(folder / "schedule.txt", CivilTime{2008, 1, 1, 0, 0, 0});
        if (contents.IsDamaged()) {
          ASSERT_TRUE(loaded.keptAside);
          ASSERT_EQ(folder.Read(loaded.keptAside->filename().string()), text);
          std::filesystem::remove(*loaded.keptAside);
        }
        accepted[0] += !contents.events.empty();
        break;
      }
      case 1: {
        folder.Write("silentevent.txt", text);
        const auto read = HandOffFiles::TakeSilentEvent(folder / "silentevent.txt");
        ASSERT_TRUE(read.present);
        ASSERT_EQ(folder.Read("silentevent.txt"), "<missing>");
        if (read.data) {
          ASSERT_LE(read.data->folder.size(), kMaxEventFolderLength);
          ASSERT_EQ(HandOffFiles::ParseSilentEvent(HandOffFiles::SilentEventText(*read.data)), read.data);
          ++accepted[1];
        }
        break;
      }
      case 2: {
        folder.Write("reclive.txt", text);
        const auto read = HandOffFiles::TakeRecLive(folder / "reclive.txt");
        ASSERT_EQ(folder.Read("reclive.txt"), "<missing>");
        if (read.data) {
          ASSERT_EQ(HandOffFiles::ParseRecLive(HandOffFiles::RecLiveText(*read.data)), read.data);
          ++accepted[2];
        }
        break;
      }
      case 3: {
        folder.Write("channels.txt", text);
        const auto channels = ReadChannelFile(folder / "channels.txt");
        ASSERT_TRUE(channels);
        ASSERT_LE(channels->size(), static_cast<std::size_t>(kMaxChannels));
        accepted[3] += !channels->empty();
        break;
      }
      case 4: {
        folder.Write("config.txt", text);
        const auto config = ReadViewerConfig(folder / "config.txt", ViewerConfig{});
        ASSERT_TRUE(config);
        ASSERT_GE(config->currentChannel, 0);
        // The channel hand-off either rewrites value 11 alone or leaves the file.
        if (RewriteCurrentChannel(folder / "config.txt", 7)) {
          ++accepted[4];
        } else {
          ASSERT_EQ(folder.Read("config.txt"), text);
        }
        break;
      }
    }
  }
  std::printf("Reader fuzz: %d mutated files; accepted with data: schedule %d, silentevent %d, "
              "reclive %d, channels %d, config hand-off %d.\n",
              kRounds, accepted[0], accepted[1], accepted[2], accepted[3], accepted[4]);
}
