#pragma once

#include <string>
#include <string_view>

// The failure messages of graph building and tuning, each with the message
// box style it is shown in. Every box is modal and has no owner window.
enum class BoxStyle {
  Exclamation,  // exclamation icon, no caption
  ErrorCaption, // caption "Error", OK button, no icon
  Plain,        // OK button only: no caption, no icon
};

struct GraphMessage {
  std::string text;
  BoxStyle style = BoxStyle::Exclamation;

  friend bool operator==(const GraphMessage&, const GraphMessage&) = default;
};

inline GraphMessage Exclaim(std::string_view text) { return {std::string(text), BoxStyle::Exclamation}; }
inline GraphMessage ErrorBox(std::string_view text) { return {std::string(text), BoxStyle::ErrorCaption}; }
inline GraphMessage PlainBox(std::string_view text) { return {std::string(text), BoxStyle::Plain}; }

// "CAN'T LOAD " and the decoder name of decoders.txt.
inline GraphMessage CantLoadDecoder(std::string_view name) {
  return Exclaim(std::string("CAN'T LOAD ") + std::string(name));
}
