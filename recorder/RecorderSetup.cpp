#include "recorder/RecorderSetup.h"

#include "core/files/FileNames.h"
#include "core/files/TunerFiles.h"
#include "core/files/ViewerConfig.h"
#include "core/schedule/ScheduleEvent.h"

RecorderSetup RecorderSetup::Load(const std::filesystem::path& folder, RecorderVariant variant) {
  RecorderSetup setup;
  int modelNumber = -1;
  if (const auto config = ReadViewerConfig(folder / FileNames::kConfig, ViewerConfig{}))
    modelNumber = config->tunerModel;
  const std::optional<TunerNames> tunerFile = ReadTunerFile(folder / FileNames::kTuner);
  if (tunerFile) modelNumber = kTunerFileModel;
  setup.model = FindTuningModel(modelNumber, tunerFile);
  if (setup.model) {
    const RecorderVariantFacts facts = RecorderVariantFacts::For(variant);
    setup.ownTitle = WindowTitle(*setup.model, facts.ownWindow);
    setup.schedulerTitle = WindowTitle(*setup.model, facts.schedulerWindow);
    setup.recordKey = RecordRegistryKey(*setup.model);
  }
  setup.channels = ReadChannelFile(folder / FileNames::kChannels).value_or(std::vector<ChannelEntry>{});
  return setup;
}

std::optional<std::size_t> EventChannelIndex(const std::vector<ChannelEntry>& channels,
                                             const SilentEventHandOff& event) {
  ScheduleEvent asEvent;
  asEvent.channel1 = event.channel1;
  asEvent.channel2 = event.channel2;
  asEvent.channel3 = event.channel3;
  return FindEventChannel(channels, asEvent);
}

TuneValues EventTuneValues(const std::vector<ChannelEntry>& channels,
                           const SilentEventHandOff& event) {
  if (const auto index = EventChannelIndex(channels, event)) {
    const ChannelEntry& entry = channels[*index];
    return {entry.physical, entry.major, entry.minor};
  }
  return {event.channel1, event.channel2, event.channel3};
}
