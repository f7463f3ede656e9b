// The help window and the search for the help file.
#include "HelpWindow.h"

#include "Application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <QVBoxLayout>

namespace toolkit {

namespace {

const QString kContentsTopic = QStringLiteral("Inhalt");

QPointer<HelpWindow>& theWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

std::string LocateHelpFile(const std::string& fileName, QStringList* searched) {
  if (fileName.empty()) return {};
  const QString name = qs(fileName);
  QStringList candidates;
  if (QFileInfo(name).isAbsolute()) {
    candidates << name;
  } else {
    const std::string exe = GetExeName();
    if (!exe.empty()) {
      const QDir exeDir = QFileInfo(qs(exe)).absoluteDir();
      candidates << exeDir.filePath(name);
      candidates << QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/tramis/") + name));
    }
    for (const QString& dataDir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
      candidates << QDir(dataDir).filePath(QStringLiteral("tramis/") + name);
  }
  candidates.removeDuplicates();
  if (searched) *searched = candidates;
  for (const QString& candidate : candidates) {
    const QFileInfo info(candidate);
    if (info.isFile() && info.isReadable()) return info.absoluteFilePath().toStdString();
  }
  return {};
}

QString HelpContextAnchor(int context) { return QStringLiteral("kontext-%1").arg(context); }

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
  setWindowTitle(QStringLiteral("Hilfe"));
  // The help window is no reason to keep the program running once the main window is
  // closed, and it goes away with the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(640, 560);

  contents_ = new QPushButton(QStringLiteral("&Inhalt"), this);
  back_ = new QPushButton(QStringLiteral("&Zurück"), this);
  forward_ = new QPushButton(QStringLiteral("&Vor"), this);
  notice_ = new QLabel(this);
  notice_->setWordWrap(true);
  notice_->setTextFormat(Qt::PlainText);
  notice_->hide();
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents_);
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(notice_);
  layout->addWidget(browser_);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents_, &QPushButton::clicked, this, [this] {
    if (!helpFilePath_.isEmpty()) showTopic(helpFilePath_.toStdString(), kContentsTopic);
  });
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] { notice_->hide(); });
}

void HelpWindow::showTopic(const std::string& fileName, const QString& topic) {
  currentTopic_ = topic;
  topicFound_ = false;
  QStringList searched;
  helpFilePath_ = qs(LocateHelpFile(fileName, &searched));
  if (helpFilePath_.isEmpty()) {
    const QString name = fileName.empty() ? QStringLiteral("(keine)") : qs(fileName);
    browser_->clear();
    browser_->clearHistory();
    browser_->setHtml(
        QStringLiteral("<h2>Hilfe nicht verfügbar</h2>"
                       "<p>Die Hilfedatei „%1“ wurde nicht gefunden.</p>"
                       "<p>Gesucht wurde an diesen Stellen:</p><ul><li>%2</li></ul>")
            .arg(name.toHtmlEscaped(), searched.join(QStringLiteral("</li><li>"))));
    contents_->setEnabled(false);
    showNotice(QStringLiteral("Die Hilfedatei „%1“ wurde nicht gefunden.").arg(name));
  } else {
    contents_->setEnabled(true);
    QUrl url = QUrl::fromLocalFile(helpFilePath_);
    url.setFragment(topic);
    // The help file has its own extension, so its type is named: it is HTML.
    browser_->setSource(url, QTextDocument::HtmlResource);
    topicFound_ = hasAnchor(topic);
    if (topicFound_) {
      notice_->hide();
    } else {
      browser_->scrollToAnchor(kContentsTopic);
      showNotice(QStringLiteral("Das Hilfethema „%1“ ist in der Hilfedatei nicht enthalten.")
                     .arg(topic));
    }
  }
  show();
  raise();
  activateWindow();
  // The browser can scroll to the topic only once its size is known.
  if (topicFound_) browser_->scrollToAnchor(topic);
}

QString HelpWindow::notice() const { return notice_->isHidden() ? QString() : notice_->text(); }

void HelpWindow::showNotice(const QString& text) {
  notice_->setText(text);
  notice_->show();
}

bool HelpWindow::hasAnchor(const QString& anchor) const {
  const QTextDocument* document = browser_->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.isAnchor() && format.anchorNames().contains(anchor)) return true;
    }
  }
  return false;
}

HelpWindow* HelpWindow::instance() {
  QPointer<HelpWindow>& window = theWindow();
  if (!window) {
    window = new HelpWindow;
    if (QCoreApplication* app = QCoreApplication::instance())
      QObject::connect(app, &QCoreApplication::aboutToQuit, window, [] { delete theWindow(); });
  }
  return window;
}

HelpWindow* HelpWindow::existing() { return theWindow(); }

}  // namespace toolkit
