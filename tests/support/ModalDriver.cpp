// Polls for modal widgets while a command runs its nested event loop and hands each new
// one to the next queued handler.
#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

namespace testsupport {

namespace {

// Types the full path into the dialog's file name field, as a user would.
void typeFileName(QFileDialog* dialog, const std::string& path) {
  auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (!field) {
    QTest::qFail("the file dialog has no file name field", __FILE__, __LINE__);
    return;
  }
  field->setText(QString::fromStdString(path));
}

}  // namespace

ModalDriver::ModalDriver() {
  timer_.setInterval(5);
  connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
  timer_.start();
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::onNextModal(std::function<void(QWidget*)> handler) {
  handlers_.push_back(std::move(handler));
}

QFileDialog* ModalDriver::takeFileDialog(QWidget* widget) {
  auto* dialog = qobject_cast<QFileDialog*>(widget);
  if (!dialog) {
    QTest::qFail("expected a file dialog", __FILE__, __LINE__);
    return nullptr;
  }
  const QStringList selected = dialog->selectedFiles();
  fileDialogs_.push_back({dialog->windowTitle(), dialog->nameFilters(), dialog->defaultSuffix(),
                          selected.isEmpty() ? QString() : selected.first()});
  return dialog;
}

void ModalDriver::chooseFile(const std::string& path) {
  onNextModal([this, path](QWidget* widget) {
    if (QFileDialog* dialog = takeFileDialog(widget)) {
      typeFileName(dialog, path);
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();  // the dialog refused the name
    }
  });
}

void ModalDriver::chooseFile(const std::string& path, int filter) {
  onNextModal([this, path, filter](QWidget* widget) {
    if (QFileDialog* dialog = takeFileDialog(widget)) {
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      if (!types) {
        QTest::qFail("the file dialog has no filter choice", __FILE__, __LINE__);
        return;
      }
      for (int i = 1; i < filter; ++i) QTest::keyClick(types, Qt::Key_Down);
      typeFileName(dialog, path);
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();
    }
  });
}

void ModalDriver::chooseVanishedFile(const std::string& path) {
  onNextModal([this, path](QWidget* widget) {
    if (QFileDialog* dialog = takeFileDialog(widget)) {
      typeFileName(dialog, path);
      static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    }
  });
}

void ModalDriver::acceptFileDialog() {
  onNextModal([this](QWidget* widget) {
    if (QFileDialog* dialog = takeFileDialog(widget)) {
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();
    }
  });
}

void ModalDriver::cancelFileDialog() {
  onNextModal([this](QWidget* widget) {
    if (QFileDialog* dialog = takeFileDialog(widget)) dialog->reject();
  });
}

void ModalDriver::answerMessage(QMessageBox::StandardButton button) {
  onNextModal([this, button](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box) {
      QTest::qFail("expected a message box", __FILE__, __LINE__);
      return;
    }
    QStringList buttons;
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    messages_.push_back({box->text(), box->windowTitle(), box->icon(),
                         box->button(QMessageBox::Cancel) != nullptr, buttons});
    if (QAbstractButton* pressed = box->button(button)) pressed->click();
    else box->reject();
  });
}

void ModalDriver::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || handlers_.empty()) return;
  // A dialog that is active again once a question it asked has gone is no new one.
  for (const QPointer<QWidget>& seen : handled_)
    if (seen == modal) return;
  handled_.push_back(modal);
  auto handler = std::move(handlers_.front());
  handlers_.pop_front();
  // Run the handler from the event loop, not inside this timer's tick: a handler that
  // opens a further modal widget (an overwrite question) must leave the timer free to
  // find it.
  QPointer<QWidget> target = modal;
  QMetaObject::invokeMethod(
      this,
      [this, handler = std::move(handler), target] {
        if (!target) return;
        handler(target);
        if (auto* box = qobject_cast<QMessageBox*>(target.data())) finishAnswer(box);
      },
      Qt::QueuedConnection);
}

// On a loaded machine the handler can run while the box is still being shown, from events
// that showing it processes, before QDialog::exec has entered its event loop: the answer
// then ends no loop, and exec waits for ever. A box that is still there a moment after it
// was answered is answered again, now that the loop runs (a box answered in time is gone:
// the message boxes live on the stack of the call that showed them).
void ModalDriver::finishAnswer(QMessageBox* answered) {
  QPointer<QMessageBox> box = answered;
  auto* check = new QTimer(this);
  check->setInterval(50);
  connect(check, &QTimer::timeout, this, [box, check, tries = 0]() mutable {
    if (!box || ++tries > 200) {
      check->deleteLater();
      return;
    }
    if (QAbstractButton* pressed = box->clickedButton()) pressed->click();
    else box->reject();
  });
  check->start();
}

}  // namespace testsupport
