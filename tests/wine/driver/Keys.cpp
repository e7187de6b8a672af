#include "Keys.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>

namespace driver {
namespace {

struct NamedKey {
  const char* name;
  unsigned code;
};

constexpr NamedKey kNamedKeys[] = {
    {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},   {"ESCAPE", VK_ESCAPE},
    {"ESC", VK_ESCAPE},    {"SPACE", VK_SPACE},    {"TAB", VK_TAB},
    {"BACK", VK_BACK},     {"BACKSPACE", VK_BACK}, {"DELETE", VK_DELETE},
    {"INSERT", VK_INSERT}, {"HOME", VK_HOME},      {"END", VK_END},
    {"PRIOR", VK_PRIOR},   {"PAGEUP", VK_PRIOR},   {"NEXT", VK_NEXT},
    {"PAGEDOWN", VK_NEXT}, {"LEFT", VK_LEFT},      {"RIGHT", VK_RIGHT},
    {"UP", VK_UP},         {"DOWN", VK_DOWN},      {"ADD", VK_ADD},
    {"SUBTRACT", VK_SUBTRACT},
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::optional<unsigned> ParseVirtualKey(const std::string& key) {
  if (key.size() == 1) {
    char c = key[0];
    if (std::isalnum(static_cast<unsigned char>(c)))
      return static_cast<unsigned>(std::toupper(static_cast<unsigned char>(c)));
    SHORT scan = VkKeyScanA(c);
    if (scan == -1) return std::nullopt;
    return static_cast<unsigned>(LOBYTE(scan));
  }
  const std::string name = Upper(key);
  for (const NamedKey& named : kNamedKeys)
    if (name == named.name) return named.code;
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = std::atoi(name.c_str() + 1);
    if (n >= 1 && n <= 24 && std::to_string(n) == name.substr(1))
      return static_cast<unsigned>(VK_F1 + n - 1);
  }
  char* end = nullptr;
  unsigned long code = std::strtoul(key.c_str(), &end, 0);
  if (end != key.c_str() && *end == '\0' && code >= 1 && code <= 0xFE)
    return static_cast<unsigned>(code);
  return std::nullopt;
}

}  // namespace driver
