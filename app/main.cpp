// Program entry: sets up the application object, creates the main window and runs the
// event loop. The program takes no command-line arguments and always returns 0.
#include "Application.h"
#include "Help.h"
#include "TemporaryCleanup.h"
#include "Tramis_Unit1.h"

int main(int argc, char** argv) {
  // A result file or protocol being written when the window is killed leaves no temporary.
  output::removeTemporariesOnSignals();
  try {
    toolkit::TApplication application(argc, argv);
    try {
      application.Initialize();
      toolkit::SetHelpFile("Tramis.hlp");
      application.CreateForm(Form2);
      application.Run();
    } catch (...) {
      toolkit::ShowException(std::current_exception());
    }
    Form2 = nullptr;
  } catch (...) {
    // Not even the application object could be set up: there is nothing to show it in.
  }
  return 0;
}
