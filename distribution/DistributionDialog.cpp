// Layout and behaviour of the "Transformation mit Restklaffenverteilung" dialog.
#include "DistributionDialog.h"

#include "DistributionTexts.h"
#include "Multiquadric.h"
#include "ResidualPlot.h"
#include "ResidualPlotWidget.h"
#include "TextConversions.h"
#include "WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace distribution {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// A size that suits a 1366 x 768 screen.
constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 620;
// What the spin boxes take [m], and the decimals they show.
constexpr double kLargestLength = 1e7;
constexpr int kLengthDecimals = 3;
// Corrections are shown to a tenth of a millimetre.
constexpr int kCorrectionDecimals = 4;

bool isDistanceWeighting(Method method) {
  return method == Method::DistanceWeightingP1 || method == Method::DistanceWeightingP1_5 ||
         method == Method::DistanceWeightingP2;
}

QDoubleSpinBox* lengthBox(QWidget* parent, double value) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(0, kLargestLength);
  box->setDecimals(kLengthDecimals);
  box->setSuffix(QStringLiteral(" m"));
  box->setValue(value);
  // A value typed in counts when it is complete, not with every digit.
  box->setKeyboardTracking(false);
  return box;
}

}  // namespace

DistributionDialog::DistributionDialog(QWidget* parent, const PointList& oldPoints,
                                       const kel::TKEL_Vovezorevarovaduvorir& solver,
                                       EstimateControlPoints controlPoints)
    : QDialog(parent),
      oldPoints_(oldPoints),
      solver_(solver),
      controlPoints_(std::move(controlPoints)),
      separator_(toolkit::RegionalDecimalSeparator()) {
  setWindowTitle(QStringLiteral("Transformation mit Restklaffenverteilung"));
  setSizeGripEnabled(true);
  resize(kDefaultWidth, kDefaultHeight);

  Plot = new analysis::ResidualPlotWidget(separator_, this);
  std::vector<std::string> labels;
  labels.reserve(oldPoints_.count());
  for (std::size_t i = 0; i < oldPoints_.count(); ++i) labels.push_back(pointLabel(i));
  Plot->setLabels(std::move(labels));

  SaveButton = new QPushButton(QStringLiteral("Speichern..."), this);
  CloseButton = new QPushButton(QStringLiteral("Schließen"), this);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(SaveButton);
  buttons->addWidget(CloseButton);

  auto* side = new QVBoxLayout;
  side->addWidget(buildSettings());
  side->addWidget(buildFigures());
  side->addStretch();
  auto* body = new QHBoxLayout;
  body->addLayout(side);
  body->addWidget(Plot, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);

  recompute();
  connect(MethodBox, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
  connect(RadiusCheck, &QCheckBox::toggled, this, [this] { recompute(); });
  connect(RadiusBox, &QDoubleSpinBox::valueChanged, this, [this] { recompute(); });
  connect(DeltaCheck, &QCheckBox::toggled, this, [this] { recompute(); });
  connect(DeltaBox, &QDoubleSpinBox::valueChanged, this, [this] { recompute(); });
}

DistributionDialog::~DistributionDialog() = default;

QWidget* DistributionDialog::buildSettings() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  form->setContentsMargins(0, 0, 0, 0);
  MethodBox = new QComboBox(box);
  for (const MethodName& entry : kMethodNames) {
    MethodBox->addItem(QString::fromUtf8(entry.name));
    if (entry.method == Settings{}.method) MethodBox->setCurrentIndex(MethodBox->count() - 1);
  }
  form->addRow(QStringLiteral("Verfahren:"), MethodBox);

  // The default delta is a figure of the control points alone; it is shown whatever the
  // method, so that an own value can be set beside it.
  PreparedControlPoints prepared;
  const bool preparable = prepareControlPoints(controlPoints_.points, prepared).problem == SetupProblem::None;
  const double defaultDelta = preparable ? meanNearestNeighbourDistance(prepared) : 0.0;

  RadiusCheck = new QCheckBox(QStringLiteral("Radius:"), box);
  RadiusBox = lengthBox(box, defaultDelta > 0 ? 10 * defaultDelta : 100.0);
  form->addRow(RadiusCheck, RadiusBox);
  DeltaCheck = new QCheckBox(QStringLiteral("δ:"), box);
  DeltaBox = lengthBox(box, defaultDelta);
  form->addRow(DeltaCheck, DeltaBox);
  DeltaDefaultLine = new QLabel(box);
  DeltaDefaultLine->setWordWrap(true);
  DeltaDefaultLine->setText(
      preparable ? q("Vorgabe für δ: " +
                     toolkit::FloatToStrF(defaultDelta, toolkit::TFloatFormat::ffFixed, 15,
                                          kLengthDecimals, separator_) +
                     " m, der mittlere Abstand der Paßpunkte zum nächsten Paßpunkt")
                 : QString());
  form->addRow(DeltaDefaultLine);
  return box;
}

QWidget* DistributionDialog::buildFigures() {
  auto* box = new QWidget(this);
  auto* lines = new QVBoxLayout(box);
  lines->setContentsMargins(0, 8, 0, 0);
  for (QLabel** line : {&ControlPointLine, &LargestLine, &MeanLine, &UncorrectedLine, &ProblemLine}) {
    *line = new QLabel(box);
    (*line)->setWordWrap(true);
    (*line)->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lines->addWidget(*line);
  }
  ProblemLine->setStyleSheet(QStringLiteral("color: #d01c1c"));
  ProblemLine->hide();
  ControlPointLine->setText(q("Paßpunkte: " + toolkit::IntToStr(static_cast<long long>(controlPoints_.points.size()))));
  return box;
}

Settings DistributionDialog::settings() const {
  Settings settings;
  settings.method = kMethodNames[static_cast<std::size_t>(std::max(0, MethodBox->currentIndex()))].method;
  if (isDistanceWeighting(settings.method) && RadiusCheck->isChecked()) settings.radius = RadiusBox->value();
  if (settings.method == Method::Multiquadric && DeltaCheck->isChecked()) settings.delta = DeltaBox->value();
  return settings;
}

std::string DistributionDialog::pointLabel(std::size_t i) const {
  const std::string_view name = oldPoints_.nameAt(i);
  return name.empty() ? toolkit::IntToStr(static_cast<long long>(i + 1)) : toolkit::DisplayText(name);
}

void DistributionDialog::recompute() {
  const Settings shown = settings();
  const bool weighting = isDistanceWeighting(shown.method);
  RadiusCheck->setEnabled(weighting);
  RadiusBox->setEnabled(weighting && RadiusCheck->isChecked());
  DeltaCheck->setEnabled(shown.method == Method::Multiquadric);
  DeltaBox->setEnabled(shown.method == Method::Multiquadric && DeltaCheck->isChecked());

  toolkit::WaitCursor busy;
  const DistributionSetup setup = prepareDistribution(controlPoints_.points, shown);
  if (!setup.distribution) {
    auto name = [this](std::size_t j) {
      const std::string& text = controlPoints_.names.at(j);
      return text.empty() ? toolkit::IntToStr(static_cast<long long>(j + 1)) : toolkit::DisplayText(text);
    };
    showProblem(setupProblemMessage(setup.result, controlPoints_.points.size(), name));
    return;
  }
  corrected_ = correctPoints(oldPoints_, solver_, *setup.distribution, controlPoints_);
  const CorrectedPoints& c = *corrected_;

  std::vector<analysis::PlotPair> pairs(c.size());
  for (std::size_t i = 0; i < c.size(); ++i) {
    analysis::PlotPair& pair = pairs[i];
    pair.rw = c.rw[i];
    pair.hw = c.hw[i];
    pair.vRW = c.dRW[i];
    pair.vHW = c.dHW[i];
    // A point without correction is drawn as a check point is, without an arrow.
    pair.active = c.corrected[i];
    pair.roundOff = !c.corrected[i] || (c.dRW[i] == 0 && c.dHW[i] == 0);
  }
  Plot->setPairs(std::move(pairs));

  auto metres = [this](double value) {
    return toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, 15, kCorrectionDecimals, separator_) + " m";
  };
  LargestLine->setText(c.largest ? q("Größte Korrektur: " + metres(c.largestLength) + " (Punkt " +
                                     pointLabel(*c.largest) + ")")
                                 : QStringLiteral("Größte Korrektur: -"));
  MeanLine->setText(c.largest ? q("Mittlere Korrektur: " + metres(c.meanLength))
                              : QStringLiteral("Mittlere Korrektur: -"));
  std::string without = "Punkte ohne Korrektur: " + toolkit::IntToStr(static_cast<long long>(c.uncorrectedCount));
  if (c.uncorrectedCount > 0)
    without += shown.method == Method::Triangles ? " (außerhalb der Dreiecksvermaschung)"
               : shown.radius                     ? " (kein Paßpunkt im Radius)"
                                                  : "";
  UncorrectedLine->setText(q(without));
  ProblemLine->hide();
  SaveButton->setEnabled(true);
}

void DistributionDialog::showProblem(const std::string& text) {
  corrected_.reset();
  Plot->setPairs({});
  LargestLine->setText(QStringLiteral("Größte Korrektur: -"));
  MeanLine->setText(QStringLiteral("Mittlere Korrektur: -"));
  UncorrectedLine->setText(QString());
  ProblemLine->setText(q(text));
  ProblemLine->show();
  SaveButton->setEnabled(false);
}

}  // namespace distribution
