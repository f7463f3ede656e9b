// Shared set-up of the window tests: a fresh program state and main window per test, and
// short ways to read files into the two systems through the real commands.
#pragma once

#include "ModalDriver.h"
#include "TestFiles.h"
#include "Tramis_Unit1.h"

#include <QStringList>

#include <memory>
#include <string>

namespace testsupport {

// Empties both point lists and puts the solver back into its start-up state.
void resetProgramState();

class WindowFixture {
public:
  WindowFixture();
  ~WindowFixture();

  TForm2& form() { return *form_; }
  ModalDriver& driver() { return *driver_; }
  TempDir& dir() { return dir_; }

  // Writes `content` to `name` in the test folder and returns its path.
  std::string write(const std::string& name, const std::string& content);
  // Reads `content` as the old (new) system through the open command; bad lines are
  // answered with OK.
  void readOld(const std::string& content, const std::string& name = "alt.asc");
  void readNew(const std::string& content, const std::string& name = "neu.asc");

  QString cell(int column, int row) const;
  // Texts of the value labels (Xo, Yo, a, o, m, d, So, then the centroids) and of all grid
  // cells, row by row, to compare before and after a command.
  QStringList labelTexts() const;
  QStringList cellTexts() const;

private:
  TempDir dir_;
  std::unique_ptr<TForm2> form_;
  std::unique_ptr<ModalDriver> driver_;
};

// Old (0,0), (10,0), (0,10) and new (100,200), (110,200), (100,210.03): the worked example.
inline constexpr const char* kExampleOld = "1 0 0\n2 10 0\n3 0 10\n";
inline constexpr const char* kExampleNew = "1 100 200\n2 110 200\n3 100 210.03\n";

}  // namespace testsupport
