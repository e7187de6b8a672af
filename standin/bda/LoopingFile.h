#pragma once
// A transport-stream file read chunk by chunk, from its start again once its
// end is reached.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "win/UniqueHandle.h"

namespace standin {

class LoopingFile {
 public:
  // Opens the file; false (and a message on standard error) when it cannot.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file.IsValid(); }

  // Reads up to `size` bytes. At the end of the file the chunk ends short and
  // the next read starts from the beginning again with `looped` set. Returns
  // 0 when the file is empty or cannot be read.
  std::size_t Read(std::uint8_t* buffer, std::size_t size, bool& looped);

 private:
  UniqueFile file;
  std::string path;
};

}  // namespace standin
