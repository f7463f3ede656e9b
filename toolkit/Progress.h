// A modal progress window for commands that may take long on large files.
#pragma once

#include "ProgressHandler.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QWidget;

namespace toolkit {

class ProgressWindow;

// Thrown out of TProgress::Step once the user has pressed "Abbrechen"; the work stops
// where it is and the command that owns the progress decides what is kept.
struct Cancelled {};

// Shows a modal progress window once the work has taken longer than half a second, so the
// window keeps repainting and no other command can start meanwhile. Before that, no events
// are processed at all: a quick command stays an uninterrupted one. The window cannot be
// closed or dismissed with Escape; its only button, "Abbrechen", stops the work at the
// next step. The window closes when the object goes out of scope.
class TProgress {
public:
  TProgress(QWidget* parent, const QString& text);
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // Reports the share of the work done (0 to 1); throws Cancelled once the user has
  // pressed "Abbrechen".
  void Step(double fraction);
  // The same as a handler for the plain functions.
  ProgressHandler Handler() {
    return [this](double fraction) { Step(fraction); };
  }
  // Whether the window has been shown (for tests).
  bool Shown() const { return window_ != nullptr; }

  // How long work runs before the window appears; tests shorten it.
  static inline int delayMilliseconds = 500;

private:
  QWidget* parent_;
  QString text_;
  QElapsedTimer elapsed_;
  std::unique_ptr<ProgressWindow> window_;
};

}  // namespace toolkit
