// tsgen: writes deterministic MPEG-2 transport streams for the tests and the
// demo: PAT, PMTs, PCR, MPEG-2 video and AC-3 audio for one or more programs,
// at any mux rate and length, optionally damaged on purpose.
//
//   tsgen --out FILE [--seconds S] [--rate BITS_PER_SECOND] [--tsid N]
//         [--program NUMBER:PMT_PID[:WIDTHxHEIGHT[:VIDEO_PID:AUDIO_PID]]]...
//         [--damage none|no-pat|truncated|lost-sync]
//
// PIDs may be written in decimal or as 0x hex. Without --program the stream
// carries program 1 with PMT PID 0x30 (video 0x31, audio 0x34) in 1920x1080.
// Without VIDEO_PID and AUDIO_PID a program's PIDs are PMT_PID | 1 and that
// plus 3.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "TestStreamMuxer.h"

namespace {

int Usage(const char* problem) {
  std::cerr << "tsgen: " << problem << "\n"
            << "usage: tsgen --out FILE [--seconds S] [--rate BITS_PER_SECOND] [--tsid N]\n"
            << "             [--program NUMBER:PMT_PID[:WIDTHxHEIGHT[:VIDEO_PID:AUDIO_PID]]]...\n"
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
    } else if (option == "--damage") {
      if (!ParseDamage(value, settings.damage)) return Usage("bad --damage");
    } else {
      return Usage(("unknown option " + option).c_str());
    }
  }
  if (out.empty()) return Usage("--out is required");
  if (settings.programs.empty()) settings.programs.push_back(TestProgram{});

  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  if (!file) {
    std::cerr << "tsgen: cannot write " << out << "\n";
    return 1;
  }
  TestStreamMuxer muxer(settings);
  const bool inTime = muxer.Write([&](const std::uint8_t* data, std::size_t size) {
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
