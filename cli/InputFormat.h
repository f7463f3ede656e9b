// How tramis-cli reads its input files and says so: the format request the options make
// (--columns, --delimiter), and each file's format as the protocol and --json state it.
#pragma once

#include "FormatRecognition.h"
#include "Options.h"
#include "Report.h"

#include <string>

namespace cli {

// What --columns and --delimiter ask for; a QGIS .points file gives `side`.
pointfiles::FormatRequest formatRequest(const Options& options, pointfiles::ControlPairSide side);

// The one-line German text of how `file` was read (pointfiles::describe); with --apply,
// whose stream reads every file as a coordinate list, a text saying so.
std::string formatText(const InputFile& file);

// The format of `file` as a JSON object: "text" (as formatText), "kind" ("coordinateList",
// "delimited", "qgisPoints"), "separator" ("blanks", "semicolon", "comma", "tab"),
// "decimalMark" ("point", "comma"), "columns" (["name", "rw", "hw", "h", "code", "-"] in
// file order), "byFieldCount", "headerLine" (0: none), and for QGIS files "side"
// ("source", "map", "both"). With --apply only "text" and "kind".
std::string formatJson(const InputFile& file);

}  // namespace cli
