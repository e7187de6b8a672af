// Screen capture for the end-to-end tests: copies an area of the desktop as
// it is shown (video renderers included) into a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

// The whole desktop: the virtual desktop's size when run inside one.
RECT DesktopRect();

// Writes the part of the screen inside `area` (clipped to the desktop) to
// `path`. Returns false and fills `error` when the area is empty, the screen
// cannot be read or the file cannot be written.
bool WriteScreenshot(const std::string& path, RECT area, std::string& error);

}  // namespace driver
