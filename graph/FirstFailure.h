#pragma once

// Which failures of an operation repeated on a timer are worth telling the
// user: the first of a run of failures, not the ones that follow it, until a
// success starts over.
class FirstFailure {
 public:
  // Takes the result of one attempt; true for a failure to tell.
  bool Report(bool failed) {
    const bool tell = failed && !failing;
    failing = failed;
    return tell;
  }

  void Reset() { failing = false; }

 private:
  bool failing = false;
};
