#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/result.h"

namespace platform {

// A text file the program writes as it runs (the trace), from its start,
// through a large buffer: writing costs a copy until the buffer fills or
// `flush` hands what it holds to the system.
class OutputFile {
 public:
  // Creates `path`, or empties it when it is there.
  static core::Result<std::unique_ptr<OutputFile>> Create(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(std::string_view text);
  // Hands everything written so far to the system; says why when it could not
  // take all of it, then or before.
  core::Status flush();

 private:
  OutputFile(std::FILE* file, std::string path);

  std::FILE* file_;
  std::string path_;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace platform
