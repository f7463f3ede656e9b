// Which file a path names, as the file system tells files apart: device and inode number
// on POSIX systems, volume serial number and file index on Windows. Two paths name the
// same file exactly when their identities are equal, however they are spelled: "./x",
// "sub/../x", a symbolic link or a hard link to it. A file that does not exist yet is
// identified by the folder it would be made in and its name there, after following
// symbolic links as the safe writer does, so that two outputs to one new file are caught
// before either is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace output {

enum class FileKind {
  Missing,          // does not exist yet; a writer would make it
  Regular,
  CharacterDevice,  // /dev/null, a terminal, NUL
  Pipe,             // a FIFO or an anonymous pipe
  Other,            // a folder, socket, block device
};

struct FileIdentity {
  std::uint64_t volume = 0;  // device, or the volume serial number
  std::uint64_t file = 0;    // inode, or the file index; of the folder when Missing
  std::string name;          // Missing only: the name in that folder
  FileKind kind = FileKind::Missing;

  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && file == other.file && name == other.name;
  }
};

// Whether the two are one file (both known and equal).
inline bool sameFile(const std::optional<FileIdentity>& a, const std::optional<FileIdentity>& b) {
  return a && b && *a == *b;
}

// Whether writing to one of the two would overwrite the other: one file that is not a
// character device (writing /dev/null twice, or reading a terminal and writing to it,
// loses nothing).
inline bool overwrites(const std::optional<FileIdentity>& a, const std::optional<FileIdentity>& b) {
  return sameFile(a, b) && a->kind != FileKind::CharacterDevice;
}

// The identity of the file at `path` (UTF-8 on Windows); empty when it cannot be told,
// e.g. for a path in a folder that does not exist.
std::optional<FileIdentity> identifyFile(const std::string& path);

// The identity of what standard output is connected to; empty when it cannot be told
// (closed, or a console on Windows).
std::optional<FileIdentity> identifyStandardOutput();

}  // namespace output
