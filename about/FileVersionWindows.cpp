// GetFileVersion on Windows: the FileVersion text of the executable's version resource,
// looked up the same way as the record on other systems (first listed translation, then
// that translation's string table).
#include "FileVersion.h"

#include "WidePath.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::string GetFileVersion(const std::string& path) {
  const std::wstring file = toolkit::WideFromUtf8(path);
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return {};
  std::vector<unsigned char> resource(size);
  if (!::GetFileVersionInfoW(file.c_str(), 0, size, resource.data())) return {};

  void* translation = nullptr;
  UINT translationLength = 0;
  if (!::VerQueryValueW(resource.data(), L"\\VarFileInfo\\Translation", &translation,
                        &translationLength) ||
      translationLength < 4)
    return {};
  const WORD* words = static_cast<const WORD*>(translation);
  wchar_t query[64];
  std::swprintf(query, 64, L"\\StringFileInfo\\%04X%04X\\FileVersion", words[0], words[1]);
  void* value = nullptr;
  UINT valueLength = 0;
  if (!::VerQueryValueW(resource.data(), query, &value, &valueLength) || valueLength == 0)
    return {};
  // The length counts the terminator.
  std::wstring text(static_cast<const wchar_t*>(value), valueLength);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return toolkit::Utf8FromWide(text);
}
