// Layout and behaviour of the "Paßpunktanalyse" dialog.
#include "ControlPointDialog.h"

#include "AnalysisTexts.h"
#include "Application.h"
#include "ModelTexts.h"
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
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
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
// The other models' parameter lines: the affine model's ten and So, in columns of six.
constexpr int kModelLines = 11;
constexpr int kModelLinesPerColumn = 6;

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
  if (a.criticalActive) line = part(a.criticalActive, a.testDof(true), "aktive");
  if (a.criticalSwitchedOff) {
    if (!line.empty()) line += ", ";
    line += part(a.criticalSwitchedOff, a.testDof(false), "abgeschaltete");
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
  comparison_ = models::compareModels(oldPairs_, newPairs_, active_, analysis_.alpha);
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
  auto* outer = new QVBoxLayout(figures);
  outer->setContentsMargins(0, 0, 0, 0);

  ModelBox = new QComboBox(figures);
  for (const models::Model model : models::kAllModels)
    ModelBox->addItem(QString::fromUtf8(modelTitle(model)), static_cast<int>(model));
  ModelBox->setCurrentIndex(ModelBox->findData(static_cast<int>(analysis_.model)));
  auto* modelLabel = new QLabel(QStringLiteral("Modell:"), figures);
  modelLabel->setBuddy(ModelBox);
  PairingLine = new QLabel(figures);
  auto* modelRow = new QHBoxLayout;
  modelRow->addWidget(modelLabel);
  modelRow->addWidget(ModelBox);
  modelRow->addSpacing(24);
  modelRow->addWidget(PairingLine);
  modelRow->addStretch();
  outer->addLayout(modelRow);

  auto* grid = new QGridLayout;
  ParameterPages = new QStackedWidget(figures);
  ParameterPages->addWidget(buildHelmertParameters());
  ParameterPages->addWidget(buildModelParameters());
  grid->addWidget(ParameterPages, 0, 0, 5, 1, Qt::AlignTop);

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
  grid->addWidget(CountLine, 0, 2);
  grid->addLayout(alphaRow, 1, 2);
  grid->addWidget(VerdictLine, 2, 2, Qt::AlignTop);
  grid->addWidget(CheckPointLines, 3, 2, 2, 1, Qt::AlignTop);
  grid->setColumnMinimumWidth(1, 24);
  grid->setColumnStretch(2, 1);
  outer->addLayout(grid);
  outer->addWidget(buildComparison());

  connect(AlphaBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    toolkit::RunGuarded([&] { recompute(active_, AlphaBox->itemData(index).toDouble(), analysis_.model); });
  });
  connect(ModelBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    toolkit::RunGuarded([&] { setModel(static_cast<models::Model>(ModelBox->itemData(index).toInt())); });
  });
  return figures;
}

QWidget* ControlPointDialog::buildHelmertParameters() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  // Two columns of parameters, as name and right-aligned value.
  const struct {
    const char* name;
    QLabel** value;
    int row, column;
  } parameters[] = {{"Xo =", &lab_X, 0, 0}, {"Yo =", &lab_Y, 1, 0}, {"a =", &lab_a, 2, 0},
                    {"o =", &lab_o, 3, 0},  {"m =", &lab_m, 0, 2}, {"d =", &lab_d, 1, 2},
                    {"So =", &lab_So, 2, 2}};
  for (const auto& p : parameters) {
    grid->addWidget(new QLabel(QString::fromUtf8(p.name), page), p.row, p.column);
    *p.value = valueLabel(page);
    grid->addWidget(*p.value, p.row, p.column + 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("gon"), page), 1, 4);
  grid->setColumnMinimumWidth(1, 110);
  grid->setColumnMinimumWidth(3, 110);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* ControlPointDialog::buildModelParameters() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  // Two columns of name, value and unit, filled column by column.
  for (int line = 0; line < kModelLines; ++line) {
    const int row = line % kModelLinesPerColumn;
    const int column = 3 * (line / kModelLinesPerColumn);
    ModelNames.push_back(new QLabel(page));
    ModelValues.push_back(valueLabel(page));
    ModelUnits.push_back(new QLabel(page));
    grid->addWidget(ModelNames.back(), row, column);
    grid->addWidget(ModelValues.back(), row, column + 1);
    grid->addWidget(ModelUnits.back(), row, column + 2);
  }
  grid->setColumnMinimumWidth(1, 110);
  grid->setColumnMinimumWidth(4, 110);
  return page;
}

QWidget* ControlPointDialog::buildComparison() {
  auto* box = new QWidget(this);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  ComparisonLine = new QLabel(box);
  ComparisonVerdicts = new QLabel(box);
  for (QLabel* label : {ComparisonLine, ComparisonVerdicts}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
  }
  return box;
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
  return recompute(flags, analysis_.alpha, analysis_.model);
}

bool ControlPointDialog::setModel(models::Model model) {
  if (model == analysis_.model) return false;
  const bool changed = recompute(active_, analysis_.alpha, model);
  // A refused model leaves the choice as it was.
  const QSignalBlocker quiet(ModelBox);
  ModelBox->setCurrentIndex(ModelBox->findData(static_cast<int>(analysis_.model)));
  return changed;
}

bool ControlPointDialog::recompute(const std::vector<bool>& active, double alpha, models::Model model) {
  const bool helmert = model == models::Model::Helmert;
  ControlPointAnalysis next = helmert ? analyseControlPoints(oldPairs_, newPairs_, active, alpha, *solver_)
                                      : analyseModel(model, oldPairs_, newPairs_, active, alpha);
  // The solver holds the Helmert estimate of the pairs shown whatever the model: the main
  // window takes its centroids over.
  if (!helmert && next.outcome == AnalysisOutcome::Success) {
    const AnalysisOutcome helmertOutcome =
        analyseControlPoints(oldPairs_, newPairs_, active, alpha, *solver_).outcome;
    if (helmertOutcome != AnalysisOutcome::Success) next.outcome = helmertOutcome;
  }
  if (next.outcome != AnalysisOutcome::Success) {
    // The solver must hold the estimate shown; put it back.
    ControlPointAnalysis restored = analyseControlPoints(oldPairs_, newPairs_, active_, analysis_.alpha, *solver_);
    if (analysis_.model == models::Model::Helmert) analysis_ = std::move(restored);
    toolkit::MessageBox(outcomeMessage(next.outcome, model), compute::kSolveErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return false;
  }
  analysis_ = std::move(next);
  active_ = active;
  comparison_ = models::compareModels(oldPairs_, newPairs_, active_, alpha);
  showAnalysis();
  return true;
}

void ControlPointDialog::showParameters() {
  if (analysis_.model == models::Model::Helmert) {
    const compute::ParameterTexts texts = compute::parameterTexts(*solver_, analysis_.run, separator_);
    lab_X->setText(q(texts.X));
    lab_Y->setText(q(texts.Y));
    lab_a->setText(q(texts.a));
    lab_o->setText(q(texts.o));
    lab_m->setText(q(texts.m));
    lab_d->setText(q(texts.d));
    lab_So->setText(q(texts.So));
    ParameterPages->setCurrentIndex(0);
    return;
  }
  std::vector<ParameterLine> lines = parameterLines(analysis_, separator_);
  lines.push_back({"So", compute::standardDeviationText(analysis_.run.So, separator_), ""});
  for (std::size_t i = 0; i < ModelNames.size(); ++i) {
    const bool shown = i < lines.size();
    ModelNames[i]->setText(shown ? q(lines[i].label + " =") : QString());
    ModelValues[i]->setText(shown ? q(lines[i].value) : QString());
    ModelUnits[i]->setText(shown ? q(lines[i].unit) : QString());
    for (QLabel* label : {ModelNames[i], ModelValues[i], ModelUnits[i]}) label->setVisible(shown);
  }
  ParameterPages->setCurrentIndex(1);
}

void ControlPointDialog::showAnalysis() {
  showParameters();
  CountLine->setText(q(activeCountLine(analysis_)));
  CriticalLine->setText(q(criticalValuesLine(analysis_, separator_)));
  VerdictLine->setText(q(verdictLine(analysis_, oldPairs_, newPairs_, separator_)));
  std::string checkPoints;
  for (const std::string& line : failedCheckPointLines(analysis_, oldPairs_, newPairs_, separator_, kCheckPointLinesShown))
    checkPoints += (checkPoints.empty() ? "" : "\n") + line;
  CheckPointLines->setText(q(checkPoints));
  CheckPointLines->setVisible(!checkPoints.empty());
  std::string summaries = "Modellvergleich: ";
  for (const models::Model model : models::kAllModels)
    summaries += (model == models::kAllModels[0] ? "" : "; ") + modelSummaryLine(comparison_.summary(model), separator_);
  ComparisonLine->setText(q(summaries));
  ComparisonVerdicts->setText(q(nestedTestLine(comparison_.helmertAgainstCongruent, comparison_.alpha, separator_) + "\n" +
                                nestedTestLine(comparison_.affineAgainstHelmert, comparison_.alpha, separator_) + "\n" +
                                preferredModelLine(comparison_, separator_)));
  Model->setAnalysis(&analysis_);
  SortedModel->resort();
  Plot->setPairs(plotPairs(analysis_, oldPairs_, newPairs_));
}

}  // namespace analysis
