// The import dialog of "Datei → Importieren...": which file, for which system, and how its
// columns are read (separator, decimal mark, header line, a choice per column), with a
// preview of its first lines that shows at once what the choice reads and the line that
// says how the file will be read. The command reads the file as the dialog's request says,
// as the open commands read.
#pragma once

#include "ImportPreview.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace pointimport {

class ImportDialog : public QDialog {
  Q_OBJECT
public:
  // Starts with the file at `path` (may be empty) and the system `oldSystem` chosen.
  ImportDialog(QWidget* parent, const std::string& path, bool oldSystem);

  // Reads the preview of the file at `path` and starts from the choice that reading it
  // without one would make.
  void loadFile(const std::string& path);

  std::string path() const { return path_; }
  bool oldSystem() const;
  const ImportChoice& choice() const { return choice_; }
  pointfiles::FormatRequest request() const { return formatRequest(choice_); }
  // The column choice box of preview column `column`.
  QComboBox* columnBox(int column) const;

  QLineEdit* FileEdit = nullptr;
  QPushButton* BrowseButton = nullptr;
  QRadioButton* OldButton = nullptr;
  QRadioButton* NewButton = nullptr;
  QComboBox* SeparatorBox = nullptr;
  QComboBox* DecimalBox = nullptr;
  QCheckBox* HeaderBox = nullptr;
  QTableWidget* PreviewTable = nullptr;  // row 0: the column choices; then the file's lines
  QLabel* FormatLine = nullptr;          // "Gelesen wird: CSV, Trennzeichen ';', ..."
  QLabel* SummaryLine = nullptr;         // "Vorschau: 18 Punkte" or what is wrong
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

private:
  void browse();
  // Takes the separator, decimal mark, header line and columns from the widgets.
  void takeChoice();
  // Lays the table out for the present separator: one column per field.
  void rebuildTable();
  // Shows the choice: the widgets, the format line, the line kinds and whether OK may read.
  void showChoice();

  std::string path_;
  FilePreview preview_;
  ImportChoice choice_;
  bool showing_ = false;  // widgets are being set from the choice, not by the user
};

}  // namespace pointimport
