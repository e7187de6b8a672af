#include "scheduler/SchedulerSetup.h"

#include "core/files/FileNames.h"
#include "core/protocol/HandOffFiles.h"
#include "core/files/TunerFiles.h"
#include "core/files/ViewerConfig.h"

SchedulerSetup SchedulerSetup::Load(const std::filesystem::path& folder, SchedulerVariant variant) {
  SchedulerSetup setup;
  if (const auto config = ReadViewerConfig(folder / FileNames::kConfig, ViewerConfig{}))
    setup.modelNumber = config->tunerModel;
  const auto tunerFile = ReadTunerFile(folder / FileNames::kTuner);
  if (tunerFile) setup.modelNumber = kTunerFileModel;
  if (auto row = FindTuningModel(setup.modelNumber, tunerFile)) {
    setup.model = std::move(*row);
  } else {
    // No row: the titles match no window, and no wake-up task has this name.
    setup.model.number = setup.modelNumber;
    setup.model.wakeUpTaskNumber = setup.modelNumber;
  }
  const auto names = SchedulerVariantNames::For(variant);
  setup.ownTitle = WindowTitle(setup.model, names.schedulerWindow);
  setup.wakeUpTaskName = WakeUpTaskName(setup.model);
  setup.engineSettings = SchedulerEngine::Settings::For(
      setup.model, variant, HandOffFiles::ReadDelay(folder / FileNames::kDelay));
  if (auto channels = ReadChannelFile(folder / FileNames::kChannels)) {
    setup.channels = std::move(*channels);
  } else {
    setup.error = kNoChannelList;
  }
  return setup;
}
