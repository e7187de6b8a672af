#pragma once

#include <optional>

#include "core/protocol/RemoteMessage.h"

// The remote host's key codes and event types, and what each plug-in turns
// them into. The numbering belongs to the host; only these values are used.

inline constexpr int kViewerKeyMask = 14585;  // 0x38F9
inline constexpr int kPlayerKeyMask = 12497;  // 0x30D1

inline constexpr int kKeyPressed = 1;  // event type of a key press
inline constexpr int kKeyHeld = 2;     // event type of a repeat while held

// The message for the viewer's control window, or nothing when the code
// means nothing to the viewer for this event type.
std::optional<RemoteMessage> ViewerMessageForKey(int code, int eventType);

// The message for a player's control window, or nothing.
std::optional<RemoteMessage> PlayerMessageForKey(int code, int eventType);
