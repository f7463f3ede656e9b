// The texts that reading a coordinate file shows: its messages and the status text.
#pragma once

#include "CoordinateReader.h"

#include <cstddef>
#include <string>

namespace input {

inline constexpr const char* kBadValueCaption = "Error";

// The texts that differ between the two systems' open commands.
struct SystemTexts {
  const char* dialogTitle;
  const char* statusPrefix;
  int statusPanel;
};
const SystemTexts& textsFor(bool oldSystem);

// Filter of the open dialog, in the form "Text|patterns|Text|patterns".
inline constexpr const char* kCoordinateFileFilter =
    "Koordinatendatei (*.asc; *.txt)|*.asc; *.txt|Alle Dateien | *.*";

// "Datei <path> kann nicht geöffnet werden."
std::string openErrorMessage(const std::string& path);
// "Datei <path> kann nicht gelesen werden." for a read error after opening.
std::string readErrorMessage(const std::string& path);

// The question shown for a line that holds no point: names the file, the line number and
// the two value tokens, and asks whether reading goes on. `path` and the tokens are bytes
// as they are; they are turned into readable UTF-8 here, and a very long token is shortened.
std::string badValueMessage(const std::string& path, const BadLine& line);

// "<prefix><count>]  <short file name>", e.g. "Old: [12]  alt.asc".
std::string statusText(const SystemTexts& system, std::size_t pointCount, const std::string& path);

}  // namespace input
