// Open and save dialogs over QFileDialog. Qt's own (not the desktop's) dialog is used, so
// that the dialogs look and behave the same everywhere and tests can drive them.
#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace toolkit {

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

bool TFileDialog::Execute(QWidget* parent) {
  QFileDialog dialog(parent, QString::fromStdString(Title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(kind_ == Kind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode((Options & ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Options & ofOverwritePrompt));
  dialog.setNameFilters(QtNameFilters(Filter));
  if (!DefaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(DefaultExt));
  if (!FileName.empty()) {
    const QFileInfo previous(QString::fromStdString(FileName));
    dialog.setDirectory(previous.absolutePath());
    dialog.selectFile(previous.fileName());
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  FileName = chosen.first().toStdString();
  return true;
}

}  // namespace toolkit
