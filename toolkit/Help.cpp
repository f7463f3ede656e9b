// The program's help: the help file's name and the calls that show one of its topics.
#include "Help.h"

#include "HelpWindow.h"

#include <QString>

namespace toolkit {

namespace {

std::string& helpFileName() {
  static std::string name;
  return name;
}

}  // namespace

void SetHelpFile(const std::string& fileName) { helpFileName() = fileName; }

const std::string& HelpFile() { return helpFileName(); }

void HelpJump(const std::string& topic) {
  HelpWindow::instance()->showTopic(HelpFile(), QString::fromStdString(topic));
}

void HelpContext(int context) {
  HelpWindow::instance()->showTopic(HelpFile(), HelpContextAnchor(context));
}

}  // namespace toolkit
