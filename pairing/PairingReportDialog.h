// The window's report "Paarung der Paßpunkte": a small list, not modal, of what the pairing
// in force found after reading or "Parameter" (pairs whose names differ, names given twice,
// points without partner), opened from the status bar's button. It changes nothing; the
// rows and their words are pairing's own (PairingTexts.h).
#pragma once

#include "PairsInForce.h"

#include <QAbstractTableModel>
#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace pairing {

// The findings as a table: Hinweis, Stelle, Altsystem, Neusystem; texts made when a cell is
// shown.
class FindingsModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { Kind, Place, Old, New, ColumnCount };
  using QAbstractTableModel::QAbstractTableModel;

  void setFindings(PairingFindings findings);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  PairingFindings findings_;
};

class PairingReportDialog : public QDialog {
  Q_OBJECT
public:
  explicit PairingReportDialog(QWidget* parent);

  // Shows these findings, with the summary line naming the pairing, or, when the pairing
  // formed no pairs, `refusal` (the reason) in its place.
  void setReport(const PairingFindings& findings, const std::string& refusal);

  QLabel* SummaryLine = nullptr;
  QTableView* FindingsTable = nullptr;
  FindingsModel* Model = nullptr;
  QPushButton* CloseButton = nullptr;
};

// "Paarung nach Reihenfolge: 2 Paare mit verschiedenen Namen" or "…: keine Hinweise".
std::string reportSummaryLine(const PairingFindings& findings);

}  // namespace pairing
