// The main window's labels for an estimate: what "Parameter" shows, and what the
// control-point analysis shows when its result is taken over, in Helmert's labels or, for a
// congruent or affine estimate, in the same places with the model named in the caption.
#include "Controls.h"
#include "ModelTexts.h"
#include "ParameterRun.h"
#include "Tramis_Unit1.h"

#include <QGroupBox>

namespace {

// The captions of the labels in the rows of a, o, m and d, and whether "gon" follows d.
struct RowCaptions {
  const char* a;
  const char* o;
  const char* m;
  const char* d;
  bool gon;
};
constexpr RowCaptions kSimilarityCaptions{"a =", "o =", "m =", "d =", true};
constexpr RowCaptions kAffineCaptions{"a1 =", "a2 =", "b1 =", "b2 =", false};

void setCaption(QLabel* label, const char* text) {
  label->setText(QString::fromUtf8(text));
  label->adjustSize();
}

}  // namespace

void TForm2::ShowCentroids(char sep) {
  const compute::CentroidTexts centroids = compute::centroidTexts(solver, sep);
  lab_HWAS->SetText(QString::fromStdString(centroids.HWAS));
  lab_RWAS->SetText(QString::fromStdString(centroids.RWAS));
  lab_HWZS->SetText(QString::fromStdString(centroids.HWZS));
  lab_RWZS->SetText(QString::fromStdString(centroids.RWZS));
}

void TForm2::ShowParameters(const compute::ParameterRun& run, char sep) {
  const compute::ParameterTexts texts = compute::parameterTexts(solver, run, sep);
  GroupBox1->setTitle(QStringLiteral("Parameter"));
  GroupBox1->setToolTip(QString());
  for (const auto& [label, caption] : {std::pair{Label3, kSimilarityCaptions.a}, {Label4, kSimilarityCaptions.o},
                                       {Label5, kSimilarityCaptions.m}, {Label6, kSimilarityCaptions.d}})
    setCaption(label, caption);
  Label7->setVisible(kSimilarityCaptions.gon);
  lab_X->SetText(QString::fromStdString(texts.X));
  lab_Y->SetText(QString::fromStdString(texts.Y));
  lab_a->SetText(QString::fromStdString(texts.a));
  lab_o->SetText(QString::fromStdString(texts.o));
  lab_m->SetText(QString::fromStdString(texts.m));
  lab_d->SetText(QString::fromStdString(texts.d));
  lab_So->SetText(QString::fromStdString(texts.So));
}

void TForm2::ShowModelParameters(const analysis::ControlPointAnalysis& analysis, char sep) {
  const bool affine = analysis.model == models::Model::Affine;
  const RowCaptions& captions = affine ? kAffineCaptions : kSimilarityCaptions;
  GroupBox1->setTitle(QStringLiteral("Parameter (%1)").arg(QString::fromUtf8(analysis::modelName(analysis.model))));
  for (const auto& [label, caption] :
       {std::pair{Label3, captions.a}, {Label4, captions.o}, {Label5, captions.m}, {Label6, captions.d}})
    setCaption(label, caption);
  Label7->setVisible(captions.gon);

  // Lines in the order of analysis::parameterLines: Xo, Yo, then the model's factors and
  // derived figures.
  const std::vector<analysis::ParameterLine> lines = analysis::parameterLines(analysis, sep);
  auto value = [&lines](std::size_t i) { return QString::fromStdString(lines[i].value); };
  lab_X->SetText(value(0));
  lab_Y->SetText(value(1));
  lab_a->SetText(value(2));
  lab_o->SetText(value(3));
  if (affine) {
    lab_m->SetText(value(4));
    lab_d->SetText(value(5));
  } else {
    // The congruent model's m is held at 1; shown as "Parameter" derives it from a and o.
    const compute::ParameterTexts derived = compute::parameterTexts(solver, analysis.run, sep);
    lab_m->SetText(QString::fromStdString(derived.m));
    lab_d->SetText(QString::fromStdString(derived.d));
  }
  lab_So->SetText(QString::fromStdString(compute::standardDeviationText(analysis.run.So, sep)));

  // The model, its formula and every figure, also those the labels have no room for.
  QString tip = QString::fromUtf8(analysis::modelTitle(analysis.model)) + QLatin1Char('\n') +
                QString::fromUtf8(analysis::modelFormula(analysis.model));
  for (const analysis::ParameterLine& line : lines)
    tip += QLatin1Char('\n') + QString::fromStdString(line.label + " = " + line.value +
                                                      (line.unit.empty() ? "" : " " + line.unit));
  GroupBox1->setToolTip(tip);
}
