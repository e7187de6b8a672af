#pragma once

// The two players are one program built twice: the stream-buffer player
// (.dvr-ms recordings) and the transport-stream player (.ts and .tp files).
// Everything that differs between them is in this description.
enum class PlayerKind { StreamBuffer, TransportStream };

struct PlayerVariant {
  PlayerKind kind;
  const char* panelTitle;      // the control panel's title, which others look for
  const char* aboutText;       // the about box's line
  const char* openFilter;      // the Open dialog's filter: name, pattern, as pairs
  bool hasRateButtons;         // fast forward and rewind
  bool hasProgramList;         // the program combo box, filled from the PAT

  static const PlayerVariant& For(PlayerKind kind);
};

// The variant this program was built as (chosen when it is built).
const PlayerVariant& ThisPlayer();
