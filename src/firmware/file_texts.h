#pragma once

// The texts that opening a file shows, each in one place.
namespace file_texts {

inline constexpr const char* reading_error = "Error on reading file";
inline constexpr const char* reading_error_named = "Error on reading file: ";
inline constexpr const char* no_blocks = "Error on reading file (no 1024 data blocks)";
inline constexpr const char* damaged_1 = "Content of file is demaged";
inline constexpr const char* new_file = "Download new file again from ZEK site";
inline constexpr const char* unsupported_1 = "This file is not";
inline constexpr const char* unsupported_2 = "supported with this software";
inline constexpr const char* running_question =
    "A firmware download is running.\r\nStop it and open another file?";

}  // namespace file_texts
