// The "About" command of the main window: shows the About dialog modally.
#include "About.h"
#include "Tramis_Unit1.h"

#include <QTimer>

#include <memory>

void TForm2::mnuAboutClick(QObject*) {
  // A fresh dialog for every use, destroyed when it has closed.
  const std::unique_ptr<TfrmAbout> dialog = std::make_unique<TfrmAbout>(this);
  // Switched off before showing, so the dialog never closes by itself.
  dialog->Timer1->stop();
  dialog->ShowVersion();
  dialog->exec();
}
