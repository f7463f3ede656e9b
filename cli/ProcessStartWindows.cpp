// What tramis-cli takes from Windows: the wide command line and module name, converted to
// UTF-8, and a console switched to UTF-8 output.
#include "ProcessStart.h"

#include "WidePath.h"

#include <windows.h>
#include <shellapi.h>

namespace cli {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(toolkit::Utf8FromWide(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

std::string executablePath() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return toolkit::Utf8FromWide(name);
    }
    name.resize(name.size() * 2);
  }
}

void setUpProcess() { ::SetConsoleOutputCP(CP_UTF8); }

}  // namespace cli
