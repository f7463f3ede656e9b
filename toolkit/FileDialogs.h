// Open and save dialogs as the program uses them: options, title, filter, default
// extension and a file name that persists between runs of one dialog.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class QWidget;

namespace toolkit {

class TFileDialog {
public:
  enum Option : unsigned {
    ofOverwritePrompt = 0x1,  // ask before an existing file is replaced (save)
    ofHideReadOnly = 0x2,     // no read-only check box (Qt shows none anyway)
    ofPathMustExist = 0x4,    // only an existing folder may be chosen
    ofFileMustExist = 0x8,    // only an existing file may be chosen (open)
  };
  enum class Kind { Open, Save };

  explicit TFileDialog(Kind kind) : kind_(kind) {}

  unsigned Options = 0;
  std::string Title;
  // "Text|patterns|Text|patterns", patterns separated by ';' or blanks.
  std::string Filter;
  // Appended to a chosen name that has no extension (without the dot). In a save dialog
  // with several filters it follows the chosen filter's first pattern ("*.html" -> html).
  std::string DefaultExt;
  // The filter shown first, counted from 1; after Execute the filter the user chose.
  int FilterIndex = 1;
  // The chosen full path (UTF-8); also the name the next run starts with.
  std::string FileName;
  // Save dialogs: a chosen file for which this gives a text is refused with that text in the
  // program's message box, and the dialog stays open for another choice (e.g. a file the
  // program has read, which the output would destroy). Not set: every file is taken.
  std::function<std::string(const std::string& path)> RefuseTarget;

  // Shows the dialog modally; true when a file was chosen, which is then in FileName.
  bool Execute(QWidget* parent);
  std::string GetFileName() const { return FileName; }

private:
  Kind kind_;
};

// Turns "Text|patterns|Text|patterns" into Qt's name filters, "Text (pattern pattern)".
// A pattern "*.*" means every file, as it does where such filters come from.
QStringList QtNameFilters(const std::string& filter);

// The extension of a Qt name filter's first pattern: "HTML-Datei (*.html)" -> "html";
// empty when the pattern names no extension ("Alle Dateien (*)").
QString FilterSuffix(const QString& nameFilter);

}  // namespace toolkit
