// Open and save dialogs over QFileDialog. Qt's own (not the desktop's) dialog is used, so
// that the dialogs look and behave the same everywhere and tests can drive them.
#include "FileDialogs.h"

#include "Application.h"

#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include <utility>

namespace toolkit {

namespace {

// A file dialog that, when asked to, refuses a name in a folder that does not exist, in
// the dialog and in Qt's own words, as an open dialog refuses a file that does not exist;
// and a file its owner refuses (TFileDialog::RefuseTarget), in the program's message box.
class FolderCheckingDialog : public QFileDialog {
public:
  using Refusal = std::function<std::string(const std::string&)>;

  FolderCheckingDialog(QWidget* parent, const QString& title, bool folderMustExist, Refusal refuse)
      : QFileDialog(parent, title), folderMustExist_(folderMustExist), refuse_(std::move(refuse)) {}

  void accept() override {
    const QStringList chosen = selectedFiles();
    if (folderMustExist_ && !chosen.isEmpty()) {
      const QFileInfo file(chosen.first());
      if (!file.isDir() && !QFileInfo(file.absolutePath()).isDir()) {
        QMessageBox::warning(this, windowTitle(),
                             QFileDialog::tr("%1\nDirectory not found.\nPlease verify the "
                                             "correct directory name was given.")
                                 .arg(QDir::toNativeSeparators(file.absolutePath())));
        return;
      }
    }
    if (refuse_ && !chosen.isEmpty()) {
      const std::string refusal = refuse_(chosen.first().toStdString());
      if (!refusal.empty()) {
        MessageBox(refusal, windowTitle().toStdString(), MB_OK | MB_ICONERROR);
        return;
      }
    }
    QFileDialog::accept();
  }

private:
  bool folderMustExist_;
  Refusal refuse_;
};

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts[i].trimmed();
    // A text that already names its patterns in brackets gets them replaced by Qt's form.
    text.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)$")));
    QStringList patterns =
        parts[i + 1].split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
    for (QString& pattern : patterns)
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    result << QStringLiteral("%1 (%2)").arg(text, patterns.join(QLatin1Char(' ')));
  }
  return result;
}

QString FilterSuffix(const QString& nameFilter) {
  static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([^ )*?]+)"));
  const QRegularExpressionMatch match = firstPattern.match(nameFilter);
  return match.hasMatch() ? match.captured(1) : QString();
}

bool TFileDialog::Execute(QWidget* parent) {
  FolderCheckingDialog dialog(parent, QString::fromStdString(Title), Options & ofPathMustExist,
                              kind_ == Kind::Save ? RefuseTarget : nullptr);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(kind_ == Kind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode((Options & ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Options & ofOverwritePrompt));
  const QStringList filters = QtNameFilters(Filter);
  dialog.setNameFilters(filters);
  QString defaultSuffix = QString::fromStdString(DefaultExt);
  if (FilterIndex >= 1 && FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[FilterIndex - 1]);
    const QString suffix = FilterSuffix(filters[FilterIndex - 1]);
    if (!defaultSuffix.isEmpty() && kind_ == Kind::Save && !suffix.isEmpty()) defaultSuffix = suffix;
  }
  if (!defaultSuffix.isEmpty()) {
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without extension gets the one of the filter shown, so that the
    // overwrite question is asked about the file that will really be written.
    if (kind_ == Kind::Save)
      QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QString suffix = FilterSuffix(filter);
        if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
      });
  }
  if (!FileName.empty()) {
    const QFileInfo previous(QString::fromStdString(FileName));
    dialog.setDirectory(previous.absolutePath());
    dialog.selectFile(previous.fileName());
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  FileName = chosen.first().toStdString();
  FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}

}  // namespace toolkit
