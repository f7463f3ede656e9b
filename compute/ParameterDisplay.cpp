// The main window's labels for an estimate the solver holds: what "Parameter" shows, and
// what the control-point analysis shows when its result is taken over.
#include "Controls.h"
#include "ParameterRun.h"
#include "Tramis_Unit1.h"

void TForm2::ShowCentroids(char sep) {
  const compute::CentroidTexts centroids = compute::centroidTexts(solver, sep);
  lab_HWAS->SetText(QString::fromStdString(centroids.HWAS));
  lab_RWAS->SetText(QString::fromStdString(centroids.RWAS));
  lab_HWZS->SetText(QString::fromStdString(centroids.HWZS));
  lab_RWZS->SetText(QString::fromStdString(centroids.RWZS));
}

void TForm2::ShowParameters(const compute::ParameterRun& run, char sep) {
  const compute::ParameterTexts texts = compute::parameterTexts(solver, run, sep);
  lab_X->SetText(QString::fromStdString(texts.X));
  lab_Y->SetText(QString::fromStdString(texts.Y));
  lab_a->SetText(QString::fromStdString(texts.a));
  lab_o->SetText(QString::fromStdString(texts.o));
  lab_m->SetText(QString::fromStdString(texts.m));
  lab_d->SetText(QString::fromStdString(texts.d));
  lab_So->SetText(QString::fromStdString(texts.So));
}
