// The application object and the modal message box, exception display, executable path
// and help call that the program relies on, over Qt Widgets.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <string>

class QApplication;
class QWidget;

namespace toolkit {

// Message box flags: buttons in the low bits, the icon above them.
enum MessageBoxFlags : unsigned {
  MB_OK = 0x00,
  MB_OKCANCEL = 0x01,
  MB_ICONERROR = 0x10,
  MB_ICONINFORMATION = 0x40,
};
// The buttons a message box returns.
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2 };

// Shows a modal message box over the active window and returns the button pressed:
// IDOK or IDCANCEL (Escape counts as Cancel where there is one, else as OK).
// `text` and `caption` are UTF-8.
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

// Shows the message of an exception in an error message box: a `const char*` or
// std::string thrown as text, a std::exception's what(), or a general text otherwise.
void ShowException(std::exception_ptr error);

// Runs one command of a window. An exception that escapes it is shown with
// ShowException and the program goes on: Qt cannot carry exceptions through its event loop.
void RunGuarded(const std::function<void()>& command);

// Full path of the running executable (UTF-8), or an empty text.
std::string GetExeName();

// Converts between the program's UTF-8 texts and Qt's strings.
inline QString qs(const std::string& text) { return QString::fromStdString(text); }

// The application object: owns Qt's application, sets up translations, creates and runs
// the main window.
class TApplication {
public:
  TApplication(int& argc, char** argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Loads Qt's own German translations, so standard dialogs and buttons read German.
  void Initialize();

  // Creates the main window as the application's main window.
  template <class Form>
  void CreateForm(Form*& reference) {
    reference = new Form(nullptr);
    setMainWindow(reference);
  }

  // Shows the main window and runs the event loop until it closes.
  void Run();

private:
  void setMainWindow(QWidget* window);

  std::unique_ptr<QApplication> app_;
  QWidget* mainWindow_ = nullptr;
};

// The one application object of the program, set while it exists.
extern TApplication* Application;

// Installs Qt's German translations into the running application; used by Initialize and
// by tests that check the dialogs' German texts.
void InstallGermanTranslations();

// Moves a shown window so that its frame sits in the centre of the screen that holds it.
void CentreOnScreen(QWidget* window);

}  // namespace toolkit
