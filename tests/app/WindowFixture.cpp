// Program state reset and file reading through the real commands for window tests.
#include "WindowFixture.h"

#include "Controls.h"
#include "StringGrid.h"

#include <QTest>

namespace testsupport {

void resetProgramState() {
  oldPoints.clear();
  newPoints.clear();
  solver.resize(0, 0);
  solver.reduced.resize(0, 0);
  solver.centroid.resize(0, 0);
  solver.residuals.resize(0, 0);
  solver.a = solver.o = solver.Yo = solver.Xo = 0;
  solver.So = 0;
  solver.status = 0;
}

WindowFixture::WindowFixture() {
  resetProgramState();
  form_ = std::make_unique<TForm2>(nullptr);
  Form2 = form_.get();
  driver_ = std::make_unique<ModalDriver>();
}

WindowFixture::~WindowFixture() {
  driver_.reset();
  Form2 = nullptr;
  form_.reset();
  resetProgramState();
}

std::string WindowFixture::write(const std::string& name, const std::string& content) {
  const std::string path = dir_.file(name);
  writeFile(path, content);
  return path;
}

void WindowFixture::readOld(const std::string& content, const std::string& name) {
  driver_->chooseFile(write(name, content));
  form_->mnuAltsystemClick(nullptr);
  QVERIFY(driver_->idle());
}

void WindowFixture::readNew(const std::string& content, const std::string& name) {
  driver_->chooseFile(write(name, content));
  form_->mnuNeusystemClick(nullptr);
  QVERIFY(driver_->idle());
}

QString WindowFixture::cell(int column, int row) const {
  return form_->StringGrid1->GetCells(column, row);
}

QStringList WindowFixture::labelTexts() const {
  QStringList texts;
  for (auto* label : {form_->lab_X, form_->lab_Y, form_->lab_a, form_->lab_o, form_->lab_m, form_->lab_d,
                      form_->lab_So, form_->lab_HWAS, form_->lab_RWAS, form_->lab_HWZS, form_->lab_RWZS})
    texts << label->text();
  return texts;
}

QStringList WindowFixture::cellTexts() const {
  QStringList texts;
  for (int row = 0; row < form_->StringGrid1->RowCount(); ++row)
    for (int column = 0; column < 3; ++column) texts << cell(column, row);
  return texts;
}

}  // namespace testsupport
