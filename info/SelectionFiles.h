#pragma once

#include <optional>
#include <string>

#include "core/files/TunerFiles.h"

// The rules for writing tuner.txt and decoders.txt from the dialog's
// selections, and how their current content is shown.

// Which of the pair's two fields a refusal concerns: the tuner or video
// decoder field, or the capture or audio decoder field.
enum class SelectionField { First, Second };

struct SelectionRefusal {
  std::string message;    // shown in a plain message box
  SelectionField field;
  std::string fieldText;  // shown in the refused field
};

// A selection is a list line that names a device; nothing when no line is
// chosen or the list holds only its "not found" lines. A name is refused when
// missing, or when its file's readers could not take it back whole (longer
// than 99 characters or holding a line end).
std::optional<SelectionRefusal> CheckTunerSelection(const std::optional<std::string>& tuner,
                                                    const std::optional<std::string>& capture);
std::optional<SelectionRefusal> CheckDecoderSelection(const std::optional<std::string>& video,
                                                      const std::optional<std::string>& audio);

// "Current tuner.txt:\n   <tuner>\n   <capture>", or "No tuner.txt created"
// when the file cannot be read.
std::string CurrentTunerFileText(const std::optional<TunerNames>& file);

// The same for decoders.txt.
std::string CurrentDecodersFileText(const std::optional<DecoderNames>& file);
