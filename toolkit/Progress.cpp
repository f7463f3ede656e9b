// The delayed modal progress window with its cancel button.
#include "Progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {
constexpr int kSteps = 1000;
}

// The window itself: a text, a bar and "Abbrechen". Escape and the window's close box do
// nothing, so the window stays until the work ends or the button stops it.
class ProgressWindow : public QDialog {
public:
  ProgressWindow(QWidget* parent, const QString& text) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text, this));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, kSteps);
    layout->addWidget(bar_);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  }

  void setValue(int value) { bar_->setValue(value); }
  bool cancelled() const { return cancelled_; }

  // Escape ends up here: it must not hide the window while the work goes on.
  void reject() override {}

protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }

private:
  QProgressBar* bar_ = nullptr;
  bool cancelled_ = false;
};

TProgress::TProgress(QWidget* parent, const QString& text) : parent_(parent), text_(text) {
  elapsed_.start();
}

TProgress::~TProgress() = default;

void TProgress::Step(double fraction) {
  if (!window_) {
    if (elapsed_.elapsed() < delayMilliseconds) return;
    window_ = std::make_unique<ProgressWindow>(parent_, text_);
    window_->show();
  }
  window_->setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kSteps)));
  // The window is modal now: repaints and its button run, commands cannot start.
  QCoreApplication::processEvents();
  if (window_->cancelled()) throw Cancelled{};
}

}  // namespace toolkit
