// Asks for the protocol file, draws the protocol in the chosen format and saves it.
#include "SaveProtocolCommand.h"

#include "Application.h"
#include "FileDialogs.h"
#include "InputTargets.h"
#include "MessageCaptions.h"
#include "PdfProtocol.h"
#include "ProtocolFile.h"
#include "TextConversions.h"

#include <Kelfile.h>

#include <QApplication>
#include <QCursor>

#include <algorithm>
#include <cctype>

namespace protocol {

namespace {

bool endsWithNoCase(const std::string& text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - static_cast<long>(ending.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

// The wait cursor while a protocol is drawn and written.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

ProtocolFormat protocolFormatFor(const std::string& path, int filterIndex) {
  if (endsWithNoCase(path, ".pdf")) return ProtocolFormat::Pdf;
  if (endsWithNoCase(path, ".html") || endsWithNoCase(path, ".htm")) return ProtocolFormat::Html;
  return filterIndex == 2 ? ProtocolFormat::Html : ProtocolFormat::Pdf;
}

std::string proposedProtocolPath(const std::string& oldFilePath) {
  if (oldFilePath.empty()) return {};
  return std::string(kel::FileNamePart(oldFilePath.c_str(), 'e')) + kProtocolNameSuffix;
}

bool saveProtocolCommand(QWidget* parent, const ProtocolSource& source) {
  toolkit::TFileDialog dialog(toolkit::TFileDialog::Kind::Save);
  dialog.Options = toolkit::TFileDialog::ofOverwritePrompt | toolkit::TFileDialog::ofHideReadOnly |
                   toolkit::TFileDialog::ofPathMustExist;
  dialog.Title = kSaveProtocolTitle;
  dialog.Filter = kProtocolFilter;
  dialog.DefaultExt = "pdf";
  dialog.FileName = proposedProtocolPath(source.oldFile.path);
  dialog.RefuseTarget = [&source](const std::string& path) {
    return output::inputTargetRefusal(path, {source.oldFile.path, source.newFile.path});
  };
  if (!dialog.Execute(parent)) return false;

  const std::string path = dialog.GetFileName();
  const char sep = toolkit::RegionalDecimalSeparator();
  output::WriteResult written;
  {
    const WaitCursor waiting;
    if (protocolFormatFor(path, dialog.FilterIndex) == ProtocolFormat::Html) {
      written = saveHtmlProtocol(path, source, sep);
    } else {
      const QByteArray pdf = pdfProtocol(source, sep);
      written = saveProtocol(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    }
  }
  if (!written.ok) {
    toolkit::MessageBox(output::writeErrorMessage(toolkit::DisplayText(path), written.reason),
                        toolkit::kFileErrorCaption, toolkit::MB_OK | toolkit::MB_ICONERROR);
    return false;
  }
  return true;
}

}  // namespace protocol
