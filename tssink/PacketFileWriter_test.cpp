#include "tssink/PacketFileWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace tssink;

namespace {

// A file in memory that takes at most `capacity` bytes (a full disk) and can
// hold the writer inside Write until the test opens the gate.
struct FakeDisk {
  std::mutex lock;
  std::condition_variable gateOpened;
  bool gateOpen = true;
  std::vector<std::uint8_t> bytes;
  std::size_t capacity = SIZE_MAX;
  bool closed = false;
  int truncations = 0;

  void OpenGate() {
    std::lock_guard guard(lock);
    gateOpen = true;
    gateOpened.notify_all();
  }
};

class FakeFile : public OutputFile {
 public:
  explicit FakeFile(FakeDisk& disk) : disk(disk) {}
  std::size_t Write(const std::uint8_t* data, std::size_t size) override {
    std::unique_lock guard(disk.lock);
    disk.gateOpened.wait(guard, [this] { return disk.gateOpen; });
    const std::size_t room = disk.capacity - std::min(disk.capacity, disk.bytes.size());
    const std::size_t taken = std::min(room, size);
    disk.bytes.insert(disk.bytes.end(), data, data + taken);
    return taken;
  }
  bool Truncate(std::uint64_t size) override {
    std::lock_guard guard(disk.lock);
    disk.bytes.resize(size);
    ++disk.truncations;
    return true;
  }
  void Close() override {
    std::lock_guard guard(disk.lock);
    disk.closed = true;
  }

 private:
  FakeDisk& disk;
};

// Packets whose bytes count up, so that a lost or repeated byte shows.
std::vector<std::uint8_t> CountingBytes(std::size_t size, std::size_t from = 0) {
  std::vector<std::uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>((from + i) * 7 + 1);
  return data;
}

const PacketFileWriter::Options kSmallChunks{1000, 3};

}  // namespace

TEST(PacketFileWriterTest, EverythingAppendedReachesTheFileInOrder) {
  FakeDisk disk;
  PacketFileWriter writer(std::make_unique<FakeFile>(disk), 0, nullptr, kSmallChunks);
  const auto data = CountingBytes(51200 * 3 + 100);
  // Odd piece sizes cross chunk boundaries in every way.
  std::size_t offset = 0;
  for (std::size_t piece : {1u, 999u, 1000u, 1001u, 51200u, 7u}) {
    ASSERT_TRUE(writer.Append(data.data() + offset, piece));
    offset += piece;
  }
  ASSERT_TRUE(writer.Append(data.data() + offset, data.size() - offset));
  EXPECT_TRUE(writer.Finish());
  EXPECT_TRUE(disk.closed);
  EXPECT_EQ(disk.bytes, data);
  EXPECT_EQ(writer.FileSize(), data.size());
  EXPECT_FALSE(writer.HasFailed());
}

TEST(PacketFileWriterTest, NothingAppendedLeavesAnEmptyClosedFile) {
  FakeDisk disk;
  {
    PacketFileWriter writer(std::make_unique<FakeFile>(disk), 0, nullptr, kSmallChunks);
  }  // The destructor finishes the file.
  EXPECT_TRUE(disk.closed);
  EXPECT_TRUE(disk.bytes.empty());
}

// A full disk: the file is cut back to whole packets, the failure is reported
// once, later data is refused and Finish says that not all was written.
TEST(PacketFileWriterTest, FullDiskKeepsWholePacketsAndReportsOnce) {
  FakeDisk disk;
  disk.capacity = 188 * 10 + 50;
  std::atomic<int> reports{0};
  PacketFileWriter writer(std::make_unique<FakeFile>(disk), 0, [&] { ++reports; }, kSmallChunks);
  const auto data = CountingBytes(188 * 40);
  // Some of these are refused once the writer has seen the error; which ones
  // depends on timing.
  for (std::size_t offset = 0; offset < data.size(); offset += 188) {
    writer.Append(data.data() + offset, 188);
  }
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(reports.load(), 1);
  EXPECT_TRUE(writer.HasFailed());
  EXPECT_TRUE(disk.closed);
  ASSERT_EQ(disk.bytes.size(), 188u * 10);
  EXPECT_TRUE(std::equal(disk.bytes.begin(), disk.bytes.end(), data.begin()));
  EXPECT_EQ(writer.FileSize(), 188u * 10);
  EXPECT_FALSE(writer.Append(data.data(), 188));
}

// Appending to a file that already holds bytes: the cut counts them too.
TEST(PacketFileWriterTest, CutCountsBytesAlreadyInTheFile) {
  FakeDisk disk;
  disk.bytes = CountingBytes(188 * 2);
  disk.capacity = 188 * 2 + 300;
  PacketFileWriter writer(std::make_unique<FakeFile>(disk), 188 * 2, nullptr, kSmallChunks);
  const auto data = CountingBytes(188 * 3, 188 * 2);
  writer.Append(data.data(), data.size());
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(disk.bytes.size(), 188u * 3);
}

// With the disk stalled and the buffers too full for the next piece, Append
// waits; refusing (as a flush does) releases it without taking any part of
// the piece, what was queued before is still written, and after the flush
// data is taken again.
TEST(PacketFileWriterTest, RefusingReleasesAnAppendWaitingForSpace) {
  FakeDisk disk;
  disk.gateOpen = false;
  PacketFileWriter writer(std::make_unique<FakeFile>(disk), 0, nullptr, kSmallChunks);
  const auto data = CountingBytes(2500);  // two full chunks and half of the third
  ASSERT_TRUE(writer.Append(data.data(), data.size()));
  const auto refused = CountingBytes(1000, 9000);
  std::atomic<bool> result{true};
  std::thread producer([&] { result = writer.Append(refused.data(), refused.size()); });
  writer.SetRefusing(true);
  producer.join();
  EXPECT_FALSE(result.load());
  disk.OpenGate();
  writer.SetRefusing(false);
  const auto more = CountingBytes(500, 3000);
  EXPECT_TRUE(writer.Append(more.data(), more.size()));
  EXPECT_TRUE(writer.Finish());
  auto expected = data;
  expected.insert(expected.end(), more.begin(), more.end());
  EXPECT_EQ(disk.bytes, expected);
}

// Finish while another thread keeps appending, as when the graph stops during
// a Receive: every piece taken reaches the file whole and in order, the last
// partly filled chunk included, and nothing is taken after Finish.
TEST(PacketFileWriterTest, FinishDuringAppendsKeepsEveryPieceTaken) {
  constexpr std::size_t kPiece = 700;  // never a whole number of chunks
  const auto data = CountingBytes(kPiece * 2000);
  for (int attempt = 0; attempt < 20; ++attempt) {
    FakeDisk disk;
    PacketFileWriter writer(std::make_unique<FakeFile>(disk), 0, nullptr, kSmallChunks);
    std::atomic<std::size_t> taken{0};
    std::thread producer([&] {
      for (std::size_t i = 0; i < 2000; ++i) {
        if (!writer.Append(data.data() + i * kPiece, kPiece)) break;
        ++taken;
      }
    });
    while (taken < static_cast<std::size_t>(attempt) * 10) std::this_thread::yield();
    EXPECT_TRUE(writer.Finish());
    producer.join();
    ASSERT_EQ(disk.bytes.size(), taken * kPiece);
    EXPECT_TRUE(std::equal(disk.bytes.begin(), disk.bytes.end(), data.begin()));
    EXPECT_FALSE(writer.Append(data.data(), kPiece));
  }
}
