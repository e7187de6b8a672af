// Screen capture for the end-to-end tests: copies an area of the desktop as
// it is shown (video renderers included) into a 24-bit BMP file, or compares
// it with icons.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace driver {

// The whole desktop: the virtual desktop's size when run inside one.
RECT DesktopRect();

// Writes the part of the screen inside `area` (clipped to the desktop) to
// `path`. Returns false and fills `error` when the area is empty, the screen
// cannot be read or the file cannot be written.
bool WriteScreenshot(const std::string& path, RECT area, std::string& error);

// Which of `icons` the screen shows in `area` (screen coordinates), drawn as
// a static control draws its icon: stretched to the area over the window's
// background. Each icon is drawn over the colour the screen shows where the
// icon is transparent; the one that then differs from the screen in the
// fewest pixels is shown, when it differs in almost none. nullopt when none
// is, or the screen cannot be read.
std::optional<size_t> FindShownIcon(RECT area, const std::vector<HICON>& icons);

}  // namespace driver
