// Triangle-wise linear interpolation on CGAL's Delaunay triangulation.
#include "TriangleInterpolation.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace distribution {

namespace {

struct VertexData {
  double vRW = 0, vHW = 0;  // the control point's residual [m]
  std::size_t source = 0;   // its index in the caller's list
};

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexData, Kernel>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase>;
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, DataStructure>;
using Point = Kernel::Point_2;

Correction residualOf(Delaunay::Vertex_handle vertex) { return {vertex->info().vRW, vertex->info().vHW, true}; }

// c = v_a + l_b (v_b - v_a) + l_c (v_c - v_a): equal residuals come out unchanged.
Correction insideFace(Delaunay::Face_handle face, double rw, double hw) {
  const Point& a = face->vertex(0)->point();
  const Point& b = face->vertex(1)->point();
  const Point& c = face->vertex(2)->point();
  const double abRW = b.x() - a.x(), abHW = b.y() - a.y();
  const double acRW = c.x() - a.x(), acHW = c.y() - a.y();
  const double apRW = rw - a.x(), apHW = hw - a.y();
  const double twiceArea = abRW * acHW - abHW * acRW;
  const double lb = (apRW * acHW - apHW * acRW) / twiceArea;
  const double lc = (abRW * apHW - abHW * apRW) / twiceArea;
  const VertexData& va = face->vertex(0)->info();
  const VertexData& vb = face->vertex(1)->info();
  const VertexData& vc = face->vertex(2)->info();
  return {va.vRW + lb * (vb.vRW - va.vRW) + lc * (vc.vRW - va.vRW),
          va.vHW + lb * (vb.vHW - va.vHW) + lc * (vc.vHW - va.vHW), true};
}

// Linear between the ends of a segment that P lies on (triangulation of dimension 1).
Correction onSegment(Delaunay::Vertex_handle from, Delaunay::Vertex_handle to, double rw, double hw) {
  const double dRW = to->point().x() - from->point().x(), dHW = to->point().y() - from->point().y();
  const double t = ((rw - from->point().x()) * dRW + (hw - from->point().y()) * dHW) / (dRW * dRW + dHW * dHW);
  const VertexData& a = from->info();
  const VertexData& b = to->info();
  return {a.vRW + t * (b.vRW - a.vRW), a.vHW + t * (b.vHW - a.vHW), true};
}

}  // namespace

struct TriangleInterpolation::Triangulation {
  Delaunay delaunay;
  // A finite triangle near the centre of each cell of a grid over the control points,
  // row by row: cell (column, row) covers reduced rw from minRW + column * cellSize.
  double minRW = 0, minHW = 0, cellSize = 1;
  int columns = 0, rows = 0;
  std::vector<Delaunay::Face_handle> hints;

  Delaunay::Face_handle hintFor(double rw, double hw) const {
    if (hints.empty()) return {};
    const auto cell = [&](double offset, int count) {
      const double index = std::floor(offset / cellSize);
      return index < 0 ? 0 : index >= count - 1 ? count - 1 : static_cast<int>(index);
    };
    return hints[static_cast<std::size_t>(cell(hw - minHW, rows)) * columns + cell(rw - minRW, columns)];
  }

  void buildHints() {
    if (delaunay.dimension() < 2) return;
    double maxRW = -HUGE_VAL, maxHW = -HUGE_VAL;
    minRW = minHW = HUGE_VAL;
    for (auto vertex = delaunay.finite_vertices_begin(); vertex != delaunay.finite_vertices_end(); ++vertex) {
      minRW = std::min(minRW, vertex->point().x());
      maxRW = std::max(maxRW, vertex->point().x());
      minHW = std::min(minHW, vertex->point().y());
      maxHW = std::max(maxHW, vertex->point().y());
    }
    const double width = maxRW - minRW, height = maxHW - minHW;
    const double n = static_cast<double>(delaunay.number_of_vertices());
    cellSize = std::max({std::sqrt(width * height / n), width / n, height / n});
    columns = static_cast<int>(width / cellSize) + 1;
    rows = static_cast<int>(height / cellSize) + 1;
    hints.resize(static_cast<std::size_t>(columns) * rows);
    Delaunay::Face_handle previous;
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column) {
        const Point centre(minRW + (column + 0.5) * cellSize, minHW + (row + 0.5) * cellSize);
        Delaunay::Face_handle face = delaunay.locate(centre, previous);
        if (delaunay.is_infinite(face)) face = face->neighbor(face->index(delaunay.infinite_vertex()));
        hints[static_cast<std::size_t>(row) * columns + column] = previous = face;
      }
  }
};

TriangleInterpolation::TriangleInterpolation(PreparedControlPoints points, const Settings& settings)
    : ResidualDistribution(settings, points.size()), origin_(points.origin) {
  auto triangulation = std::make_unique<Triangulation>();
  std::vector<std::pair<Point, VertexData>> vertices;
  vertices.reserve(points.size());
  for (std::size_t j = 0; j < points.size(); ++j)
    vertices.emplace_back(Point(points.rw[j], points.hw[j]), VertexData{points.vRW[j], points.vHW[j], points.source[j]});
  triangulation->delaunay.insert(vertices.begin(), vertices.end());
  triangulation->buildHints();
  const Delaunay& delaunay = triangulation->delaunay;
  if (delaunay.dimension() == 2)
    for (auto face = delaunay.finite_faces_begin(); face != delaunay.finite_faces_end(); ++face)
      triangles_.push_back({face->vertex(0)->info().source, face->vertex(1)->info().source,
                            face->vertex(2)->info().source});
  triangulation_ = std::move(triangulation);
}

TriangleInterpolation::~TriangleInterpolation() = default;

Correction TriangleInterpolation::correctionAt(double rw, double hw) const {
  if (!std::isfinite(rw) || !std::isfinite(hw)) return {};
  const Delaunay& delaunay = triangulation_->delaunay;
  if (delaunay.dimension() < 0) return {};
  const double reducedRW = origin_.reducedRW(rw), reducedHW = origin_.reducedHW(hw);
  const Point p(reducedRW, reducedHW);
  if (delaunay.dimension() == 0) {
    const Delaunay::Vertex_handle only = delaunay.finite_vertices_begin();
    return only->point() == p ? residualOf(only) : Correction{};
  }
  Delaunay::Locate_type type;
  int index = 0;
  Delaunay::Face_handle face = delaunay.locate(p, type, index, triangulation_->hintFor(reducedRW, reducedHW));
  switch (type) {
    case Delaunay::VERTEX:
      return residualOf(face->vertex(index));
    case Delaunay::EDGE:
      if (delaunay.dimension() == 1) return onSegment(face->vertex(0), face->vertex(1), reducedRW, reducedHW);
      if (delaunay.is_infinite(face)) face = face->neighbor(index);
      return insideFace(face, reducedRW, reducedHW);
    case Delaunay::FACE:
      return insideFace(face, reducedRW, reducedHW);
    default:  // outside the convex hull or off the line of collinear control points
      return {};
  }
}

TriangleSetup prepareTriangles(std::span<const ControlPoint> points) {
  TriangleSetup setup;
  PreparedControlPoints prepared;
  setup.result = prepareControlPoints(points, prepared);
  if (setup.result.problem == SetupProblem::None) {
    Settings settings;
    settings.method = Method::Triangles;
    setup.triangles = std::make_unique<TriangleInterpolation>(std::move(prepared), settings);
  }
  return setup;
}

}  // namespace distribution
