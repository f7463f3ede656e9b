// The help window: shows the topics of the program's help file, an HTML document whose
// topics are its anchors. A topic is addressed by name ("Inhalt") or by its help context
// number n, which is the anchor "kontext-n".
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace toolkit {

// Where the help file `fileName` is: a full path as it is, a bare name beside the
// executable, then in the program data folder of an installation (../share/tramis next
// to the executable's folder, then the system's data folders). `searched` receives the
// places tried. An empty result means the file was not found.
std::string LocateHelpFile(const std::string& fileName, QStringList* searched = nullptr);

// The anchor that stands for help context number `context`.
QString HelpContextAnchor(int context);

class HelpWindow : public QWidget {
  Q_OBJECT
public:
  HelpWindow();

  // Shows the topic with the anchor `topic` of the help file `fileName` (located with
  // LocateHelpFile). A missing file or an unknown topic is said in the window.
  void showTopic(const std::string& fileName, const QString& topic);

  // The topic asked for last, and whether it was found in the help file.
  QString currentTopic() const { return currentTopic_; }
  bool topicFound() const { return topicFound_; }
  // The full path of the help file shown, or empty when none could be found.
  QString helpFilePath() const { return helpFilePath_; }
  QTextBrowser* browser() const { return browser_; }
  // The line that reports an unknown topic or a missing file (empty when all is well).
  QString notice() const;

  // The window that HelpJump and HelpContext use, created on first use.
  static HelpWindow* instance();
  // The window if there is one, without creating it.
  static HelpWindow* existing();

private:
  bool hasAnchor(const QString& anchor) const;
  void showNotice(const QString& text);

  QTextBrowser* browser_;
  QLabel* notice_;
  QPushButton* contents_;
  QPushButton* back_;
  QPushButton* forward_;
  QString currentTopic_;
  QString helpFilePath_;
  bool topicFound_ = false;
};

}  // namespace toolkit
