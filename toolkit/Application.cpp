// The application object, message boxes and the guarded running of commands.
#include "Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>

#include <stdexcept>

namespace toolkit {

TApplication* Application = nullptr;

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  const bool withCancel = (flags & 0x0F) == MB_OKCANCEL;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  if ((flags & 0xF0) == MB_ICONERROR) icon = QMessageBox::Critical;
  if ((flags & 0xF0) == MB_ICONINFORMATION) icon = QMessageBox::Information;

  QMessageBox box(icon, qs(caption), qs(text),
                  withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
  return box.exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
}

void ShowException(std::exception_ptr error) {
  std::string message;
  try {
    std::rethrow_exception(error);
  } catch (const char* text) {
    message = text ? text : "";
  } catch (const std::string& text) {
    message = text;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unbekannter Fehler.";
  }
  MessageBox(message, "Error", MB_OK | MB_ICONERROR);
}

void RunGuarded(const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    ShowException(std::current_exception());
  }
}

std::string GetExeName() {
  if (!QCoreApplication::instance()) return {};
  return QCoreApplication::applicationFilePath().toStdString();
}

void InstallGermanTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QLocale(QLocale::German, QLocale::Germany), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

TApplication::TApplication(int& argc, char** argv)
    : app_(std::make_unique<QApplication>(argc, argv)) {
  Application = this;
}

TApplication::~TApplication() {
  delete mainWindow_;
  Application = nullptr;
}

void TApplication::Initialize() { InstallGermanTranslations(); }

void TApplication::setMainWindow(QWidget* window) { mainWindow_ = window; }

void CentreOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    QRect centred = window->frameGeometry();
    centred.moveCenter(screen->availableGeometry().center());
    window->move(centred.topLeft());
  }
}

void TApplication::Run() {
  if (!mainWindow_) return;
  mainWindow_->show();
  QApplication::exec();
}

}  // namespace toolkit
