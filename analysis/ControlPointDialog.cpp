// Layout and behaviour of the "Paßpunktanalyse" dialog.
#include "ControlPointDialog.h"

#include "AnalysisTexts.h"
#include "Application.h"
#include "DegreesOfFreedom.h"
#include "PairTableModel.h"
#include "ParameterRun.h"
#include "ResidualPlot.h"
#include "ResidualPlotWidget.h"
#include "TextConversions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace analysis {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// Failed check points named one per line above the table; beyond this many the rest is
// a count, the table shows them all.
constexpr std::size_t kCheckPointLinesShown = 5;

// A size that suits a 1366 x 768 screen.
constexpr int kDefaultWidth = 1180;
constexpr int kDefaultHeight = 660;
// The widest the Name column starts.
constexpr int kNameColumnMaxWidth = 260;

QLabel* valueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// "k = 18,49 (f = 8) für aktive, k = 13,81 (f = 10) für abgeschaltete Paßpunkte"
std::string criticalValuesLine(const ControlPointAnalysis& a, char sep) {
  auto part = [&](const std::optional<long double>& k, long long dof, const char* which) {
    return "k = " + testValueText(*k, sep) + " (f = " + toolkit::IntToStr(dof) + ") für " + which;
  };
  std::string line;
  if (a.criticalActive) line = part(a.criticalActive, testDegreesOfFreedom(a.activeCount, true), "aktive");
  if (a.criticalSwitchedOff) {
    if (!line.empty()) line += ", ";
    line += part(a.criticalSwitchedOff, testDegreesOfFreedom(a.activeCount, false), "abgeschaltete");
  }
  return line.empty() ? "k: zu wenige aktive Paßpunkte für einen Punkttest" : line + " Paßpunkte";
}

}  // namespace

ControlPointDialog::ControlPointDialog(QWidget* parent, const PointList& oldPairs,
                                       const PointList& newPairs, std::vector<bool> active,
                                       std::unique_ptr<kel::TKEL_Vovezorevarovaduvorir> solver,
                                       ControlPointAnalysis analysis)
    : QDialog(parent),
      oldPairs_(oldPairs),
      newPairs_(newPairs),
      separator_(toolkit::RegionalDecimalSeparator()),
      active_(std::move(active)),
      solver_(std::move(solver)),
      analysis_(std::move(analysis)) {
  if (active_.size() != analysis_.pairCount) active_.assign(analysis_.pairCount, true);
  setWindowTitle(QStringLiteral("Paßpunktanalyse"));
  setSizeGripEnabled(true);
  resize(kDefaultWidth, kDefaultHeight);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(buildTable());
  Plot = new ResidualPlotWidget(separator_, splitter);
  Plot->setObjectName(QStringLiteral("residualPlot"));
  Plot->setLabels(plotLabels(oldPairs_, newPairs_, analysis_.pairCount));
  splitter->addWidget(Plot);
  // The table as wide as its columns, the plot the rest.
  int tableWidth = PairTable->verticalScrollBar()->sizeHint().width() + 2 * PairTable->frameWidth();
  for (int column = 0; column < PairTableModel::ColumnCount; ++column) tableWidth += PairTable->columnWidth(column);
  splitter->setSizes({tableWidth, kDefaultWidth - tableWidth});
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);

  ProtocolButton = new QPushButton(QStringLiteral("Protokoll speichern..."), this);
  PointsButton = new QPushButton(QStringLiteral("QGIS-Datei speichern..."), this);
  ApplyButton = new QPushButton(QStringLiteral("Übernehmen"), this);
  CloseButton = new QPushButton(QStringLiteral("Schließen"), this);
  for (QPushButton* button : {ProtocolButton, PointsButton, ApplyButton, CloseButton}) button->setAutoDefault(false);
  connect(ApplyButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ProtocolButton);
  buttons->addWidget(PointsButton);
  buttons->addStretch();
  buttons->addWidget(ApplyButton);
  buttons->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildFigures());
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  connectSelection();
  showAnalysis();
  PairTable->setFocus();  // keys go to the table (Space ticks), not to the level's choice
}

ControlPointDialog::~ControlPointDialog() = default;

QWidget* ControlPointDialog::buildFigures() {
  auto* figures = new QWidget(this);
  auto* grid = new QGridLayout(figures);
  grid->setContentsMargins(0, 0, 0, 0);
  // Two columns of parameters, as name and right-aligned value, then the statistics.
  const struct {
    const char* name;
    QLabel** value;
    int row, column;
  } parameters[] = {{"Xo =", &lab_X, 0, 0}, {"Yo =", &lab_Y, 1, 0}, {"a =", &lab_a, 2, 0},
                    {"o =", &lab_o, 3, 0},  {"m =", &lab_m, 0, 2}, {"d =", &lab_d, 1, 2},
                    {"So =", &lab_So, 2, 2}};
  for (const auto& p : parameters) {
    grid->addWidget(new QLabel(QString::fromUtf8(p.name), figures), p.row, p.column);
    *p.value = valueLabel(figures);
    grid->addWidget(*p.value, p.row, p.column + 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("gon"), figures), 1, 4);

  CountLine = new QLabel(figures);
  AlphaBox = new QComboBox(figures);
  for (double alpha : kAlphas) AlphaBox->addItem(q(alphaText(alpha, separator_)), alpha);
  // The level the analysis was made with: the one chosen last in this run.
  if (AlphaBox->findData(analysis_.alpha) < 0) AlphaBox->addItem(q(alphaText(analysis_.alpha, separator_)), analysis_.alpha);
  AlphaBox->setCurrentIndex(AlphaBox->findData(analysis_.alpha));
  auto* alphaLabel = new QLabel(QStringLiteral("α ="), figures);
  alphaLabel->setBuddy(AlphaBox);
  CriticalLine = new QLabel(figures);
  VerdictLine = new QLabel(figures);
  VerdictLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
  CheckPointLines = new QLabel(figures);
  CheckPointLines->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = VerdictLine->font();
  bold.setBold(true);
  VerdictLine->setFont(bold);
  CheckPointLines->setFont(bold);

  auto* alphaRow = new QHBoxLayout;
  alphaRow->addWidget(alphaLabel);
  alphaRow->addWidget(AlphaBox);
  alphaRow->addWidget(CriticalLine, 1);
  grid->addWidget(CountLine, 0, 6);
  grid->addLayout(alphaRow, 1, 6);
  grid->addWidget(VerdictLine, 2, 6, Qt::AlignTop);
  grid->addWidget(CheckPointLines, 3, 6, 2, 1, Qt::AlignTop);
  PairingLine = new QLabel(figures);
  grid->addWidget(PairingLine, 3, 2, 1, 3);
  grid->setColumnMinimumWidth(1, 110);
  grid->setColumnMinimumWidth(3, 110);
  grid->setColumnMinimumWidth(5, 24);
  grid->setColumnStretch(6, 1);

  connect(AlphaBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    toolkit::RunGuarded([&] { recompute(active_, AlphaBox->itemData(index).toDouble()); });
  });
  return figures;
}

QWidget* ControlPointDialog::buildTable() {
  Model = new PairTableModel(
      oldPairs_, newPairs_, separator_,
      [this](int pair, bool active) { return setPairActive(static_cast<std::size_t>(pair), active); },
      this);
  SortedModel = new PairSortModel(Model, this);

  PairTable = new QTableView(this);
  PairTable->setObjectName(QStringLiteral("pairTable"));
  PairTable->setModel(SortedModel);
  PairTable->setSortingEnabled(true);
  PairTable->sortByColumn(-1, Qt::AscendingOrder);  // pairing order until a heading is clicked
  PairTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  PairTable->setSelectionMode(QAbstractItemView::SingleSelection);
  PairTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  PairTable->verticalHeader()->hide();
  // Fixed row heights and column widths: no row is measured, however many there are.
  PairTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  PairTable->verticalHeader()->setDefaultSectionSize(PairTable->fontMetrics().height() + 6);
  PairTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // Each column as wide as its heading or its widest usual figure, whichever is wider.
  const QFontMetrics metrics = PairTable->fontMetrics();
  const int digits[PairTableModel::ColumnCount] = {1, 5, 8, 8, 8, 7, 5, 7, 2};
  for (int column = 0; column < PairTableModel::ColumnCount; ++column) {
    const QString heading = Model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    PairTable->setColumnWidth(column, std::max(metrics.horizontalAdvance(heading) + 24,
                                               digits[column] * metrics.horizontalAdvance(QLatin1Char('0')) + 14));
  }
  // The Name column as wide as its longest name, up to a limit; the tooltip shows any name whole.
  const int nameWidth = metrics.horizontalAdvance(Model->longestName()) + 14;
  PairTable->setColumnWidth(PairTableModel::Name,
                            std::clamp(nameWidth, PairTable->columnWidth(PairTableModel::Name), kNameColumnMaxWidth));
  return PairTable;
}

void ControlPointDialog::connectSelection() {
  connect(PairTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            Plot->setHighlighted(static_cast<std::size_t>(SortedModel->mapToSource(current).row()));
          });
  connect(Plot, &ResidualPlotWidget::pointClicked, this, [this](std::size_t pair) {
    const QModelIndex row =
        SortedModel->mapFromSource(Model->index(static_cast<int>(pair), PairTableModel::Number));
    PairTable->setCurrentIndex(row);
    PairTable->scrollTo(row);
  });
}

bool ControlPointDialog::setPairActive(std::size_t pair, bool active) {
  if (pair >= active_.size() || active_[pair] == active) return false;
  std::vector<bool> flags = active_;
  flags[pair] = active;
  if (std::count(flags.begin(), flags.end(), true) < 2) {
    toolkit::MessageBox(compute::kTooFewPairsMessage, compute::kSolveErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return false;
  }
  return recompute(flags, analysis_.alpha);
}

bool ControlPointDialog::recompute(const std::vector<bool>& active, double alpha) {
  ControlPointAnalysis next = analyseControlPoints(oldPairs_, newPairs_, active, alpha, *solver_);
  if (next.outcome != AnalysisOutcome::Success) {
    // The solver must hold the estimate shown; put it back.
    analysis_ = analyseControlPoints(oldPairs_, newPairs_, active_, analysis_.alpha, *solver_);
    toolkit::MessageBox(next.outcome == AnalysisOutcome::PointsCoincide     ? compute::kPointsCoincideMessage
                        : next.outcome == AnalysisOutcome::NotRepresentable ? compute::kNotRepresentableMessage
                                                                            : compute::kTooFewPairsMessage,
                        compute::kSolveErrorCaption, toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return false;
  }
  analysis_ = std::move(next);
  active_ = active;
  showAnalysis();
  return true;
}

void ControlPointDialog::showAnalysis() {
  const compute::ParameterTexts texts = compute::parameterTexts(*solver_, analysis_.run, separator_);
  lab_X->setText(q(texts.X));
  lab_Y->setText(q(texts.Y));
  lab_a->setText(q(texts.a));
  lab_o->setText(q(texts.o));
  lab_m->setText(q(texts.m));
  lab_d->setText(q(texts.d));
  lab_So->setText(q(texts.So));
  CountLine->setText(q(activeCountLine(analysis_)));
  CriticalLine->setText(q(criticalValuesLine(analysis_, separator_)));
  VerdictLine->setText(q(verdictLine(analysis_, oldPairs_, newPairs_, separator_)));
  std::string checkPoints;
  for (const std::string& line : failedCheckPointLines(analysis_, oldPairs_, newPairs_, separator_, kCheckPointLinesShown))
    checkPoints += (checkPoints.empty() ? "" : "\n") + line;
  CheckPointLines->setText(q(checkPoints));
  CheckPointLines->setVisible(!checkPoints.empty());
  Model->setAnalysis(&analysis_);
  SortedModel->resort();
  Plot->setPairs(plotPairs(analysis_, oldPairs_, newPairs_));
}

}  // namespace analysis
