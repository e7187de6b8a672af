#include "viewer/ViewerSession.h"

namespace {

// The aspect mode as the per-channel table keeps it: a float, -1 for none.
constexpr float kNoAspect = -1.0f;

float Stored(AspectMode aspect) { return static_cast<float>(FileValueOf(aspect)); }
AspectMode FromStored(float stored) { return AspectModeFromFileValue(static_cast<int>(stored)); }

bool IsMinorOrNegated(int stored, int minor) { return stored == minor || stored == -minor; }

}  // namespace

ViewerSession::ViewerSession(const StartupPlan& plan)
    : channels(plan.channels),
      current(plan.currentChannel),
      previous(plan.currentChannel),
      settings(plan.config),
      model(plan.model),
      selectedModel(plan.model),
      tuner(plan.tuner) {
  const std::optional<TunerNames> tunerFile =
      model == kTunerFileModel ? std::optional<TunerNames>(tuner) : std::nullopt;
  modelRow = FindTuningModel(model, tunerFile);
}

const ChannelEntry* ViewerSession::CurrentChannel() const {
  return IsInList(current) ? &channels[static_cast<std::size_t>(current)] : nullptr;
}

bool ViewerSession::IsInList(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < channels.size();
}

std::optional<ChannelChange> ViewerSession::Step(ChannelStep step,
                                                 std::optional<float> presentLevel) {
  if (channels.empty()) return std::nullopt;
  const int count = static_cast<int>(channels.size());
  int to = current;
  switch (step) {
    case ChannelStep::Up:
      to = current + 1 < count ? current + 1 : 0;
      break;
    case ChannelStep::Down:
      to = current > 0 ? current - 1 : count - 1;
      break;
    case ChannelStep::Recall:
      // Before any change the previous channel is the current one: recall
      // then tunes it again, as any change does.
      to = previous;
      break;
  }
  return GoTo(to, presentLevel);
}

std::optional<ChannelChange> ViewerSession::GoTo(int index, std::optional<float> presentLevel) {
  if (ChannelHeld() || !IsInList(index) || !IsInList(current)) return std::nullopt;
  return Change(index, presentLevel);
}

ChannelChange ViewerSession::Change(int to, std::optional<float> presentLevel) {
  const auto from = static_cast<std::size_t>(current);
  const auto next = static_cast<std::size_t>(to);
  if (settings.perChannelVolume && presentLevel) volumes[from] = *presentLevel;
  if (settings.perChannelAspect) aspects[from] = Stored(settings.aspectMode);
  previous = current;
  current = to;

  ChannelChange change;
  change.index = to;
  change.tune = ChannelTuneValues(channels, to);
  if (settings.perChannelVolume && volumes[next] != kNoChannelVolume) {
    change.volume = volumes[next];
  }
  if (settings.perChannelAspect && aspects[next] != kNoAspect &&
      aspects[next] != Stored(settings.aspectMode)) {
    settings.aspectMode = FromStored(aspects[next]);
    change.aspectChanged = true;
  }
  return change;
}

std::optional<int> ViewerSession::FindByNumber(int major, std::optional<int> minor) const {
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const ChannelEntry& c = channels[i];
    if (c.major == major && (!minor || IsMinorOrNegated(c.minor, *minor))) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

std::optional<int> ViewerSession::FindByTuning(int physical, int major, int minor) const {
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const ChannelEntry& c = channels[i];
    if (c.physical == physical && c.major == major && IsMinorOrNegated(c.minor, minor)) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

std::optional<TuneValues> ViewerSession::SwitchTo(int index) {
  if (ChannelHeld() || !IsInList(index)) return std::nullopt;
  current = index;
  return ChannelTuneValues(channels, index);
}

void ViewerSession::ReplaceChannels(std::vector<ChannelEntry> edited, int newCurrent) {
  channels = std::move(edited);
  current = IsInList(newCurrent) ? newCurrent : 0;
  if (!IsInList(previous)) previous = 0;
}

ViewerConfig ViewerSession::ConfigToSave(const WindowPlaces& places) const {
  ViewerConfig config = settings;
  config.tunerModel = selectedModel;
  config.videoWindow = places.videoWindow;
  config.panelLeft = places.panelLeft;
  config.panelTop = places.panelTop;
  config.currentChannel = current;
  return config;
}

std::string ViewerSession::TimeshiftRegistryKey() const {
  return modelRow ? ::TimeshiftRegistryKey(*modelRow) : std::string();
}

std::string ViewerSession::RecordRegistryKey() const {
  return modelRow ? ::RecordRegistryKey(*modelRow) : std::string();
}

std::optional<float> ViewerSession::LoadChannelVolumes(const std::filesystem::path& file) {
  volumes = NoChannelVolumes();
  if (!settings.savePerChannelVolume) return std::nullopt;
  // A missing file keeps every channel without a level.
  if (!ReadChannelVolumes(file, static_cast<int>(channels.size()), volumes)) return std::nullopt;
  if (!IsInList(current)) return std::nullopt;
  const float stored = volumes[static_cast<std::size_t>(current)];
  if (stored == kNoChannelVolume) return std::nullopt;
  return stored;
}

bool ViewerSession::SaveChannelVolumes(const std::filesystem::path& file,
                                       std::optional<float> presentLevel) {
  if (!settings.savePerChannelVolume || !IsInList(current)) return true;
  if (presentLevel) volumes[static_cast<std::size_t>(current)] = *presentLevel;
  return WriteChannelVolumes(file, static_cast<int>(channels.size()), volumes);
}

ScheduledRecording ViewerSession::AnswerScheduledRecording() const {
  if (recording) return ScheduledRecording::Refuse;
  return timeshifting ? ScheduledRecording::EndTimeshiftThenStart : ScheduledRecording::Start;
}

bool ViewerSession::MuteForMinimise() {
  if (!settings.muteOnMinimize || muted) return false;
  mutedByMinimise = true;
  return true;
}

bool ViewerSession::UnmuteForRestore() {
  if (!mutedByMinimise) return false;
  mutedByMinimise = false;
  return true;
}
