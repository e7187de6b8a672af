#pragma once
// The stand-in stream-buffer configuration (CLSID_StreamBufferConfig): the
// backing-file folder, count and duration, kept in the registry key the
// program hands it and for the rest of the process (see BufferSettings.h).

#include "dshow/StreamBufferInterfaces.h"
#include "standin/streambuffer/BufferSettings.h"
#include "win/ComObject.h"
#include "win/UniqueHandle.h"

#include <mutex>

namespace standin {

class ConfigObject final : public ComObject<IStreamBufferConfigure3, IStreamBufferInitialize> {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  // IStreamBufferConfigure
  STDMETHODIMP SetDirectory(LPCWSTR directory) override;
  STDMETHODIMP GetDirectory(LPWSTR* directory) override;
  STDMETHODIMP SetBackingFileCount(DWORD minimum, DWORD maximum) override;
  STDMETHODIMP GetBackingFileCount(DWORD* minimum, DWORD* maximum) override;
  STDMETHODIMP SetBackingFileDuration(DWORD seconds) override;
  STDMETHODIMP GetBackingFileDuration(DWORD* seconds) override;

  // IStreamBufferConfigure2
  STDMETHODIMP SetMultiplexedPacketSize(DWORD bytesPerPacket) override;
  STDMETHODIMP GetMultiplexedPacketSize(DWORD* bytesPerPacket) override;
  STDMETHODIMP SetFFTransitionRates(DWORD maxFullFrameRate, DWORD maxNonSkippingRate) override;
  STDMETHODIMP GetFFTransitionRates(DWORD* maxFullFrameRate, DWORD* maxNonSkippingRate) override;

  // IStreamBufferConfigure3
  STDMETHODIMP SetStartRecConfig(BOOL startStopsCurrent) override;
  STDMETHODIMP GetStartRecConfig(BOOL* startStopsCurrent) override;
  STDMETHODIMP SetNamespace(LPWSTR name) override;
  STDMETHODIMP GetNamespace(LPWSTR* name) override;

  // IStreamBufferInitialize
  STDMETHODIMP SetHKEY(HKEY key) override;
  STDMETHODIMP SetSIDs(DWORD count, PSID* sids) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  ConfigObject() : settings(ProcessBufferSettings()) {}
  HRESULT Keep();

  std::mutex lock;
  UniqueHkey key;
  BufferSettings settings;
  // Kept for the Get methods only: the stand-in's writer and reader have no
  // use for them.
  DWORD packetSize = 0;
  DWORD maxFullFrameRate = 0;
  DWORD maxNonSkippingRate = 0;
  BOOL startStopsCurrent = FALSE;
};

}  // namespace standin
