#pragma once
// The stream-buffer engine's interfaces. mingw-w64 ships sbe.h without them,
// so they are declared here with the platform's layouts and ids (the ids
// themselves come from libstrmiids; __uuidof is given for ComPtr::As and
// IID_PPV_ARGS). The Windows SDK's sbe.h declares the same interfaces.

#include <windows.h>
#include <strmif.h>

// CreateRecorder's record types.
constexpr DWORD kRecordingTypeContent = 0;    // a recording that owns its data
constexpr DWORD kRecordingTypeReference = 1;  // a recording that points into the buffer

extern "C" const IID IID_IStreamBufferInitialize;
extern "C" const IID IID_IStreamBufferSink;
extern "C" const IID IID_IStreamBufferSource;
extern "C" const IID IID_IStreamBufferRecordControl;
extern "C" const IID IID_IStreamBufferConfigure;
extern "C" const IID IID_IStreamBufferMediaSeeking;

struct IStreamBufferInitialize : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetHKEY(HKEY key) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSIDs(DWORD count, PSID* sids) = 0;
};

struct IStreamBufferSink : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE LockProfile(LPCWSTR fileName) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateRecorder(LPCWSTR fileName, DWORD recordType,
                                                   IUnknown** recorder) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsProfileLocked() = 0;
};

struct IStreamBufferSource : public IUnknown {
  // The sink's IStreamBufferSink itself: the engine calls it as one.
  virtual HRESULT STDMETHODCALLTYPE SetStreamSink(IStreamBufferSink* sink) = 0;
};

struct IStreamBufferRecordControl : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Start(REFERENCE_TIME* start) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop(REFERENCE_TIME stop) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRecordingStatus(HRESULT* result, BOOL* started,
                                                       BOOL* stopped) = 0;
};

struct IStreamBufferConfigure : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetDirectory(LPCWSTR directory) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDirectory(LPWSTR* directory) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBackingFileCount(DWORD minimum, DWORD maximum) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBackingFileCount(DWORD* minimum, DWORD* maximum) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBackingFileDuration(DWORD seconds) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBackingFileDuration(DWORD* seconds) = 0;
};

// The configuration's later versions (Windows XP Media Center 2005 and
// Windows Vista). Their ids are not in mingw-w64's libstrmiids: code asks
// for them by __uuidof.
struct IStreamBufferConfigure2 : public IStreamBufferConfigure {
  virtual HRESULT STDMETHODCALLTYPE SetMultiplexedPacketSize(DWORD bytesPerPacket) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMultiplexedPacketSize(DWORD* bytesPerPacket) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFFTransitionRates(DWORD maxFullFrameRate,
                                                         DWORD maxNonSkippingRate) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFFTransitionRates(DWORD* maxFullFrameRate,
                                                         DWORD* maxNonSkippingRate) = 0;
};

struct IStreamBufferConfigure3 : public IStreamBufferConfigure2 {
  virtual HRESULT STDMETHODCALLTYPE SetStartRecConfig(BOOL startStopsCurrent) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStartRecConfig(BOOL* startStopsCurrent) = 0;
  // Where the engine's reader and writer synchronisation objects are made:
  // null for the session's own namespace (the "Global" default needs
  // administrator rights since Windows Vista).
  virtual HRESULT STDMETHODCALLTYPE SetNamespace(LPWSTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNamespace(LPWSTR* name) = 0;
};

// IMediaSeeking on the stream-buffer source, under its own id.
struct IStreamBufferMediaSeeking : public IMediaSeeking {};

#if defined(__MINGW32__) && defined(__CRT_UUID_DECL)
__CRT_UUID_DECL(IStreamBufferInitialize, 0x9ce50f2d, 0x6ba7, 0x40fb, 0xa0, 0x34, 0x50, 0xb1, 0xa6,
                0x74, 0xec, 0x78)
__CRT_UUID_DECL(IStreamBufferSink, 0xafd1f242, 0x7efd, 0x45ee, 0xba, 0x4e, 0x40, 0x7a, 0x25, 0xc9,
                0xa7, 0x7a)
__CRT_UUID_DECL(IStreamBufferSource, 0x1c5bd776, 0x6ced, 0x4f44, 0x81, 0x64, 0x5e, 0xab, 0x0e,
                0x98, 0xdb, 0x12)
__CRT_UUID_DECL(IStreamBufferRecordControl, 0xba9b6c99, 0xf3c7, 0x4ff2, 0x92, 0xdb, 0xcf, 0xdd,
                0x48, 0x51, 0xbf, 0x31)
__CRT_UUID_DECL(IStreamBufferConfigure, 0xce14dfae, 0x4098, 0x4af7, 0xbb, 0xf7, 0xd6, 0x51, 0x1f,
                0x83, 0x54, 0x14)
__CRT_UUID_DECL(IStreamBufferConfigure2, 0x53e037bf, 0x3992, 0x4282, 0xae, 0x34, 0x24, 0x87, 0xb4,
                0xda, 0xe0, 0x6b)
__CRT_UUID_DECL(IStreamBufferConfigure3, 0x7e2d2a1e, 0x7192, 0x4bd7, 0x80, 0xc1, 0x06, 0x1f, 0xd1,
                0xd1, 0x04, 0x02)
__CRT_UUID_DECL(IStreamBufferMediaSeeking, 0xf61f5c26, 0x863d, 0x4afa, 0xb0, 0xba, 0x2f, 0x81,
                0xdc, 0x97, 0x85, 0x96)
#endif
