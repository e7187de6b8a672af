#pragma once
// The speaker line's master volume through the waveform mixer, as the raw
// level of its volume control (0 to 65535). The program links winmm.

#include <windows.h>
#include <mmsystem.h>

#include <optional>

#include "win/UniqueHandle.h"

class SpeakerVolume {
 public:
  static std::optional<float> Read() {
    SpeakerControl speaker;
    MIXERCONTROLDETAILS_UNSIGNED value{};
    if (!speaker.Found() || speaker.Details(value, false) != MMSYSERR_NOERROR) return std::nullopt;
    return static_cast<float>(value.dwValue);
  }

  // A level outside 0 to 65535 (or not a number) is refused: the cast to
  // the control's unsigned value would be undefined for it.
  static bool Set(float level) {
    if (!(level >= 0.0f && level <= 65535.0f)) return false;
    SpeakerControl speaker;
    if (!speaker.Found()) return false;
    MIXERCONTROLDETAILS_UNSIGNED value{static_cast<DWORD>(level)};
    return speaker.Details(value, true) == MMSYSERR_NOERROR;
  }

 private:
  // The mixer, with the speaker line's volume control found in it.
  class SpeakerControl {
   public:
    SpeakerControl() {
      if (mixerOpen(mixer.Put(), 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
        mixer.Release();  // not a handle to close
        return;
      }
      MIXERLINEA line{};
      line.cbStruct = sizeof line;
      line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
      if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer.Get()), &line,
                            MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR) {
        return;
      }
      MIXERLINECONTROLSA controls{};
      controls.cbStruct = sizeof controls;
      controls.dwLineID = line.dwLineID;
      controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
      controls.cControls = 1;
      controls.cbmxctrl = sizeof control;
      controls.pamxctrl = &control;
      found = mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer.Get()), &controls,
                                    MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
    }

    bool Found() const { return found; }

    // One value for all channels of the line.
    MMRESULT Details(MIXERCONTROLDETAILS_UNSIGNED& value, bool write) {
      MIXERCONTROLDETAILS details{};
      details.cbStruct = sizeof details;
      details.dwControlID = control.dwControlID;
      details.cChannels = 1;
      details.cbDetails = sizeof value;
      details.paDetails = &value;
      auto object = reinterpret_cast<HMIXEROBJ>(mixer.Get());
      return write ? mixerSetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE)
                   : mixerGetControlDetailsA(object, &details, MIXER_GETCONTROLDETAILSF_VALUE);
    }

   private:
    UniqueHmixer mixer;
    MIXERCONTROLA control{};
    bool found = false;
  };
};
