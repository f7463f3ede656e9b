// GetFileVersion: the FileVersion text of the version record embedded in an executable.
// The lookup goes the way a version resource is read: fetch the record, take the first
// listed translation, then ask for the FileVersion of that translation's string table.
#include "FileVersion.h"

#include "VersionRecord.h"

#include <algorithm>
#include <cstdio>

std::string GetFileVersion(const std::string& path) {
  try {
    const std::vector<unsigned char> record = versionrecord::ReadVersionRecord(path);
    if (record.empty()) return {};

    const auto translation = versionrecord::QueryValue(record, "\\VarFileInfo\\Translation");
    if (!translation || translation->bytes.size() < 4) return {};
    const auto& t = translation->bytes;
    const unsigned language = t[0] | (t[1] << 8);
    const unsigned codePage = t[2] | (t[3] << 8);

    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\FileVersion", language,
                  codePage);
    const auto value = versionrecord::QueryValue(record, query);
    if (!value || value->type != versionrecord::ValueType::Text) return {};
    // A text value must carry its terminator inside the value.
    const auto end = std::find(value->bytes.begin(), value->bytes.end(), 0);
    if (end == value->bytes.end()) return {};
    return std::string(value->bytes.begin(), end);
  } catch (...) {
    // Only allocation can throw here; a version that cannot be read is no version.
    return {};
  }
}
