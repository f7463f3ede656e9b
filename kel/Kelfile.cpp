// Splitting a path into drive, directory, name and extension and joining the parts a
// selector letter names, in a result that lives until the next call.
#include "Kelfile.h"

#include <cstring>
#include <string>
#include <string_view>

namespace kel {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

const char* FileNamePart(const char* path, char selector) {
  static std::string result;
  result.clear();
  const std::string_view whole = path ? std::string_view(path) : std::string_view();

  const std::size_t directoryStart = whole.size() >= 2 && whole[1] == ':' ? 2 : 0;
  std::size_t nameStart = directoryStart;
  for (std::size_t i = directoryStart; i < whole.size(); ++i)
    if (isSeparator(whole[i])) nameStart = i + 1;
  std::size_t extensionStart = whole.size();
  for (std::size_t i = nameStart; i < whole.size(); ++i)
    if (whole[i] == '.') extensionStart = i;

  const std::string_view drive = whole.substr(0, directoryStart);
  const std::string_view directory = whole.substr(directoryStart, nameStart - directoryStart);
  const std::string_view name = whole.substr(nameStart, extensionStart - nameStart);
  const std::string_view extension = whole.substr(extensionStart);

  switch (selector) {
    case 'E': result.append(extension); break;
    case 'F': result.append(name); break;
    case 'L': result.append(drive); break;
    case 'P': result.append(directory); break;
    case 'd': result.append(name).append(extension); break;
    case 'e': result.append(drive).append(directory).append(name); break;
    case 'f': result.append(drive).append(directory).append(extension); break;
    case 'l': result.append(directory).append(name).append(extension); break;
    case 'p':
      // The short name: the directories give way to one backslash after the drive.
      if (!drive.empty()) result.append(drive).append("\\");
      result.append(name).append(extension);
      break;
    default: break;
  }
  return result.c_str();
}

}  // namespace kel
