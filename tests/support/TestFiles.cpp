// Temporary folders, whole-file reads and writes, and locale switching for tests.
#include "TestFiles.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace testsupport {

TempDir::TempDir() {
#ifdef _WIN32
  // No mkdtemp on Windows: a random name, created only if it does not exist yet.
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto candidate =
        std::filesystem::temp_directory_path() / ("tramis-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) path_ = candidate.string();
  }
  if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "tramis-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
#endif
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool fileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

std::set<std::string> folderEntries(const std::string& folder) {
  std::set<std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) entries.insert(entry.path().filename().string());
  return entries;
}

ScopedLocale::ScopedLocale(const char* name) {
  const char* current = std::setlocale(LC_ALL, nullptr);
  previous_ = current ? current : "C";
  ok_ = std::setlocale(LC_ALL, name) != nullptr;
}

ScopedLocale::~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }

double decimalNumber(std::string text) {
  for (char& c : text) c = c == ',' ? '.' : c;
  double value = NAN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace testsupport
