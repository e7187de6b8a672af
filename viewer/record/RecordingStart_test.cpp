#include "viewer/record/RecordingStart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Keeps what the start did, in order.
class FakeSteps final : public RecordingStartSteps {
 public:
  bool starts = true;
  bool opens = true;
  std::vector<std::string> done;

  bool StartRecording() override {
    done.push_back("start");
    return starts;
  }
  bool OpenNowWindow() override {
    done.push_back("open");
    return opens;
  }
  void StopRecording() override { done.push_back("stop"); }
  void Tell(const std::string& text) override { done.push_back("tell " + text); }
};

using Done = std::vector<std::string>;

}  // namespace

TEST(RecordingStartTest, RecordingWithoutItsWindowIsStoppedAndTheUserTold) {
  FakeSteps steps;
  EXPECT_EQ(StartRecordingWithWindow(steps), RecordingStartResult::Running);
  EXPECT_EQ(steps.done, (Done{"start", "open"}));

  FakeSteps noWindow;
  noWindow.opens = false;
  EXPECT_EQ(StartRecordingWithWindow(noWindow), RecordingStartResult::StoppedWithoutWindow);
  EXPECT_EQ(noWindow.done, (Done{"start", "open", "stop",
                                 "tell CAN'T OPEN RECORDING NOW WINDOW: RECORDING STOPPED"}));

  // A move that failed has told its own messages: no window, nothing to stop.
  FakeSteps notStarted;
  notStarted.starts = false;
  EXPECT_EQ(StartRecordingWithWindow(notStarted), RecordingStartResult::NotStarted);
  EXPECT_EQ(notStarted.done, Done{"start"});
}
