#include "remote/RemoteKeyTables.h"

namespace {

struct KeyLetter {
  int code;
  char letter;
};

// Key press codes that become one of the viewer's shortcut letters.
constexpr KeyLetter kViewerLetters[] = {
    {25, 'R'}, {26, 'F'}, {27, 'V'}, {30, 'C'}, {31, 'Z'}, {32, 'A'}, {33, 'D'},
    {37, 'G'}, {38, 'T'}, {39, 'U'}, {40, 'L'}, {41, 'N'}, {48, 'M'},
};

// Key press codes that become one of the players' shortcut letters.
constexpr KeyLetter kPlayerLetters[] = {
    {25, 'U'}, {26, 'I'}, {27, 'O'}, {30, 'B'}, {31, 'V'}, {32, 'A'}, {33, 'D'},
    {35, 'F'}, {36, 'R'}, {37, 'W'}, {38, 'S'}, {39, 'X'}, {41, 'N'}, {48, 'M'},
};

template <std::size_t N>
std::optional<RemoteMessage> LetterFor(const KeyLetter (&table)[N], int code) {
  for (const KeyLetter& entry : table) {
    if (entry.code == code) return RemoteMessage::Key(entry.letter);
  }
  return std::nullopt;
}

}  // namespace

std::optional<RemoteMessage> ViewerMessageForKey(int code, int eventType) {
  if (eventType == kKeyHeld) {
    // Only the volume keys repeat while held.
    if (code == 25) return RemoteMessage::Key('R');
    if (code == 26) return RemoteMessage::Key('F');
    return std::nullopt;
  }
  if (eventType != kKeyPressed) return std::nullopt;
  if (code >= 0 && code <= 9) {
    return RemoteMessage::Command(static_cast<std::uint32_t>(code), ViewerRemoteAction::Digit);
  }
  switch (code) {
    case 23: return RemoteMessage::Command(0, ViewerRemoteAction::ChannelUp);
    case 24: return RemoteMessage::Command(0, ViewerRemoteAction::ChannelDown);
    case 44:
    case 45: return RemoteMessage::Command(0, ViewerRemoteAction::Recall);
    case 46:
    case 47: return RemoteMessage::Command(0, ViewerRemoteAction::DisplaySwitch);
    default: return LetterFor(kViewerLetters, code);
  }
}

std::optional<RemoteMessage> PlayerMessageForKey(int code, int eventType) {
  if (eventType == kKeyHeld) {
    if (code == 25) return RemoteMessage::Key('U');
    if (code == 26) return RemoteMessage::Key('I');
    return std::nullopt;
  }
  if (eventType != kKeyPressed) return std::nullopt;
  if (code == 46 || code == 47) return RemoteMessage::Command(PlayerRemoteAction::DisplaySwitch);
  return LetterFor(kPlayerLetters, code);
}
