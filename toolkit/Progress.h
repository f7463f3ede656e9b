// A modal progress window for commands that may take long on large files.
#pragma once

#include "ProgressHandler.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace toolkit {

// Shows a modal progress window once the work has taken longer than half a second, so the
// window keeps repainting and no other command can start meanwhile. Before that, no events
// are processed at all: a quick command stays an uninterrupted one. The window closes when
// the object goes out of scope.
class TProgress {
public:
  TProgress(QWidget* parent, const QString& text);
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // Reports the share of the work done (0 to 1).
  void Step(double fraction);
  // The same as a handler for the plain functions.
  ProgressHandler Handler() {
    return [this](double fraction) { Step(fraction); };
  }
  // Whether the window has been shown (for tests).
  bool Shown() const { return dialog_ != nullptr; }

  static constexpr int kDelayMilliseconds = 500;

private:
  QWidget* parent_;
  QString text_;
  QElapsedTimer elapsed_;
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace toolkit
