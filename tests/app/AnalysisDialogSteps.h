// Window tests of the "Paßpunktanalyse": opening it through the window's command.
#pragma once

#include "ControlPointDialog.h"
#include "WindowFixture.h"

#include <QTest>

#include <functional>

namespace testsupport {

// Opens the dialog through the command and runs `steps` on it; closes it if they did not.
inline void withDialog(WindowFixture& f, const std::function<void(analysis::ControlPointDialog&)>& steps) {
  f.driver().onNextModal([steps](QWidget* widget) {
    auto* dialog = qobject_cast<analysis::ControlPointDialog*>(widget);
    QVERIFY2(dialog, "the command did not open the Paßpunktanalyse");
    steps(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  f.form().mnuPasspunkteClick(nullptr);
  QVERIFY(f.driver().idle());
}

}  // namespace testsupport
