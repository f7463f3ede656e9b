// The "Protokoll speichern..." command of the "Paßpunktanalyse" dialog: asks for a file and
// writes the protocol there as PDF or HTML.
#pragma once

#include "ProtocolContent.h"

#include <string>

class QWidget;

namespace protocol {

inline constexpr const char* kSaveProtocolTitle = "Protokoll speichern";
inline constexpr const char* kProtocolFilter =
    "PDF-Dokument (*.pdf)|*.pdf|HTML-Datei (*.html)|*.html";
inline constexpr const char* kProtocolNameSuffix = "_protokoll";

enum class ProtocolFormat { Pdf, Html };

// The format a chosen file gets: by its extension (.pdf, .html, .htm, in any case), else by
// the filter chosen in the dialog (1 PDF, 2 HTML).
ProtocolFormat protocolFormatFor(const std::string& path, int filterIndex);

// The name the save dialog proposes: the old file's path without extension plus
// "_protokoll"; empty when no old file was read.
std::string proposedProtocolPath(const std::string& oldFilePath);

// Shows the save dialog "Protokoll speichern" (PDF or HTML; asks before replacing a file)
// and writes the protocol of `source` through the safe writer, numbers with the regional
// decimal separator. A failed write shows the "File Error" box with the path and the
// reason; an existing file then stays as it was. Returns true when a protocol was written.
bool saveProtocolCommand(QWidget* parent, const ProtocolSource& source);

}  // namespace protocol
