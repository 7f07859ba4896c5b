// Whole-file reads and crash-safe whole-file replacement.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Reads the whole file at `path` (UTF-8 file-system path) into `bytes`.
// Fails (false, `error` = the system's message, `bytes` empty) when the file
// cannot be opened or read, or is larger than `maxBytes`.
bool ReadFileContents(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error);

// Replaces the file at `path` with `bytes`: written to a new temporary file in
// the same folder, flushed to disk, then renamed over the old one, so a crash
// or a full disk leaves either the old file or the new one, never a part.
// False with `error` set on any failure (the old file is then untouched and
// the temporary file removed). New files get mode 0666 less the umask.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace platform
