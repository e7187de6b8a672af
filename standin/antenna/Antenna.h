#pragma once

// The virtual antenna: which RF channels reach the stand-in tuner, how
// strong each is, which transport-stream file it carries and which program of
// that stream carries each major-minor channel.
//
// File format (plain text, one statement a line; blank lines and lines that
// begin with '#' are ignored; keywords in any case):
//
//   RF <physical> SIGNAL <strength> FILE <transport-stream file>
//   CHANNEL <major> <minor> PROGRAM <program number> [NAME <short name>]
//
// - RF opens an RF channel; the CHANNEL lines after it belong to it. The file
//   name is the rest of the line (it may hold blanks); a relative name is
//   relative to the folder of the antenna file.
// - <strength> is the raw number the tuner reports as its signal strength
//   (any integer: some tuner models report negative values).
// - <physical> 1 to 999, <major> 1 to 9999, <minor> 0 to 999, <program
//   number> 1 to 65535.
// - The short name, as the station announces the channel, is the rest of the
//   line after NAME without the blanks around it (it may hold blanks): 1 to
//   7 characters, counted as UTF-16 characters of UTF-8 text.
//
//   # RF 7 carries 7-1 and 7-2
//   RF 7 SIGNAL 80 FILE rf7.ts
//   CHANNEL 7 1 PROGRAM 1 NAME WSVN
//   CHANNEL 7 2 PROGRAM 2 NAME WSVN HD
//
// The reader is lenient: a bad line is reported with its number and skipped,
// the rest of the file still counts. A second RF line for the same physical
// channel (with the CHANNEL lines that follow it), or a second CHANNEL line
// for the same major-minor on one RF channel, is reported and ignored (the
// first one stays).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct AntennaChannel {
  int major = 0;
  int minor = 0;
  std::uint16_t programNumber = 0;
  std::string shortName;  // UTF-8; empty when the line names none
};

struct AntennaRf {
  int physical = 0;
  int signal = 0;
  std::string file;  // as written, or resolved by ResolveFiles
  std::vector<AntennaChannel> channels;  // in file order
};

// What tuning a physical channel and a major-minor channel gets.
struct AntennaTuning {
  bool carried = false;        // the antenna receives this RF channel
  int signal = 0;              // its strength; 0 when not carried
  std::string file;            // its transport stream; empty when not carried
  std::uint16_t programNumber = 0;  // 0: no program selected
};

class Antenna {
 public:
  // Parses the whole text; `errors` gets one message per rejected line,
  // "line N: ...".
  static Antenna Parse(std::string_view text, std::vector<std::string>& errors);

  // Makes every relative file name relative to the folder of `antennaPath`
  // (Windows or Unix separators).
  void ResolveFiles(std::string_view antennaPath);

  // A major channel of -1 (or below 1) selects the RF channel's first
  // program; a major-minor that the RF channel does not list selects none,
  // though the stream is still delivered, as a real tuner would.
  AntennaTuning Tune(int physical, int major, int minor) const;

  const std::vector<AntennaRf>& RfChannels() const { return rfChannels; }

 private:
  std::vector<AntennaRf> rfChannels;
};

// The file name joined to the folder of `basePath`, unless it is absolute
// (a drive letter, a leading separator or a UNC name).
std::string ResolveRelativeTo(std::string_view basePath, std::string_view file);

}  // namespace standin
