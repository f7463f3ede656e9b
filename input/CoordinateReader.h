// Reading a coordinate file into a PointList, without any user interface: the caller
// decides at each unreadable line whether reading goes on.
//
// Format: one point per line, "name rw hw" or "rw hw", separated by blanks or tabs;
// further tokens are ignored; a decimal comma or point is accepted. Blank lines are
// skipped. Line ends may be LF, CR LF or CR. A UTF-8 byte-order mark at the start is skipped;
// a UTF-16 file (with or without byte-order mark) is read as the text it holds.
// A file with a header line naming its columns, with ';' between the values, or a QGIS
// .points file is recognised from its start and read as such (pointfiles/
// FormatRecognition.h says exactly when); every other file is read as above.
#pragma once

#include "FormatRecognition.h"
#include "PointFileFormat.h"
#include "PointList.h"
#include "ProgressHandler.h"

#include <cstdio>
#include <functional>
#include <string>

// One line that could not be read as a point.
struct BadLine {
  long long lineNumber = 0;  // the file's own line number, from 1
  std::string firstShown;    // the two tokens the message shows (see badValueMessage)
  std::string secondShown;

  bool operator==(const BadLine&) const = default;
};

enum class BadLineAnswer { Continue, Stop };

enum class ReadStatus {
  Complete,       // the whole file was read
  StoppedByUser,  // a bad-line answer was Stop; the points before that line are kept
  OpenFailed,     // the file could not be opened; the list is unchanged
  ReadFailed,     // a read error after opening; the points read before it are kept
};

using BadLineHandler = std::function<BadLineAnswer(const BadLine&)>;

// Opens a coordinate file for reading (binary: line ends are handled by the reader).
// A FIFO waits for its writer, as `cat` does; nothing else blocks in opening (a device that
// never answers cannot hang it). A directory counts as not openable.
// Returns null when the file cannot be opened.
std::FILE* openCoordinateFile(const std::string& path);

// Keeps a coordinate file open for one read: opens it into `handle` and closes it on every
// way out of the scope, an exception included, leaving `handle` null.
class OpenCoordinateFile {
public:
  OpenCoordinateFile(std::FILE*& handle, const std::string& path) : handle_(handle) {
    handle_ = openCoordinateFile(path);
  }
  ~OpenCoordinateFile() {
    if (handle_) std::fclose(handle_);
    handle_ = nullptr;
  }
  OpenCoordinateFile(const OpenCoordinateFile&) = delete;
  OpenCoordinateFile& operator=(const OpenCoordinateFile&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }

private:
  std::FILE*& handle_;
};

// Reads an open coordinate file to its end: `points` is emptied first and refilled.
// The caller closes the file.
// `onProgress`, when given, hears before each block how much of the file has been read;
// an exception out of it stops reading and leaves the points of the lines read before.
// The format is recognised from the file's start unless `request` chooses it; `howRead`,
// when given, receives the format used (also when reading stops early).
ReadStatus readCoordinateStream(std::FILE* file, PointList& points,
                                const BadLineHandler& onBadLine,
                                const toolkit::ProgressHandler& onProgress = {},
                                const pointfiles::FormatRequest& request = {},
                                pointfiles::PointFileFormat* howRead = nullptr);

// Opens, reads and closes the file at `path` (a path in the file system's own encoding). Once the file is
// open, `points` is emptied and refilled; it is left untouched when opening fails.
ReadStatus readCoordinateFile(const std::string& path, PointList& points,
                              const BadLineHandler& onBadLine,
                              const pointfiles::FormatRequest& request = {},
                              pointfiles::PointFileFormat* howRead = nullptr);
