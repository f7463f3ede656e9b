// The delayed modal progress window.
#include "Progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {
constexpr int kSteps = 1000;
}

TProgress::TProgress(QWidget* parent, const QString& text) : parent_(parent), text_(text) {
  elapsed_.start();
}

TProgress::~TProgress() = default;

void TProgress::Step(double fraction) {
  if (!dialog_) {
    if (elapsed_.elapsed() < kDelayMilliseconds) return;
    dialog_ = std::make_unique<QProgressDialog>(text_, QString(), 0, kSteps, parent_);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->show();
  }
  dialog_->setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kSteps)));
  // The window is modal now: repaints and the progress window run, commands cannot start.
  QCoreApplication::processEvents();
}

}  // namespace toolkit
