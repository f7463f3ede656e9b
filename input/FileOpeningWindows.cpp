// Opening a coordinate file on Windows: the UTF-8 name goes through the wide call, so
// that names outside the console's code page ("Messung Süd\alt.asc") open as well.
#include "FileOpening.h"

#include "WidePath.h"

#include <windows.h>

namespace input {

std::FILE* openForReading(const std::string& path) {
  const std::wstring wide = toolkit::WideFromUtf8(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return nullptr;
  return ::_wfopen(wide.c_str(), L"rb");
}

}  // namespace input
