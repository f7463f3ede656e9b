// Reading the FileVersion text from the version record embedded in an executable file.
#pragma once

#include <string>

// The FileVersion text of the version record of the file at `path` (the first listed
// translation counts), or an empty text when the file has no record or cannot be read.
std::string GetFileVersion(const std::string& path);
