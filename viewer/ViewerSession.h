#pragma once
// What the viewer knows while it runs, apart from its windows and its graph:
// the channel list with the current and the previous channel, what is
// remembered per channel (volume and aspect), the settings of config.txt,
// the tuner model in use and the one selected for the next start, and the
// mute state. Every channel change (keys, buttons, the channel list, typed
// numbers, the remote control and the scheduler) goes through the rules
// here; the shell tunes what they choose.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/files/ChannelVolumes.h"
#include "core/files/TunerFiles.h"
#include "core/files/ViewerConfig.h"
#include "core/geometry/Geometry.h"
#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "viewer/StartupPlan.h"

enum class ChannelStep {
  Up,      // the next channel; from the last back to the first
  Down,    // the one before; from the first round to the last
  Recall,  // the channel watched before this one
};

// A channel change decided by the session, for the shell to carry out.
struct ChannelChange {
  int index = 0;                // the new current channel
  TuneValues tune;              // what to tune
  std::optional<float> volume;  // a remembered mixer level to restore
  bool aspectChanged = false;   // the remembered aspect differs: re-fit the picture
};

// What the viewer does with the scheduler's START RECORD.
enum class ScheduledRecording {
  Start,                  // live television: the recording starts
  EndTimeshiftThenStart,  // timeshift ends (as for the scheduler's change of channel) first
  Refuse,                 // a recording runs and goes on; the scheduled one is refused
};

// Where the windows stand at exit; config.txt keeps them.
struct WindowPlaces {
  Rect videoWindow;
  int panelLeft = 0;
  int panelTop = 0;
};

class ViewerSession {
 public:
  // No channels, the default settings and no model.
  ViewerSession() = default;
  // The session a start-up plan describes: its model (in use and selected),
  // channels, current channel (also the previous one) and settings, with
  // nothing remembered per channel.
  explicit ViewerSession(const StartupPlan& plan);

  // The channel list.
  const std::vector<ChannelEntry>& Channels() const { return channels; }
  bool HasChannels() const { return !channels.empty(); }
  int CurrentIndex() const { return current; }
  int PreviousIndex() const { return previous; }
  // The current channel; nothing while the list is empty.
  const ChannelEntry* CurrentChannel() const;
  // What the live graph is tuned to at start: the current channel, or the
  // "no channel" values of an empty list.
  TuneValues StartupTuning() const { return ChannelTuneValues(channels, current); }

  // While a recording runs the channel is held, since the tuner feeds the
  // recording: Step, GoTo and SwitchTo then change nothing and return
  // nothing, and the panel says why.
  bool ChannelHeld() const { return recording; }

  // Channel changes by the user. The channel being left becomes the previous
  // one and, with the per-channel options on, keeps the present mixer level
  // (`presentLevel`, when it could be read) and aspect; the new one gives
  // back what it kept. Nothing happens, and nothing is returned, while the
  // list is empty, when the index is not in the list or while the channel
  // is held.
  std::optional<ChannelChange> Step(ChannelStep step, std::optional<float> presentLevel);
  std::optional<ChannelChange> GoTo(int index, std::optional<float> presentLevel);

  // Channel look-ups: the first channel with the major number and, when one
  // is given, the minor number or its negative (a channel kept as -2 is
  // found by typing 2); the first channel with the physical, major and minor
  // (or negated minor) numbers of a scheduled event.
  std::optional<int> FindByNumber(int major, std::optional<int> minor) const;
  std::optional<int> FindByTuning(int physical, int major, int minor) const;

  // The scheduler's change: the channel becomes current without touching
  // the previous channel or the per-channel memory. Nothing when the index
  // is not in the list or while the channel is held (the scheduler stops a
  // recording before it changes the channel).
  std::optional<TuneValues> SwitchTo(int index);

  // The channel list as the setup window leaves it, with the channel found
  // current in it (-1 for none: then index 0 is current, as at start, so
  // that the channel keys keep working and config.txt keeps 0). A previous
  // channel no longer in the list becomes the first.
  void ReplaceChannels(std::vector<ChannelEntry> edited, int newCurrent);

  // The settings of config.txt. The window places, the model and the channel
  // index in it are those read at start; ConfigToSave gives today's.
  const ViewerConfig& Settings() const { return settings; }
  ViewerConfig& Settings() { return settings; }
  // All 24 values as the exit writes them: the selected model, the windows
  // where they stand and the current channel.
  ViewerConfig ConfigToSave(const WindowPlaces& places) const;

  // The tuner model in use, its catalogue row (nothing for a number the
  // catalogue does not hold) and what comes with it.
  int Model() const { return model; }
  const TunerNames& Tuner() const { return tuner; }
  const TuningModel* ModelRow() const { return modelRow ? &*modelRow : nullptr; }
  std::string TimeshiftRegistryKey() const;
  std::string RecordRegistryKey() const;
  // The model for the next start (value 1 of config.txt).
  int SelectedModel() const { return selectedModel; }
  void SelectModel(int number) { selectedModel = number; }

  // The per-channel mixer levels of chvols.txt, with Save Per Channel Volume
  // on. Loading gives the level remembered for the current channel, to be
  // set at start, if there is one. Saving first keeps `presentLevel` for the
  // current channel; it writes nothing while the option is off or the list
  // is empty, and returns false only when the file cannot be written.
  std::optional<float> LoadChannelVolumes(const std::filesystem::path& file);
  bool SaveChannelVolumes(const std::filesystem::path& file, std::optional<float> presentLevel);

  // The program's own sound renderer is silenced (mute) or not. Minimising
  // mutes with Mute On Minimize on, and restoring takes back only a mute
  // that minimising set: both answer whether to toggle the mute now.
  bool IsMuted() const { return muted; }
  void SetMuted(bool on) { muted = on; }
  bool MuteForMinimise();
  bool UnmuteForRestore();

  // A recording or the timeshift runs: the remote control's channel
  // commands and the display switch wait until it ends. The timeshift and
  // recording code keeps these up to date.
  bool Recording() const { return recording; }
  // The scheduler's START RECORD in the present state.
  ScheduledRecording AnswerScheduledRecording() const;
  bool Timeshifting() const { return timeshifting; }
  void SetRecording(bool on) { recording = on; }
  void SetTimeshifting(bool on) { timeshifting = on; }

 private:
  bool IsInList(int index) const;
  ChannelChange Change(int to, std::optional<float> presentLevel);

  std::vector<ChannelEntry> channels;
  int current = 0;
  int previous = 0;
  // Per channel: the mixer level and the aspect mode kept on leaving it;
  // -1 while none is kept.
  ChannelVolumes volumes = NoChannelVolumes();
  std::array<float, kMaxChannels> aspects = NoChannelVolumes();  // all -1 as well

  ViewerConfig settings;

  int model = -1;
  int selectedModel = -1;
  TunerNames tuner;
  std::optional<TuningModel> modelRow;

  bool muted = false;
  bool mutedByMinimise = false;
  bool recording = false;
  bool timeshifting = false;
};
