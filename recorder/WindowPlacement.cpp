#include "recorder/WindowPlacement.h"

Point PlaceBesideTaskbar(const Rect& taskbar, Size screen, Size window) {
  if (taskbar.top >= 1) return {screen.width - window.width, taskbar.top - window.height};
  if (taskbar.bottom < screen.height) return {screen.width - window.width, taskbar.bottom};
  if (taskbar.right < screen.width) return {taskbar.right, screen.height - window.height};
  if (taskbar.left > 0) return {taskbar.left - window.width, screen.height - window.height};
  return {screen.width - window.width, screen.height - window.height};  // no taskbar found
}
