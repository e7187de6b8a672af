#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/protocol/ProgramProtocol.h"
#include "scheduler/SchedulerEngine.h"
#include "core/tuning/TuningModel.h"

// What a scheduler reads from the working folder when it starts: the tuner
// model (value 1 of config.txt, or 20 whenever tuner.txt is readable), the
// window titles built from it, the recorder start delay and the channel list.
class SchedulerSetup {
 public:
  static constexpr const char* kNoChannelList =
      "YOU NEED TO SETUP YOUR CHANNEL LIST IN TELVANTIS BEFORE RUNNING SCHEDULER";

  int modelNumber = -1;
  TuningModel model;           // an empty title suffix when the model is unknown
  std::string ownTitle;        // "Telvantis Scheduler- " or "Telvantis Scheduler TS- " + name
  std::string wakeUpTaskName;
  SchedulerEngine::Settings engineSettings;
  std::vector<ChannelEntry> channels;
  std::string error;           // not empty: show it and end the program

  static SchedulerSetup Load(const std::filesystem::path& folder, SchedulerVariant variant);
};
