// Writing the PROJ tinshift file: one vertex and one triangle per line.
#include "TinshiftWriter.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <string>

namespace distribution {

namespace {

void appendNumber(std::string& text, double value) {
  char digits[32];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void appendIndex(std::string& text, std::size_t value) {
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// A JSON string; bytes that are not UTF-8 become U+FFFD rather than stop the export.
std::string quoted(std::string_view text) {
  return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

TinshiftProblem writeTinshift(std::ostream& out, const TriangleInterpolation& triangles,
                              std::span<const ControlPoint> points, std::span<const NewSystemPosition> transformedOld,
                              std::string_view description) {
  if (triangles.triangles().empty()) return TinshiftProblem::NoTriangles;
  if (transformedOld.size() != points.size()) return TinshiftProblem::PositionCountMismatch;

  std::string text;
  text += "{\n";
  text += "  \"file_type\": \"triangulation_file\",\n";
  text += "  \"format_version\": \"1.0\",\n";
  text += "  \"description\": " + quoted(description) + ",\n";
  text += "  \"transformed_components\": [\"horizontal\"],\n";
  text += "  \"vertices_columns\": [\"source_x\", \"source_y\", \"target_x\", \"target_y\"],\n";
  text += "  \"triangles_columns\": [\"idx_vertex1\", \"idx_vertex2\", \"idx_vertex3\"],\n";
  text += "  \"vertices\": [\n";
  for (std::size_t j = 0; j < points.size(); ++j) {
    const NewSystemPosition& source = transformedOld[j];
    const double targetRW = source.RW + points[j].vRW, targetHW = source.HW + points[j].vHW;
    for (double value : {source.RW, source.HW, targetRW, targetHW})
      if (!std::isfinite(value)) return TinshiftProblem::NonFiniteCoordinate;
    text += "    [";
    appendNumber(text, source.RW);
    text += ", ";
    appendNumber(text, source.HW);
    text += ", ";
    appendNumber(text, targetRW);
    text += ", ";
    appendNumber(text, targetHW);
    text += j + 1 < points.size() ? "],\n" : "]\n";
  }
  text += "  ],\n";
  text += "  \"triangles\": [\n";
  const auto& list = triangles.triangles();
  for (std::size_t t = 0; t < list.size(); ++t) {
    text += "    [";
    appendIndex(text, list[t][0]);
    text += ", ";
    appendIndex(text, list[t][1]);
    text += ", ";
    appendIndex(text, list[t][2]);
    text += t + 1 < list.size() ? "],\n" : "]\n";
  }
  text += "  ]\n";
  text += "}\n";
  out << text;
  return TinshiftProblem::None;
}

}  // namespace distribution
