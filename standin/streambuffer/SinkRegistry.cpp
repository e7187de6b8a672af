#include "standin/streambuffer/SinkRegistry.h"

#include <map>
#include <mutex>

namespace standin {

namespace {

std::mutex registryLock;
std::map<std::wstring, std::weak_ptr<SinkCore>>& Profiles() {
  static std::map<std::wstring, std::weak_ptr<SinkCore>> profiles;
  return profiles;
}

std::wstring Normal(const std::wstring& path) {
  std::wstring normal = path;
  for (wchar_t& c : normal) c = c == L'/' ? L'\\' : static_cast<wchar_t>(towlower(c));
  return normal;
}

}  // namespace

bool SamePath(const std::wstring& a, const std::wstring& b) { return Normal(a) == Normal(b); }

void RegisterLockedProfile(const std::wstring& stubPath, const std::shared_ptr<SinkCore>& core) {
  std::lock_guard guard(registryLock);
  Profiles()[Normal(stubPath)] = core;
}

void UnregisterLockedProfile(const std::wstring& stubPath) {
  std::lock_guard guard(registryLock);
  Profiles().erase(Normal(stubPath));
}

std::shared_ptr<SinkCore> FindLockedProfile(const std::wstring& stubPath) {
  std::lock_guard guard(registryLock);
  const auto found = Profiles().find(Normal(stubPath));
  return found == Profiles().end() ? nullptr : found->second.lock();
}

}  // namespace standin
