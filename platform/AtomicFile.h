// Whole-file reads and crash-safe whole-file replacement.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Replaces the file at path with bytes so that a crash, a full disk or any
// failed call leaves either the complete old file or the complete new one,
// never a mix or an empty file. Writes path + ".tmp" (symbolic links are not
// followed), flushes it to disk, renames it over path and flushes the folder.
// A new file gets newFileMode less the umask (private by default; user documents
// such as exported profiles pass 0666); an existing file keeps its permission bits.
// Returns false when the new content was not put in place; the temporary is
// removed again and the old file is untouched.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           unsigned newFileMode = 0600);

// Reads a whole regular file of at most maxBytes. nullopt when it cannot be
// opened or read, is not a regular file, or is larger than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes);

}  // namespace platform
