#pragma once
// Where the dump filter's writer puts its bytes: a file opened by the shell,
// or a fake one in the tests.

#include <cstddef>
#include <cstdint>

namespace tssink {

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes `size` bytes at the end; returns how many were written (fewer on a
  // write error such as a full disk).
  virtual std::size_t Write(const std::uint8_t* data, std::size_t size) = 0;
  // Cuts the file to `size` bytes; false when that fails.
  virtual bool Truncate(std::uint64_t size) = 0;
  virtual void Close() = 0;
};

}  // namespace tssink
