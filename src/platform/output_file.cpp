#include "platform/output_file.h"

#include <utility>

namespace platform {

namespace {

// Large enough that a download writes to the system a few times, not at every line.
constexpr std::size_t buffer_size = 256 * 1024;

}  // namespace

core::Result<std::unique_ptr<OutputFile>> OutputFile::Create(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return core::error_from_errno("open", path);
  return std::unique_ptr<OutputFile>(new OutputFile(file, path));
}

OutputFile::OutputFile(std::FILE* file, std::string path)
    : file_(file), path_(std::move(path)), buffer_(new char[buffer_size]) {
  std::setvbuf(file_, buffer_.get(), _IOFBF, buffer_size);
}

OutputFile::~OutputFile() {
  std::fclose(file_);
}

void OutputFile::write(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), file_);
}

core::Status OutputFile::flush() {
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) {
    return core::error_from_errno("write", path_);
  }
  return core::Ok{};
}

}  // namespace platform
