#pragma once
// The check made when the user chooses a folder for recordings: it must
// exist and take a new file, so that a recording does not fail later, when
// it starts, for a reason known now.

#include <filesystem>
#include <optional>
#include <string>

// The message that refuses the folder, or nothing when it can be used:
// "FOLDER DOES NOT EXIST" or "CAN'T WRITE TO THIS FOLDER". Writing is tried
// with a small file that is removed again at once.
std::optional<std::string> RecordingFolderProblem(const std::filesystem::path& folder);
