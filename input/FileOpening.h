// Opening a coordinate file for reading, one implementation per system.
#pragma once

#include <cstdio>
#include <string>

namespace input {

// Opens `path` (UTF-8 on Windows, the file system's bytes elsewhere) for binary reading.
// A FIFO waits for its writer, as `cat` does; nothing else blocks in opening (a device that
// never answers cannot hang it). A directory counts as not openable.
// Returns null when the file cannot be opened.
std::FILE* openForReading(const std::string& path);

}  // namespace input
