// tsgen: writes deterministic MPEG-2 transport streams for the tests and the
// demo: PAT, PMTs, PCR, MPEG-2 video and AC-3 audio for one or more programs,
// at any mux rate and length, optionally damaged on purpose, and the
// station's channel tables when channels are named.
//
//   tsgen --out FILE [--seconds S] [--rate BITS_PER_SECOND] [--tsid N]
//         [--program NUMBER:PMT_PID[:WIDTHxHEIGHT[:VIDEO_PID:AUDIO_PID]]]...
//         [--channel MAJOR:MINOR:PROGRAM[:NAME[:hidden]]]...
//         [--damage none|no-pat|truncated|lost-sync]
//
// PIDs may be written in decimal or as 0x hex. Without --program the stream
// carries program 1 with PMT PID 0x30 (video 0x31, audio 0x34) in 1920x1080.
// Without VIDEO_PID and AUDIO_PID a program's PIDs are PMT_PID | 1 and that
// plus 3.
//
// Each --channel adds a virtual channel to the TVCT sent on the PID 0x1FFB
// with the MGT and the STT (whose clock starts at the time of generation);
// without --channel the stream has no such tables. NAME is the short name,
// up to 7 characters, and may hold blanks ("7:2:2:WSVN HD"); a value ending
// in ":hidden" makes the channel hidden ("33:4:4:WTTT4:hidden",
// "33:4:4::hidden" without a name). The program need not be in the stream.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "ChannelOption.h"
#include "TestStreamMuxer.h"
#include "core/ts/SystemTimeTable.h"

namespace {

int Usage(const char* problem) {
  std::cerr << "tsgen: " << problem << "\n"
            << "usage: tsgen --out FILE [--seconds S] [--rate BITS_PER_SECOND] [--tsid N]\n"
            << "             [--program NUMBER:PMT_PID[:WIDTHxHEIGHT[:VIDEO_PID:AUDIO_PID]]]...\n"
            << "             [--channel MAJOR:MINOR:PROGRAM[:NAME[:hidden]]]...\n"
            << "             [--damage none|no-pat|truncated|lost-sync]\n";
  return 2;
}

bool ParseProgram(const std::string& text, TestProgram& program) {
  unsigned number = 0;
  int pid = 0, width = 0, height = 0, video = 0, audio = 0;
  const int fields = std::sscanf(text.c_str(), "%u:%i:%dx%d:%i:%i", &number, &pid, &width,
                                 &height, &video, &audio);
  if (fields != 2 && fields != 4 && fields != 6) return false;
  if (number == 0 || number > 0xFFFF || pid < 0x20 || pid > 0x1FF0) return false;
  program.programNumber = static_cast<std::uint16_t>(number);
  program.pmtPid = static_cast<std::uint16_t>(pid);
  if (fields == 6) {
    const auto usable = [&](int p) { return p >= 0x20 && p <= 0x1FF0 && p != pid; };
    if (!usable(video) || !usable(audio) || video == audio) return false;
    program.videoPid = static_cast<std::uint16_t>(video);
    program.audioPid = static_cast<std::uint16_t>(audio);
  }
  if (fields >= 4) {
    if (width < 16 || height < 16 || width > 4095 || height > 2800) return false;
    program.width = width;
    program.height = height;
    program.wide = width * 3 > height * 4;
  }
  return true;
}

// The GPS time now: seconds since the GPS epoch, leap seconds included.
std::uint32_t GpsTimeNow() {
  const auto unixNow = static_cast<std::int64_t>(std::time(nullptr));
  return static_cast<std::uint32_t>(unixNow - kGpsEpochUnixSeconds + kGpsUtcOffsetSeconds);
}

bool IsListed(const std::vector<TestChannel>& channels, const TestChannel& channel) {
  for (const TestChannel& c : channels) {
    if (c.major == channel.major && c.minor == channel.minor) return true;
  }
  return false;
}

bool ParseDamage(const std::string& text, StreamDamage& damage) {
  if (text == "none") damage = StreamDamage::None;
  else if (text == "no-pat") damage = StreamDamage::NoPat;
  else if (text == "truncated") damage = StreamDamage::TruncatedPackets;
  else if (text == "lost-sync") damage = StreamDamage::LostSync;
  else return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TestStreamSettings settings;
  settings.programs.clear();
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage(("missing value after " + option).c_str());
    const std::string value = argv[++i];
    char* end = nullptr;
    if (option == "--out") {
      out = value;
    } else if (option == "--seconds") {
      settings.seconds = std::strtod(value.c_str(), &end);
      if (*end || settings.seconds <= 0) return Usage("bad --seconds");
    } else if (option == "--rate") {
      settings.muxRate = std::strtoull(value.c_str(), &end, 10);
      if (*end || settings.muxRate < 100000) return Usage("bad --rate");
    } else if (option == "--tsid") {
      settings.transportStreamId = static_cast<std::uint16_t>(std::strtoul(value.c_str(), &end, 0));
      if (*end) return Usage("bad --tsid");
    } else if (option == "--program") {
      TestProgram program;
      if (!ParseProgram(value, program)) return Usage("bad --program");
      settings.programs.push_back(program);
    } else if (option == "--channel") {
      std::string problem;
      const auto channel = ParseChannelOption(value, problem);
      if (!channel) return Usage(problem.c_str());
      if (IsListed(settings.channels, *channel)) {
        return Usage(("channel " + std::to_string(channel->major) + "-" +
                      std::to_string(channel->minor) + " is given twice").c_str());
      }
      settings.channels.push_back(*channel);
    } else if (option == "--damage") {
      if (!ParseDamage(value, settings.damage)) return Usage("bad --damage");
    } else {
      return Usage(("unknown option " + option).c_str());
    }
  }
  if (out.empty()) return Usage("--out is required");
  if (settings.programs.empty()) settings.programs.push_back(TestProgram{});
  settings.gpsStartTime = GpsTimeNow();

  // The tables are made before the file is opened, so a refusal leaves an
  // existing file as it was.
  std::optional<TestStreamMuxer> muxer;
  try {
    muxer.emplace(settings);
  } catch (const std::exception& error) {
    std::cerr << "tsgen: cannot make the channel tables: " << error.what() << "\n";
    return 1;
  }
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  if (!file) {
    std::cerr << "tsgen: cannot write " << out << "\n";
    return 1;
  }
  const bool inTime = muxer->Write([&](const std::uint8_t* data, std::size_t size) {
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  });
  file.close();
  if (!file) {
    std::cerr << "tsgen: writing " << out << " failed\n";
    return 1;
  }
  if (!inTime) {
    std::cerr << "tsgen: the programs need more than the mux rate of " << settings.muxRate
              << " bit/s; use fewer or smaller programs or a higher --rate\n";
    return 1;
  }
  return 0;
}
