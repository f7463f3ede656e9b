// Splitting a path into drive, directory, name and extension, kept in static buffers that
// live between calls, and joining the parts a selector letter names.
#include "Kelfile.h"

#include <cstddef>
#include <cstring>

namespace kel {

namespace {

constexpr std::size_t kDriveSize = 3;
constexpr std::size_t kPartSize = 256;
constexpr std::size_t kResultSize = kDriveSize + 3 * kPartSize + 1;

char driveBuffer[kDriveSize];
char directoryBuffer[kPartSize];
char nameBuffer[kPartSize];
char extensionBuffer[kPartSize];
char resultBuffer[kResultSize];

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Copies [first, last) into a buffer of `size` characters, cutting what does not fit.
void copyPart(char* buffer, std::size_t size, const char* first, const char* last) {
  std::size_t length = static_cast<std::size_t>(last - first);
  if (length > size - 1) length = size - 1;
  std::memcpy(buffer, first, length);
  buffer[length] = '\0';
}

// Appends a part to the result buffer; the result buffer holds all parts together, but
// the length is still checked so that no call can write past it.
void append(const char* part) {
  const std::size_t used = std::strlen(resultBuffer);
  std::size_t length = std::strlen(part);
  if (length > kResultSize - 1 - used) length = kResultSize - 1 - used;
  std::memcpy(resultBuffer + used, part, length);
  resultBuffer[used + length] = '\0';
}

}  // namespace

const char* FileNamePart(const char* path, char selector) {
  resultBuffer[0] = '\0';
  if (!path) path = "";

  const char* const end = path + std::strlen(path);
  const char* p = path;

  const char* directoryStart = p;
  if (end - p >= 2 && p[1] == ':') directoryStart = p + 2;
  copyPart(driveBuffer, kDriveSize, p, directoryStart);

  const char* nameStart = directoryStart;
  for (const char* c = directoryStart; c != end; ++c)
    if (isSeparator(*c)) nameStart = c + 1;
  copyPart(directoryBuffer, kPartSize, directoryStart, nameStart);

  const char* extensionStart = end;
  for (const char* c = nameStart; c != end; ++c)
    if (*c == '.') extensionStart = c;
  copyPart(nameBuffer, kPartSize, nameStart, extensionStart);
  copyPart(extensionBuffer, kPartSize, extensionStart, end);

  const bool hasDrive = driveBuffer[0] != '\0';
  switch (selector) {
    case 'E':
      append(extensionBuffer);
      break;
    case 'F':
      append(nameBuffer);
      break;
    case 'L':
      append(driveBuffer);
      break;
    case 'P':
      append(directoryBuffer);
      break;
    case 'd':
      append(nameBuffer);
      append(extensionBuffer);
      break;
    case 'e':
      append(driveBuffer);
      append(directoryBuffer);
      append(nameBuffer);
      break;
    case 'f':
      append(driveBuffer);
      append(directoryBuffer);
      append(extensionBuffer);
      break;
    case 'l':
      append(directoryBuffer);
      append(nameBuffer);
      append(extensionBuffer);
      break;
    case 'p':
      // The short name: the directories give way to one backslash after the drive.
      if (hasDrive) {
        append(driveBuffer);
        append("\\");
      }
      append(nameBuffer);
      append(extensionBuffer);
      break;
    default:
      break;
  }
  return resultBuffer;
}

}  // namespace kel
