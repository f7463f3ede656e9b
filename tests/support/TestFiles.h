// Small helpers for tests that work with real files and with the process locale.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace testsupport {

// A fresh folder below the system's temporary folder, removed with its contents.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Full path of `name` inside the folder.
  std::string file(std::string_view name) const;

private:
  std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// The names of the entries of `folder`.
std::set<std::string> folderEntries(const std::string& folder);

// The number at the start of `text`, written with a decimal comma or point (as result files,
// CSV cells and protocol tables have it); NaN where none stands.
double decimalNumber(std::string text);

// Switches the whole process locale (LC_ALL) for the lifetime of the object and restores
// the previous one afterwards. `ok()` tells whether the locale exists on this machine.
class ScopedLocale {
public:
  explicit ScopedLocale(const char* name);
  ~ScopedLocale();
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;
  bool ok() const { return ok_; }

private:
  std::string previous_;
  bool ok_ = false;
};

// The German locale that the set-up generates (on Windows: the C library's name of it).
#ifdef _WIN32
inline constexpr const char* kGermanLocale = "German_Germany.1252";
#else
inline constexpr const char* kGermanLocale = "de_DE.UTF-8";
#endif

}  // namespace testsupport
