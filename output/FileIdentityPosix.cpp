// File identities from stat: device and inode.
#include "FileIdentity.h"

#include "LinkResolution.h"

#include <sys/stat.h>
#include <unistd.h>

namespace output {

namespace {

FileKind kindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISCHR(mode)) return FileKind::CharacterDevice;
  if (S_ISFIFO(mode)) return FileKind::Pipe;
  return FileKind::Other;
}

FileIdentity identityOf(const struct stat& info) {
  FileIdentity identity;
  identity.volume = static_cast<std::uint64_t>(info.st_dev);
  identity.file = static_cast<std::uint64_t>(info.st_ino);
  identity.kind = kindOf(info.st_mode);
  return identity;
}

}  // namespace

std::optional<FileIdentity> identifyFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return identityOf(info);

  // Not there (or behind a dangling link): the file a writer would make.
  std::string resolved;
  bool exists = false;
  if (resolveLinks(path, resolved, info, exists) != 0 || exists) return std::nullopt;
  const std::string name = baseNameOf(resolved);
  struct stat folder {};
  if (name.empty() || name == "." || name == ".." ||
      ::stat(directoryOf(resolved).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))
    return std::nullopt;
  FileIdentity identity = identityOf(folder);
  identity.name = name;
  identity.kind = FileKind::Missing;
  return identity;
}

std::optional<FileIdentity> identifyStandardOutput() {
  struct stat info {};
  if (::fstat(STDOUT_FILENO, &info) != 0) return std::nullopt;
  return identityOf(info);
}

}  // namespace output
