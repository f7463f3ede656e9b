// The Windows mechanics of writing a file safely: write a temporary beside the target,
// flush it to disk and move it over the target in one step; write character devices
// (NUL, CON) directly; refuse folders and write-protected files. File names are UTF-8
// and go through the wide calls.
#include "SafeFileWriter.h"

#include "WidePath.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace output {

namespace {

std::wstring directoryOf(const std::wstring& path) {
  const auto separator = path.find_last_of(L"/\\:");
  if (separator == std::wstring::npos) return L".";
  if (path[separator] == L':') return path.substr(0, separator + 1) + L".";
  if (separator == 0 || path[separator - 1] == L':') return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

// The system's own text for a Windows error code.
std::string systemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  if (message.empty()) return "Fehler " + std::to_string(code);
  return toolkit::Utf8FromWide(message);
}

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

}  // namespace

bool SafeFileWriter::fail(const std::string& what, int errorNumber) {
  return fail(what + ": " + systemMessage(static_cast<DWORD>(errorNumber)));
}

bool SafeFileWriter::open(const std::string& path) {
  discard();
  error_.clear();
  committed_ = false;
  if (path.empty()) return fail("Kein Dateiname angegeben");
  target_ = path;

  const std::wstring wide = toolkit::WideFromUtf8(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return openTemporary(target_, false, 0, 0, 0);
    return fail("Ziel nicht erreichbar", static_cast<int>(error));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return fail("Ziel ist keine gewöhnliche Datei (Verzeichnis)");
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return fail("Datei ist schreibgeschützt", ERROR_ACCESS_DENIED);
  // A device such as NUL cannot be replaced: it is written directly.
  const HANDLE probe = ::CreateFileW(wide.c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    const bool device = ::GetFileType(probe) == FILE_TYPE_CHAR;
    ::CloseHandle(probe);
    if (device) return openDirect(target_);
  }
  return openTemporary(target_, true, 0, 0, 0);
}

bool SafeFileWriter::openDirect(const std::string& path) {
  fd_ = ::_wopen(toolkit::WideFromUtf8(path).c_str(), _O_WRONLY | _O_BINARY);
  if (fd_ < 0) return fail("Ziel kann nicht geöffnet werden", static_cast<int>(::GetLastError()));
  direct_ = true;
  return true;
}

bool SafeFileWriter::openTemporary(const std::string& target, bool /*exists*/, unsigned /*mode*/,
                                   unsigned /*owner*/, unsigned /*group*/) {
  const std::wstring folder = directoryOf(toolkit::WideFromUtf8(target));
  wchar_t name[MAX_PATH + 1] = {};
  // Creates an empty file with a name of its own in the target's folder.
  if (::GetTempFileNameW(folder.c_str(), L"trm", 0, name) == 0)
    return fail("Temporäre Datei kann nicht angelegt werden", static_cast<int>(::GetLastError()));
  temporary_ = toolkit::Utf8FromWide(name);
  fd_ = ::_wopen(name, _O_WRONLY | _O_BINARY | _O_TRUNC);
  if (fd_ < 0)
    return fail("Temporäre Datei kann nicht angelegt werden", static_cast<int>(::GetLastError()));
  direct_ = false;
  return true;
}

bool SafeFileWriter::write(std::string_view bytes) {
  if (failed() || fd_ < 0) return fail("Datei ist nicht geöffnet");
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const unsigned chunk = left > (1u << 30) ? (1u << 30) : static_cast<unsigned>(left);
    const int written = ::_write(fd_, data, chunk);
    if (written <= 0) return fail("Fehler beim Schreiben", static_cast<int>(::GetLastError()));
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

bool SafeFileWriter::commit() {
  if (failed() || fd_ < 0) return fail("Datei ist nicht geöffnet");
  if (!direct_ && !::FlushFileBuffers(handleOf(fd_)))
    return fail("Fehler beim Sichern auf den Datenträger", static_cast<int>(::GetLastError()));
  const int fd = fd_;
  fd_ = -1;
  if (::_close(fd) != 0) return fail("Fehler beim Schließen", static_cast<int>(::GetLastError()));
  if (!direct_) {
    if (!::MoveFileExW(toolkit::WideFromUtf8(temporary_).c_str(),
                       toolkit::WideFromUtf8(target_).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return fail("Datei kann nicht ersetzt werden", static_cast<int>(::GetLastError()));
    temporary_.clear();
  }
  direct_ = false;
  committed_ = true;
  return true;
}

void SafeFileWriter::closeAndRemoveTemporary() {
  if (fd_ >= 0) {
    ::_close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::DeleteFileW(toolkit::WideFromUtf8(temporary_).c_str());
    temporary_.clear();
  }
  direct_ = false;
}

}  // namespace output
