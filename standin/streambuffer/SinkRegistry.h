#pragma once
// How a stream-buffer source finds the sink it plays from: a sink answers a
// private interface with its core, and the profiles locked in this process
// are listed by their stub file's name, so that a source can also load the
// stub file of a live sink.

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <string>

namespace standin {

class SinkCore;

// {6E5C3A61-2F4B-4C8E-9D1A-7B2E4F60C915}
struct DECLSPEC_UUID("6E5C3A61-2F4B-4C8E-9D1A-7B2E4F60C915") IStandinStreamBufferSink : public IUnknown {
  virtual std::shared_ptr<SinkCore> STDMETHODCALLTYPE Core() = 0;
};
inline constexpr GUID IID_IStandinStreamBufferSink = {
    0x6e5c3a61, 0x2f4b, 0x4c8e, {0x9d, 0x1a, 0x7b, 0x2e, 0x4f, 0x60, 0xc9, 0x15}};

void RegisterLockedProfile(const std::wstring& stubPath, const std::shared_ptr<SinkCore>& core);
void UnregisterLockedProfile(const std::wstring& stubPath);
// The sink whose profile is locked under `stubPath`, if it is still there.
std::shared_ptr<SinkCore> FindLockedProfile(const std::wstring& stubPath);

// Whether two paths name the same file (case and slashes aside).
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace standin

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(standin::IStandinStreamBufferSink, 0x6e5c3a61, 0x2f4b, 0x4c8e, 0x9d, 0x1a, 0x7b,
                0x2e, 0x4f, 0x60, 0xc9, 0x15)
#endif
