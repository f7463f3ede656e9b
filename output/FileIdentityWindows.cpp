// File identities from GetFileInformationByHandle: volume serial number and file index.
// Names of files that do not exist yet compare without regard to case, as NTFS does.
#include "FileIdentity.h"

#include "WidePath.h"

#include <windows.h>

namespace output {

namespace {

std::optional<FileIdentity> identityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information {};
  if (!::GetFileInformationByHandle(handle, &information)) return std::nullopt;
  FileIdentity identity;
  identity.volume = information.dwVolumeSerialNumber;
  identity.file = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
                  information.nFileIndexLow;
  identity.kind = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Other
                                                                             : FileKind::Regular;
  return identity;
}

// Opens a file, folder or device only to ask about it: no access rights needed, nothing
// locked. Empty when it cannot be opened; GetLastError() then tells why.
std::optional<FileIdentity> identityOfPath(const std::wstring& path) {
  const HANDLE handle = ::CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<FileIdentity> identity;
  switch (::GetFileType(handle)) {
    case FILE_TYPE_DISK:
      identity = identityOf(handle);
      break;
    case FILE_TYPE_CHAR:
      identity = FileIdentity{};  // NUL, CON: nothing to compare but their kind
      identity->kind = FileKind::CharacterDevice;
      break;
    default:
      break;  // a pipe: nothing that tells one from another
  }
  ::CloseHandle(handle);
  ::SetLastError(ERROR_SUCCESS);  // opened: whatever the answer, the file is there
  return identity;
}

}  // namespace

std::optional<FileIdentity> identifyFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const std::wstring wide = toolkit::WideFromUtf8(path);
  if (std::optional<FileIdentity> existing = identityOfPath(wide)) return existing;
  if (::GetLastError() != ERROR_FILE_NOT_FOUND) return std::nullopt;

  // Not there: the folder it would be made in, and its name there.
  const auto separator = wide.find_last_of(L"/\\:");
  // "dir\.", "C:\." and "C:." name the folder itself, the root and a drive's current one alike.
  const std::wstring folder = (separator == std::wstring::npos ? L"" : wide.substr(0, separator + 1)) + L".";
  std::wstring name = separator == std::wstring::npos ? wide : wide.substr(separator + 1);
  if (name.empty()) return std::nullopt;
  std::optional<FileIdentity> identity = identityOfPath(folder);
  if (!identity || identity->kind != FileKind::Other) return std::nullopt;
  ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  identity->name = toolkit::Utf8FromWide(name);
  identity->kind = FileKind::Missing;
  return identity;
}

std::optional<FileIdentity> identifyStandardOutput() {
  const HANDLE handle = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::nullopt;
  if (::GetFileType(handle) != FILE_TYPE_DISK) return std::nullopt;
  return identityOf(handle);
}

}  // namespace output
