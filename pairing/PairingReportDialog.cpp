// Layout of the report "Paarung der Paßpunkte" and its table model.
#include "PairingReportDialog.h"

#include "PairingTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace pairing {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kDefaultWidth = 560;
constexpr int kDefaultHeight = 320;

}  // namespace

std::string reportSummaryLine(const PairingFindings& findings) {
  const std::string summary = findingsSummary(findings);
  return std::string("Paarung ") + pairingName(findings.mode) + ": " +
         (summary.empty() ? "keine Hinweise" : summary);
}

void FindingsModel::setFindings(PairingFindings findings) {
  beginResetModel();
  findings_ = std::move(findings);
  endResetModel();
}

int FindingsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(findingRowCount(findings_));
}

int FindingsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const FindingRow row = findingRow(findings_, static_cast<std::size_t>(index.row()));
  switch (index.column()) {
    case Kind: return q(row.kind);
    case Place: return q(row.place);
    case Old: return q(row.oldText);
    case New: return q(row.newText);
    default: return {};
  }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeadings[ColumnCount] = {"Hinweis", "Stelle", "Altsystem", "Neusystem"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(kHeadings[section]) : QVariant();
}

PairingReportDialog::PairingReportDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Paarung der Paßpunkte"));
  setModal(false);
  setSizeGripEnabled(true);
  resize(kDefaultWidth, kDefaultHeight);

  SummaryLine = new QLabel(this);
  SummaryLine->setTextFormat(Qt::PlainText);
  SummaryLine->setWordWrap(true);
  SummaryLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Model = new FindingsModel(this);
  FindingsTable = new QTableView(this);
  FindingsTable->setObjectName(QStringLiteral("findingsTable"));
  FindingsTable->setModel(Model);
  FindingsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  FindingsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FindingsTable->verticalHeader()->hide();
  FindingsTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FindingsTable->verticalHeader()->setDefaultSectionSize(FindingsTable->fontMetrics().height() + 6);
  FindingsTable->horizontalHeader()->setStretchLastSection(true);
  const int digit = FindingsTable->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  FindingsTable->setColumnWidth(FindingsModel::Kind, 18 * digit);
  FindingsTable->setColumnWidth(FindingsModel::Place, 16 * digit);
  FindingsTable->setColumnWidth(FindingsModel::Old, 16 * digit);

  CloseButton = new QPushButton(QStringLiteral("Schließen"), this);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SummaryLine);
  layout->addWidget(FindingsTable, 1);
  layout->addLayout(buttons);
}

void PairingReportDialog::setReport(const PairingFindings& findings, const std::string& refusal) {
  SummaryLine->setText(q(refusal.empty() ? reportSummaryLine(findings) : refusal));
  Model->setFindings(findings);
}

}  // namespace pairing
