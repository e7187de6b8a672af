#include "core/guide/GuideFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <tuple>

#include "core/files/DecimalNumber.h"
#include "core/files/FileNames.h"
#include "core/files/TextFiles.h"

namespace {

constexpr std::size_t kFields = 7;
// The last second of year 9999, UTC: starts beyond it are no dates at all.
constexpr std::int64_t kLatestStart = 253402300799;

bool IsStorable(const GuideProgramme& p) {
  return p.major >= 0 && p.major <= kMaxGuideChannelNumber && p.minor >= 0 &&
         p.minor <= kMaxGuideChannelNumber && p.startUtc >= 0 && p.startUtc <= kLatestStart;
}

// The escaped form of one byte, or empty when it stands for itself.
std::string_view EscapeOf(char c) {
  switch (c) {
    case '\\': return "\\\\";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: return {};
  }
}

// The text escaped, cut to at most maxLength bytes before an escape or a
// UTF-8 character that would cross the limit.
std::string Escaped(std::string_view text, std::size_t maxLength) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    // A UTF-8 character is its lead byte and the continuation bytes after it.
    std::size_t next = i + 1;
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
    }
    const std::string_view escape = EscapeOf(text[i]);
    const std::string_view unit = escape.empty() ? text.substr(i, next - i) : escape;
    if (out.size() + unit.size() > maxLength) break;
    out += unit;
    i = next;
  }
  return out;
}

std::optional<std::string> Unescaped(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

// One line as a programme, or the reason it is not one.
std::optional<std::string> ParseLine(std::string_view line, GuideProgramme& p) {
  std::array<std::string_view, kFields> fields;
  std::size_t count = 0;
  for (std::size_t from = 0;;) {
    const std::size_t tab = line.find('\t', from);
    if (count == kFields) return "more than 7 fields";
    fields[count++] = line.substr(from, tab == std::string_view::npos ? tab : tab - from);
    if (tab == std::string_view::npos) break;
    from = tab + 1;
  }
  if (count != kFields) return std::to_string(count) + " fields, 7 expected";
  std::uint32_t eventId = 0;
  if (!ReadDecimalNumber(fields[0], 0, kMaxGuideChannelNumber, p.major) ||
      !ReadDecimalNumber(fields[1], 0, kMaxGuideChannelNumber, p.minor) ||
      !ReadDecimalNumber(fields[2], std::uint32_t{0}, std::uint32_t{0xFFFF}, eventId) ||
      !ReadDecimalNumber(fields[3], std::int64_t{0}, kLatestStart, p.startUtc) ||
      !ReadDecimalNumber(fields[4], std::uint32_t{0}, std::uint32_t{0xFFFFFFFF}, p.lengthSeconds))
    return "a number is missing or out of range";
  p.eventId = static_cast<std::uint16_t>(eventId);
  auto title = Unescaped(fields[5]);
  auto description = Unescaped(fields[6]);
  if (!title || !description) return "unknown escape";
  p.title = std::move(*title);
  p.description = std::move(*description);
  return std::nullopt;
}

enum class LineRead { Line, End, TooLong };

// Reads one line of at most kMaxGuideLineLength bytes, never holding more.
LineRead ReadBoundedLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) return line.empty() ? LineRead::End : LineRead::Line;
    if (c == '\n') break;
    if (line.size() == kMaxGuideLineLength + 1) return LineRead::TooLong;  // room for a final '\r'
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line.size() > kMaxGuideLineLength ? LineRead::TooLong : LineRead::Line;
}

}  // namespace

GuideFileContents ReadGuideFile(const std::filesystem::path& file) {
  GuideFileContents contents;
  std::error_code error;
  if (!std::filesystem::exists(file, error) && !error) return contents;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    contents.damage = "the file cannot be opened";
    return contents;
  }
  std::string line;
  for (std::size_t number = 1;; ++number) {
    const LineRead read = ReadBoundedLine(in, line);
    if (read == LineRead::End) break;
    std::optional<std::string> problem;
    if (read == LineRead::TooLong) {
      problem = "longer than " + std::to_string(kMaxGuideLineLength) + " bytes";
    } else if (number > kMaxGuideProgrammes) {
      problem = "more than " + std::to_string(kMaxGuideProgrammes) + " programmes";
    } else {
      GuideProgramme programme;
      problem = ParseLine(line, programme);
      if (!problem) contents.programmes.push_back(std::move(programme));
    }
    if (problem) {
      contents.programmes.clear();
      contents.damage = "line " + std::to_string(number) + ": " + *problem;
      return contents;
    }
  }
  return contents;
}

void TidyGuide(std::vector<GuideProgramme>& programmes, std::int64_t nowUtc) {
  std::erase_if(programmes, [nowUtc](const GuideProgramme& p) {
    return p.EndUtc() < nowUtc - kGuideKeepSeconds;
  });
  if (programmes.size() > kMaxGuideProgrammes) {
    std::stable_sort(programmes.begin(), programmes.end(),
                     [](const GuideProgramme& a, const GuideProgramme& b) {
                       return a.startUtc < b.startUtc;
                     });
    programmes.resize(kMaxGuideProgrammes);
  }
  std::stable_sort(programmes.begin(), programmes.end(),
                   [](const GuideProgramme& a, const GuideProgramme& b) {
                     return std::tie(a.major, a.minor, a.startUtc, a.eventId) <
                            std::tie(b.major, b.minor, b.startUtc, b.eventId);
                   });
}

bool WriteGuideFile(const std::filesystem::path& file, std::vector<GuideProgramme> programmes,
                    std::int64_t nowUtc) {
  std::erase_if(programmes, [](const GuideProgramme& p) { return !IsStorable(p); });
  TidyGuide(programmes, nowUtc);
  std::string content;
  for (const GuideProgramme& p : programmes) {
    content += std::to_string(p.major) + '\t' + std::to_string(p.minor) + '\t' +
               std::to_string(p.eventId) + '\t' + std::to_string(p.startUtc) + '\t' +
               std::to_string(p.lengthSeconds) + '\t' + Escaped(p.title, kMaxGuideTitleLength) +
               '\t' + Escaped(p.description, kMaxGuideDescriptionLength) + '\n';
  }
  return WriteFileAtomically(file, content);
}

bool SetDamagedGuideAside(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::rename(file, file.parent_path() / FileNames::kDamagedGuide, error);
  return !error;
}

LoadedGuide LoadGuide(const std::filesystem::path& file) {
  GuideFileContents contents = ReadGuideFile(file);
  LoadedGuide loaded;
  if (!contents.damage) {
    loaded.programmes = std::move(contents.programmes);
    return loaded;
  }
  const std::string where = file.filename().string() + " is damaged (" + *contents.damage + ")";
  loaded.writable = SetDamagedGuideAside(file);
  loaded.notice = loaded.writable
                      ? where + "; it is kept as " + FileNames::kDamagedGuide + " and the guide starts empty"
                      : where + " and cannot be renamed to " + FileNames::kDamagedGuide +
                            "; the guide is not saved until it is moved";
  return loaded;
}
