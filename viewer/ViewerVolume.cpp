// Volume and mute. The volume keys move the system's speaker level on a
// 2.5 per cent grid; mute silences only the program's own sound renderer.
#include <cstdio>

#include "core/files/VolumeSteps.h"
#include "viewer/ViewerDialog.h"
#include "win/SpeakerVolume.h"

namespace {

// A level that cannot be read counts as 0; the step goes on from there.
double PresentLevel() { return SpeakerVolume::Read().value_or(0.0f); }

}  // namespace

void ViewerDialog::VolumeUp() {
  if (session.IsMuted()) {
    ToggleMute();
    return;
  }
  const VolumeStep step = ::VolumeUp(PresentLevel());
  SpeakerVolume::Set(static_cast<float>(step.level));
  ShowVolume(step.shownPercent);
}

void ViewerDialog::VolumeDown() {
  if (session.IsMuted()) {
    ToggleMute();
    return;
  }
  const VolumeStep step = ::VolumeDown(PresentLevel());
  SpeakerVolume::Set(static_cast<float>(step.level));
  ShowVolume(step.shownPercent);
}

void ViewerDialog::ShowVolume(double percent) {
  if (!session.Settings().displayVolume) return;
  char text[32];
  std::snprintf(text, sizeof text, "VOL: %0.1f%%", percent);
  ShowOsdText(text);
}

// Silences or restores the program's own sound renderer; the system's
// volume is left alone.
void ViewerDialog::ToggleMute() {
  const std::optional<bool> muted = engine.ToggleMute();
  if (!muted) return;
  session.SetMuted(*muted);
  if (session.Settings().displayVolume) ShowOsdText(*muted ? "MUTE: ON" : "MUTE: OFF");
}
