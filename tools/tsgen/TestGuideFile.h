#pragma once

#include <istream>
#include <optional>
#include <string>

#include "TestGuide.h"

// Reads tsgen's guide file (--guide), UTF-8 text of lines:
//
//   # a comment (blank lines are skipped as well)
//   CHANNEL MAJOR MINOR
//   AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title
//   TEXT description
//
// CHANNEL names the virtual channel (major 1-999, minor 0-999) whose
// programmes follow; a channel may be named again further down. AT places a
// programme START minutes (0 to 20160, two weeks) after the stream's start
// time rounded down to the minute, LENGTH minutes long (1 to 17476); with
// EVERY and TIMES it is shown COUNT times (1 to 1000), PERIOD minutes apart
// (at least its length). The title is the rest of the line, 1 to 80
// characters. A TEXT line right after an AT line gives that programme's
// description (up to 1000 characters, every showing the same). Programmes of
// a channel must not overlap. Keywords are upper case; numbers are decimal.

// Nothing when the text is bad; `problem` then names the line and says why.
// `name` is the file's name, used in the problem.
std::optional<TestGuide> ParseGuide(std::istream& text, const std::string& name, std::string& problem);

// The guide in the file at `path`; nothing, and why, when it cannot be read
// or is bad.
std::optional<TestGuide> ReadGuideFile(const std::string& path, std::string& problem);
