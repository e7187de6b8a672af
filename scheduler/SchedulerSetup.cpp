#include "scheduler/SchedulerSetup.h"

#include "core/protocol/HandOffFiles.h"
#include "core/files/TunerFiles.h"
#include "core/files/ViewerConfig.h"

SchedulerSetup SchedulerSetup::Load(const std::filesystem::path& folder, SchedulerVariant variant) {
  SchedulerSetup setup;
  if (const auto config = ReadViewerConfig(folder / "config.txt", ViewerConfig{}))
    setup.modelNumber = config->tunerModel;
  const auto tunerFile = ReadTunerFile(folder / "tuner.txt");
  if (tunerFile) setup.modelNumber = kTunerFileModel;
  if (auto row = FindTuningModel(setup.modelNumber, tunerFile)) {
    setup.model = std::move(*row);
  } else {
    // No row: the titles match no window, and no wake-up task has this name.
    setup.model.number = setup.modelNumber;
  }
  const auto names = SchedulerVariantNames::For(variant);
  setup.ownTitle = WindowTitle(setup.model, names.schedulerWindow);
  setup.wakeUpTaskName = WakeUpTaskName(setup.model);
  setup.engineSettings = SchedulerEngine::Settings::For(
      setup.model, variant, HandOffFiles::ReadDelay(folder / HandOffFiles::kDelayFile));
  if (auto channels = ReadChannelFile(folder / "channels.txt")) {
    setup.channels = std::move(*channels);
  } else {
    setup.error = kNoChannelList;
  }
  return setup;
}
