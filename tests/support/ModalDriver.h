// Answers the modal dialogs and message boxes that a command opens, by driving the real
// widgets: each queued handler gets the next modal widget that appears.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QFileDialog;

namespace testsupport {

// What a message box showed.
struct ShownMessage {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool hasCancel = false;
  QStringList buttons;  // the buttons' texts
};

class ModalDriver : public QObject {
  Q_OBJECT
public:
  ModalDriver();
  ~ModalDriver() override;

  // Queues a handler for the next modal widget that appears.
  void onNextModal(std::function<void(QWidget*)> handler);
  // Queues: choose `path` in the next file dialog and accept it.
  void chooseFile(const std::string& path);
  // Queues: choose the name filter number `filter` (from 1) as a user does with the keys,
  // then `path`, and accept.
  void chooseFile(const std::string& path, int filter);
  // Queues: choose `path` in the next file dialog and confirm it without the dialog's own
  // check that the file exists (a file that vanishes between choosing and opening).
  void chooseVanishedFile(const std::string& path);
  // Queues: accept the next file dialog with what it proposes.
  void acceptFileDialog();
  // Queues: cancel the next file dialog.
  void cancelFileDialog();
  // Queues: record the next message box and press OK (or Cancel).
  void answerMessage(QMessageBox::StandardButton button = QMessageBox::Ok);

  // Everything the answered message boxes showed, in order.
  const std::vector<ShownMessage>& messages() const { return messages_; }
  // Title, name filters, default suffix and initially selected file of answered file dialogs.
  struct ShownFileDialog {
    QString title;
    QStringList nameFilters;
    QString defaultSuffix;
    QString selected;
  };
  const std::vector<ShownFileDialog>& fileDialogs() const { return fileDialogs_; }

  // True when every queued handler has run.
  bool idle() const { return handlers_.empty(); }

private:
  void poll();
  void finishAnswer(QMessageBox* answered);
  QFileDialog* takeFileDialog(QWidget* widget);

  QTimer timer_;
  std::deque<std::function<void(QWidget*)>> handlers_;
  std::vector<QPointer<QWidget>> handled_;
  std::vector<ShownMessage> messages_;
  std::vector<ShownFileDialog> fileDialogs_;
};

}  // namespace testsupport
