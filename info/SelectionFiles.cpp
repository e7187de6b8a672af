#include "info/SelectionFiles.h"

#include "core/files/FileNames.h"

namespace {

struct FieldTexts {
  const char* missingMessage;
  const char* missingField;
  const char* tooLongMessage;
};

constexpr FieldTexts kTuner{"No TUNER Selected!", "No Tuner Selected!",
                            "TUNER NAME TOO LONG FOR TUNER.TXT!"};
constexpr FieldTexts kCapture{"No CAPTURE Selected!", "No Capture Selected!",
                              "CAPTURE NAME TOO LONG FOR TUNER.TXT!"};
constexpr FieldTexts kVideo{"No VIDEO DECODER Selected!", "No Video Decoder Selected!",
                            "VIDEO DECODER NAME TOO LONG FOR DECODERS.TXT!"};
constexpr FieldTexts kAudio{"No AUDIO DECODER Selected!", "No Audio Decoder Selected!",
                            "AUDIO DECODER NAME TOO LONG FOR DECODERS.TXT!"};

constexpr const char* kTooLongField = "Name Too Long!";

// Whether the readers, which keep 99 characters of a line, get the name back.
bool FitsOneLine(const std::string& name) {
  return name.size() < kNameLineBuffer && name.find_first_of("\r\n") == std::string::npos;
}

std::optional<SelectionRefusal> CheckName(const std::optional<std::string>& name,
                                          const FieldTexts& texts, SelectionField field) {
  if (!name || name->empty()) return SelectionRefusal{texts.missingMessage, field, texts.missingField};
  if (!FitsOneLine(*name)) return SelectionRefusal{texts.tooLongMessage, field, kTooLongField};
  return std::nullopt;
}

std::optional<SelectionRefusal> CheckPair(const std::optional<std::string>& first,
                                          const FieldTexts& firstTexts,
                                          const std::optional<std::string>& second,
                                          const FieldTexts& secondTexts) {
  if (auto refusal = CheckName(first, firstTexts, SelectionField::First)) return refusal;
  return CheckName(second, secondTexts, SelectionField::Second);
}

std::string CurrentText(const char* fileName, const std::string& first, const std::string& second) {
  return std::string("Current ") + fileName + ":\n   " + first + "\n   " + second;
}

}  // namespace

std::optional<SelectionRefusal> CheckTunerSelection(const std::optional<std::string>& tuner,
                                                    const std::optional<std::string>& capture) {
  return CheckPair(tuner, kTuner, capture, kCapture);
}

std::optional<SelectionRefusal> CheckDecoderSelection(const std::optional<std::string>& video,
                                                      const std::optional<std::string>& audio) {
  return CheckPair(video, kVideo, audio, kAudio);
}

std::string CurrentTunerFileText(const std::optional<TunerNames>& file) {
  if (!file) return std::string("No ") + FileNames::kTuner + " created";
  return CurrentText(FileNames::kTuner, file->tuner, file->capture);
}

std::string CurrentDecodersFileText(const std::optional<DecoderNames>& file) {
  if (!file) return std::string("No ") + FileNames::kDecoders + " created";
  return CurrentText(FileNames::kDecoders, file->video, file->audio);
}
