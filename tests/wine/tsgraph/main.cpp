// tsgraph: drives the transport-stream filters for the Wine tests and the
// benchmark. Each command prints "name=value" lines on standard output.
//
//   tsgraph gen FILE SIZE         write a transport stream of SIZE bytes: a PAT
//                                 every 1000 packets, the others on PID 0x100
//                                 with counting payload (no zero bytes)
//   tsgraph copy SRC DST [--until BYTES] [--timeout S]
//                [--seek-after BYTES --seek-to TIME]
//                                 graph push source -> dump filter; run until
//                                 DST holds BYTES (default: SRC's size), stop;
//                                 optionally seek once while running, when the
//                                 source has read BYTES, and then run until
//                                 DST has grown by --until BYTES after the seek
//   tsgraph seek SRC TIME         duration, then SetPositions(TIME), positions
//   tsgraph load FILE             Load's result and GetCurFile's name
//   tsgraph names                 friendly names of the registered filters
// Exit status: 0 done, 1 a call failed (message on stderr), 2 bad usage.

#include "win/ComScope.h"
#include "core/ts/Crc32Mpeg.h"
#include "tests/wine/shared/GraphTestProgram.h"
#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"
#include "win/InterfaceIds.h"

#include <dshow.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

const char kTestProgramName[] = "tsgraph";

namespace {

std::int64_t FileSize(const std::wstring& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void MakePacket(std::uint64_t index, std::uint8_t* packet) {
  if (index % 1000 == 0) {
    // PAT: program 1 on PMT PID 0x1000.
    std::memset(packet, 0xFF, 188);
    const std::uint8_t head[] = {0x47, 0x40, 0x00, static_cast<std::uint8_t>(0x10 | (index / 1000 % 16)),
                                 0x00, 0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00,
                                 0x00, 0x01, 0xF0, 0x00};
    std::memcpy(packet, head, sizeof head);
    const std::uint32_t crc = Crc32Mpeg(std::span<const std::uint8_t>(packet + 5, 12));
    packet[17] = static_cast<std::uint8_t>(crc >> 24);
    packet[18] = static_cast<std::uint8_t>(crc >> 16);
    packet[19] = static_cast<std::uint8_t>(crc >> 8);
    packet[20] = static_cast<std::uint8_t>(crc);
    return;
  }
  packet[0] = 0x47;
  packet[1] = 0x01;
  packet[2] = 0x00;
  packet[3] = static_cast<std::uint8_t>(0x10 | (index % 16));
  // The packet number, then bytes that count on from it: never zero.
  for (int i = 0; i < 8; ++i) packet[4 + i] = static_cast<std::uint8_t>((index >> (56 - 8 * i)) | 1);
  for (int i = 12; i < 188; ++i) packet[i] = static_cast<std::uint8_t>((index * 7 + i) % 255 + 1);
}

int Generate(const char* file, std::uint64_t size) {
  FILE* out = std::fopen(file, "wb");
  if (out == nullptr) return Fail("open output", E_FAIL);
  std::vector<std::uint8_t> buffer(188 * 4096);
  std::uint64_t written = 0;
  std::uint64_t index = 0;
  while (written < size) {
    std::size_t fill = 0;
    while (fill < buffer.size()) MakePacket(index++, buffer.data() + (fill += 188) - 188);
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(fill, size - written));
    if (std::fwrite(buffer.data(), 1, take, out) != take) {
      std::fclose(out);
      return Fail("write", E_FAIL);
    }
    written += take;
  }
  if (std::fclose(out) != 0) return Fail("close", E_FAIL);
  std::printf("bytes=%llu\n", static_cast<unsigned long long>(written));
  return 0;
}

const char* EventName(long code) {
  switch (code) {
    case EC_ERRORABORT: return "ERRORABORT";
    case EC_COMPLETE: return "COMPLETE";
    default: return nullptr;
  }
}

struct CopyOptions {
  std::int64_t until = -1;
  double timeout = 120;
  std::int64_t seekAfter = -1;
  LONGLONG seekTo = 0;
};

int Copy(const char* source, const char* target, const CopyOptions& options) {
  const std::wstring sourceName = Wide(source);
  const std::wstring targetName = Wide(target);
  std::int64_t until = options.until >= 0 ? options.until : FileSize(sourceName);

  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> push;
  CHECK("create push source", CoCreateInstance(kTsSourceClsid, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&push)));
  CHECK("add push source", graph->AddFilter(push.Get(), L"Source"));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", push.As(&load));
  CHECK("Load", load->Load(sourceName.c_str(), nullptr));
  ComPtr<IBaseFilter> dump;
  CHECK("create dump filter", CoCreateInstance(kTsSinkClsid, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&dump)));
  CHECK("add dump filter", graph->AddFilter(dump.Get(), L"Dump"));
  ComPtr<IFileSinkFilter> sink;
  CHECK("query IFileSinkFilter", dump.As(&sink));
  CHECK("SetFileName", sink->SetFileName(targetName.c_str(), nullptr));
  ComPtr<IPin> out, in;
  CHECK("find output pin", FindPin(push.Get(), PINDIR_OUTPUT, &out));
  CHECK("find input pin", FindPin(dump.Get(), PINDIR_INPUT, &in));
  CHECK("connect", graph->ConnectDirect(out.Get(), in.Get(), nullptr));

  ComPtr<IMediaSeeking> seeking;
  CHECK("query IMediaSeeking", push.As(&seeking));
  LONGLONG zero = 0;
  CHECK("seek to start", seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr,
                                               AM_SEEKING_NoPositioning));
  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  ComPtr<IMediaEvent> events;
  CHECK("query IMediaEvent", graph.As(&events));

  const double start = Seconds();
  CHECK("Run", control->Run());
  // The dump filter created the file when the graph paused. Its size is read
  // through one handle: opening and closing the file by name at every look
  // would make ext4 start writing it back each time, and that slows the copy.
  HANDLE watch = CreateFileW(targetName.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  if (watch == INVALID_HANDLE_VALUE) return Fail("open the output file", HRESULT_FROM_WIN32(GetLastError()));
  bool seeked = options.seekAfter < 0;
  bool timedOut = false;
  for (;;) {
    LARGE_INTEGER watched{};
    GetFileSizeEx(watch, &watched);  // Stays 0 if it fails: the timeout ends the wait.
    const std::int64_t size = watched.QuadPart;
    // The seek waits for the source to have read that much (its position
    // counts read bytes at 2.3 MiB a second); what the file holds lags by
    // the dump filter's queue.
    LONGLONG readPosition = 0;
    if (!seeked && SUCCEEDED(seeking->GetPositions(&readPosition, nullptr)) &&
        static_cast<double>(readPosition) / 1e7 * 2.3 * 1048576.0 >=
            static_cast<double>(options.seekAfter)) {
      LONGLONG to = options.seekTo;
      CHECK("seek while running", seeking->SetPositions(&to, AM_SEEKING_AbsolutePositioning,
                                                        nullptr, AM_SEEKING_NoPositioning));
      seeked = true;
      // A fast source may have read far past the seek point before this
      // look: what comes after the seek is counted from here.
      until += size;
    }
    if (seeked && size >= until) break;
    if (Seconds() - start > options.timeout) {
      timedOut = true;
      break;
    }
    long code;
    LONG_PTR p1, p2;
    // Every check costs the filters some CPU under Wine: look 100 times a
    // second, which puts at most 10 ms on the measured time.
    if (events->GetEvent(&code, &p1, &p2, 10) == S_OK) {
      if (const char* name = EventName(code)) {
        std::printf("event=%s\nevent_param=0x%08lX\n", name, static_cast<unsigned long>(p1));
      }
      events->FreeEventParams(code, p1, p2);
      if (code == EC_ERRORABORT) break;
    }
  }
  LONGLONG runningPosition = 0;
  CHECK("GetPositions", seeking->GetPositions(&runningPosition, nullptr));
  CHECK("Stop", control->Stop());
  const double elapsed = Seconds() - start;
  CloseHandle(watch);
  long code;
  LONG_PTR p1, p2;
  while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    if (const char* name = EventName(code)) std::printf("event=%s\n", name);
    events->FreeEventParams(code, p1, p2);
  }
  LONGLONG position = 0, stop = 0;
  CHECK("GetPositions", seeking->GetPositions(&position, &stop));
  std::printf("bytes=%lld\nseconds=%.3f\nrunning_position=%lld\nposition=%lld\ntimedout=%d\n",
              static_cast<long long>(FileSize(targetName)), elapsed,
              static_cast<long long>(runningPosition), static_cast<long long>(position),
              timedOut ? 1 : 0);
  std::printf("mbps=%.1f\n", static_cast<double>(until) / 1e6 / elapsed);
  return timedOut ? 1 : 0;
}

int Seek(const char* source, LONGLONG to) {
  ComPtr<IBaseFilter> push;
  CHECK("create push source", CoCreateInstance(kTsSourceClsid, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&push)));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", push.As(&load));
  CHECK("Load", load->Load(Wide(source).c_str(), nullptr));
  ComPtr<IMediaSeeking> seeking;
  CHECK("query IMediaSeeking", push.As(&seeking));
  LONGLONG duration = 0;
  CHECK("GetDuration", seeking->GetDuration(&duration));
  CHECK("SetPositions", seeking->SetPositions(&to, AM_SEEKING_AbsolutePositioning, nullptr,
                                              AM_SEEKING_NoPositioning));
  LONGLONG position = 0, stop = 0;
  CHECK("GetPositions", seeking->GetPositions(&position, &stop));
  std::printf("duration=%lld\nposition=%lld\nstop=%lld\n", static_cast<long long>(duration),
              static_cast<long long>(position), static_cast<long long>(stop));
  return 0;
}

int Load(const char* file) {
  ComPtr<IBaseFilter> push;
  CHECK("create push source", CoCreateInstance(kTsSourceClsid, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&push)));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", push.As(&load));
  const HRESULT hr = load->Load(Wide(file).c_str(), nullptr);
  std::printf("load=0x%08lX\n", static_cast<unsigned long>(hr));
  LPOLESTR name = nullptr;
  AM_MEDIA_TYPE mt;
  CHECK("GetCurFile", load->GetCurFile(&name, &mt));
  char text[MAX_PATH * 2] = "";
  if (name != nullptr) {
    WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, nullptr, nullptr);
    CoTaskMemFree(name);
  }
  std::printf("curfile=%s\n", text);
  return 0;
}

int Names() {
  ComPtr<ICreateDevEnum> devices;
  CHECK("create device enumerator", CoCreateInstance(CLSID_SystemDeviceEnum, nullptr,
                                                     CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices)));
  ComPtr<IEnumMoniker> monikers;
  const HRESULT hr = devices->CreateClassEnumerator(CLSID_LegacyAmFilterCategory, &monikers, 0);
  CHECK("enumerate filters", hr);
  if (hr != S_OK) return 0;  // S_FALSE: the category is empty.
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, &moniker, nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) {
      UniqueVariant name;
      if (SUCCEEDED(bag->Read(L"FriendlyName", name.Put(), nullptr)) && name->vt == VT_BSTR) {
        char text[256];
        WideCharToMultiByte(CP_ACP, 0, name->bstrVal, -1, text, sizeof text, nullptr, nullptr);
        std::printf("filter=%s\n", text);
      }
    }
    moniker.Reset();
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tsgraph gen FILE SIZE | copy SRC DST [--until BYTES] [--timeout S]"
               " [--seek-after BYTES --seek-to TIME] | seek SRC TIME | load FILE | names\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "gen" && argc == 4) return Generate(argv[2], std::strtoull(argv[3], nullptr, 0));

  ComScope com;
  if (!com.Succeeded()) return Fail("CoInitializeEx", com.Result());
  if (command == "copy" && argc >= 4) {
    CopyOptions options;
    for (int i = 4; i + 1 < argc; i += 2) {
      const std::string option = argv[i];
      if (option == "--until") options.until = std::strtoll(argv[i + 1], nullptr, 0);
      else if (option == "--timeout") options.timeout = std::strtod(argv[i + 1], nullptr);
      else if (option == "--seek-after") options.seekAfter = std::strtoll(argv[i + 1], nullptr, 0);
      else if (option == "--seek-to") options.seekTo = std::strtoll(argv[i + 1], nullptr, 0);
      else return Usage();
    }
    return Copy(argv[2], argv[3], options);
  }
  if (command == "seek" && argc == 4) return Seek(argv[2], std::strtoll(argv[3], nullptr, 0));
  if (command == "load" && argc == 3) return Load(argv[2]);
  if (command == "names" && argc == 2) return Names();
  return Usage();
}
