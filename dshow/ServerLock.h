#pragma once
// Counts live objects and LockServer calls of an in-process server, so that
// DllCanUnloadNow answers truthfully.

#include <atomic>

namespace dshow {

class ServerLock {
 public:
  static void Increment() noexcept { count.fetch_add(1); }
  static void Decrement() noexcept { count.fetch_sub(1); }
  static bool IsLocked() noexcept { return count.load() != 0; }

 private:
  static inline std::atomic<long> count{0};
};

// Keeps the server loaded for as long as the object that holds it lives.
class ServerReference {
 public:
  ServerReference() noexcept { ServerLock::Increment(); }
  ~ServerReference() { ServerLock::Decrement(); }
  ServerReference(const ServerReference&) = delete;
  ServerReference& operator=(const ServerReference&) = delete;
};

}  // namespace dshow
