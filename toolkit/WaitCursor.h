// The wait cursor while a command works without a progress window (writing a protocol,
// reading or writing a QGIS file): shown for the lifetime of the object, whichever way the
// scope is left.
#pragma once

#include <QApplication>
#include <QCursor>

namespace toolkit {

class WaitCursor {
public:
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace toolkit
