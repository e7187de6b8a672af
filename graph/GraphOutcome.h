#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "graph/GraphMessages.h"

// What a graph operation gives back instead of opening windows: its result
// (an HRESULT: negative is a failure) and the messages for the user, in the
// order they are to be shown. A success may carry messages too (a step that
// failed without ending the build); the program shows them, logs them, or
// both.
struct GraphOutcome {
  std::int32_t result = 0;
  std::vector<GraphMessage> messages;

  bool Failed() const { return result < 0; }
  bool Succeeded() const { return result >= 0; }

  // A result without messages.
  static GraphOutcome Result(std::int32_t result) { return GraphOutcome{result, {}}; }

  // A failure with one message.
  static GraphOutcome Failure(std::int32_t result, GraphMessage message) {
    GraphOutcome outcome{result, {}};
    outcome.messages.push_back(std::move(message));
    return outcome;
  }

  // Adds another operation's messages after this one's.
  void Append(const GraphOutcome& later) {
    messages.insert(messages.end(), later.messages.begin(), later.messages.end());
  }
};
