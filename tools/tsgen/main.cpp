// tsgen: writes deterministic MPEG-2 transport streams for the tests and the
// demo: PAT, PMTs, PCR, MPEG-2 video and AC-3 audio for one or more programs,
// at any mux rate and length, optionally damaged on purpose, and the
// station's channel tables and programme guide when channels are named.
//
//   tsgen --out FILE [--seconds S] [--rate BITS_PER_SECOND] [--tsid N]
//         [--program NUMBER:PMT_PID[:WIDTHxHEIGHT[:VIDEO_PID:AUDIO_PID]]]...
//         [--channel MAJOR:MINOR:PROGRAM[:NAME[:hidden]]]...
//         [--guide FILE [--eits COUNT|all]] [--start UNIX_SECONDS]
//         [--damage none|no-pat|truncated|lost-sync]
//
// PIDs may be written in decimal or as 0x hex. Without --program the stream
// carries program 1 with PMT PID 0x30 (video 0x31, audio 0x34) in 1920x1080.
// Without VIDEO_PID and AUDIO_PID a program's PIDs are PMT_PID | 1 and that
// plus 3.
//
// Each --channel adds a virtual channel to the TVCT sent on the PID 0x1FFB
// with the MGT and the STT, whose clock starts at the time of generation or
// at --start (seconds since 1970-01-01 UTC, so that streams share a start);
// without --channel the stream has no such tables. NAME is the short name,
// up to 7 characters, and may hold blanks ("7:2:2:WSVN HD"); a value ending
// in ":hidden" makes the channel hidden ("33:4:4:WTTT4:hidden",
// "33:4:4::hidden" without a name). The program need not be in the stream.
//
// --guide FILE (with --channel) sends the programme guide of the guide file
// for the channels of the --channel list (the file's other channels are
// passed over): EIT-0 to EIT-3 on the PIDs 0x1D00 to 0x1D03, each the three
// hours of UTC (from 0:00, 3:00, ...) after the one before, EIT-0 the three
// hours holding the stream's start; and the programmes' descriptions in
// ETT-0 to ETT-3 on 0x1E00 to 0x1E03 (each when its hours have one); all
// listed by the MGT. A programme is placed in minutes from the STT's start
// time rounded down to the minute, and sent in the EIT whose three hours
// hold its start. A channel's source id is its program number. --eits COUNT
// sends EIT-0 to EIT-(COUNT-1) (1 to 128); --eits all as many as the
// station's last programme needs, four at least. The file's lines (see
// TestGuideFile.h for their limits):
//
//   # a comment
//   CHANNEL MAJOR MINOR
//   AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title
//   TEXT description of the programme of the AT line above

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "ChannelOption.h"
#include "TestGuideFile.h"
#include "TestStreamMuxer.h"
#include "core/ts/SystemTimeTable.h"

namespace {

int Usage(const char* problem) {
  std::cerr << "tsgen: " << problem << "\n"
            << "usage: tsgen --out FILE [--seconds S] [--rate BITS_PER_SECOND] [--tsid N]\n"
            << "             [--program NUMBER:PMT_PID[:WIDTHxHEIGHT[:VIDEO_PID:AUDIO_PID]]]...\n"
            << "             [--channel MAJOR:MINOR:PROGRAM[:NAME[:hidden]]]...\n"
            << "             [--guide FILE [--eits COUNT|all]] [--start UNIX_SECONDS]\n"
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

// GPS time (seconds since the GPS epoch, leap seconds included) of a UTC
// time in seconds since 1970; nothing before the GPS epoch or past its range.
std::optional<std::uint32_t> GpsTime(std::int64_t unixSeconds) {
  const std::int64_t gps = unixSeconds - kGpsEpochUnixSeconds + kGpsUtcOffsetSeconds;
  if (unixSeconds < kGpsEpochUnixSeconds || gps > 0xFFFFFFFF) return std::nullopt;
  return static_cast<std::uint32_t>(gps);
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
  bool eitsGiven = false;
  std::optional<std::uint32_t> start;
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
    } else if (option == "--guide") {
      std::string problem;
      settings.guide = ReadGuideFile(value, problem);
      if (!settings.guide) return Usage(problem.c_str());
    } else if (option == "--eits") {
      long count = 0;  // all
      if (value != "all") {
        count = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end || count < 1 || count > 128) {
          return Usage("bad --eits: expected a count from 1 to 128, or all");
        }
      }
      settings.eitCount = static_cast<int>(count);
      eitsGiven = true;
    } else if (option == "--start") {
      const auto gps = GpsTime(std::strtoll(value.c_str(), &end, 10));
      if (value.empty() || *end || !gps) {
        return Usage("bad --start: expected seconds since 1970 UTC, from 1980-01-06");
      }
      start = *gps;
    } else if (option == "--damage") {
      if (!ParseDamage(value, settings.damage)) return Usage("bad --damage");
    } else {
      return Usage(("unknown option " + option).c_str());
    }
  }
  if (out.empty()) return Usage("--out is required");
  if (settings.guide && settings.channels.empty()) return Usage("--guide needs the channels (--channel)");
  if (eitsGiven && !settings.guide) return Usage("--eits needs --guide");
  if (settings.programs.empty()) settings.programs.push_back(TestProgram{});
  settings.gpsStartTime = start ? *start : *GpsTime(static_cast<std::int64_t>(std::time(nullptr)));

  // The tables are made before the file is opened, so a refusal leaves an
  // existing file as it was.
  std::optional<TestStreamMuxer> muxer;
  try {
    muxer.emplace(settings);
  } catch (const std::exception& error) {
    std::cerr << "tsgen: cannot make the channel tables or the guide: " << error.what() << "\n";
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
