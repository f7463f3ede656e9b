// The protocol as a PDF document, drawn with Qt's own PDF writer: A4 portrait with a wide
// left margin for filing, the fonts embedded, the residual plot as vector graphics, the
// table of all pairs continued over as many pages as it needs with its header repeated,
// and "Seite i von N" at the foot of every page.
#pragma once

#include "ProtocolContent.h"

#include <QByteArray>

namespace protocol {

// The whole PDF document for `source`, numbers with `sep`.
QByteArray pdfProtocol(const ProtocolSource& source, char sep);

}  // namespace protocol
