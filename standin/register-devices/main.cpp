// telvstandin-devices: registers named device and filter entries into the
// Wine prefix of a test, so that the programs that list what the machine
// offers (tuners, capture devices, decoders, the suite's filters) find them.
//
// Usage: telvstandin-devices COMMAND [ARGUMENTS]
//   register-tuner NAME            a BDA network tuner
//   register-capture NAME          a BDA receiver component
//   register-tuner --virtual NAME  a virtual tuner (telvstandin-bda.dll) that
//   register-capture --virtual NAME  works when bound; each call adds one
//                                  more device, also under a name in use
//   register-decoder video NAME    an MPEG-2 video decoder (to video)
//   register-decoder audio NAME    an AC-3 audio decoder (to audio)
//   register-filter NAME           a DirectShow filter without pins
//   unregister KIND NAME           KIND: tuner, capture, video, audio, filter
//   clear                          removes every entry this tool registered
// Exit status: 0 done; 1 failed (message on stderr); 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "win/AnsiText.h"
#include "win/ComScope.h"
#include "standin/register-devices/DeviceEntries.h"

namespace {

constexpr char kUsage[] =
    "Usage: telvstandin-devices COMMAND [ARGUMENTS]\n"
    "  register-tuner NAME | register-capture NAME | register-filter NAME\n"
    "  register-tuner --virtual NAME | register-capture --virtual NAME\n"
    "  register-decoder video|audio NAME\n"
    "  unregister tuner|capture|video|audio|filter NAME\n"
    "  clear\n";

std::optional<EntryKind> KindNamed(const std::string& name) {
  if (name == "tuner") return EntryKind::Tuner;
  if (name == "capture") return EntryKind::Capture;
  if (name == "video") return EntryKind::VideoDecoder;
  if (name == "audio") return EntryKind::AudioDecoder;
  if (name == "filter") return EntryKind::Filter;
  return std::nullopt;
}

int Usage() {
  fputs(kUsage, stderr);
  return 2;
}

int Report(HRESULT hr, const std::string& what) {
  if (SUCCEEDED(hr)) return 0;
  fprintf(stderr, "telvstandin-devices: %s failed, error 0x%08lX\n", what.c_str(),
          static_cast<unsigned long>(hr));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  std::optional<EntryKind> kind;
  const char* name = nullptr;
  bool virtualDevice = false;
  if ((command == "register-tuner" || command == "register-capture") && argc == 4 &&
      std::string(argv[2]) == "--virtual") {
    kind = command == "register-tuner" ? EntryKind::Tuner : EntryKind::Capture;
    name = argv[3];
    virtualDevice = true;
  } else if (command == "clear" && argc == 2) {
    // no arguments
  } else if (command == "register-tuner" && argc == 3) {
    kind = EntryKind::Tuner, name = argv[2];
  } else if (command == "register-capture" && argc == 3) {
    kind = EntryKind::Capture, name = argv[2];
  } else if (command == "register-filter" && argc == 3) {
    kind = EntryKind::Filter, name = argv[2];
  } else if ((command == "register-decoder" || command == "unregister") && argc == 4) {
    kind = KindNamed(argv[2]);
    if (!kind || (command == "register-decoder" && *kind != EntryKind::VideoDecoder &&
                  *kind != EntryKind::AudioDecoder))
      return Usage();
    name = argv[3];
  } else {
    return Usage();
  }

  ComScope com(COINIT_MULTITHREADED);
  if (!com.Succeeded()) return Report(com.Result(), "COM initialisation");
  if (!kind) return Report(ClearEntries(), "clear");

  // A name that does not convert comes back empty.
  const std::wstring wide = Widen(name);
  if (wide.empty() || wide.find(L'\\') != std::wstring::npos) {
    fprintf(stderr, "telvstandin-devices: unusable name \"%s\"\n", name);
    return 2;
  }
  if (command == "unregister") {
    const HRESULT hr = UnregisterEntry(*kind, wide);
    if (hr == S_FALSE) fprintf(stderr, "telvstandin-devices: no entry \"%s\"\n", name);
    return Report(hr, command);
  }
  if (virtualDevice) return Report(RegisterDeviceEntry(*kind, wide), command + " --virtual");
  return Report(RegisterEntry(*kind, wide), command);
}
