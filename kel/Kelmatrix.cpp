// Storage, sizing and column sums of the extended-precision matrix the solver keeps its
// tables in.
#include "Kelmatrix.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

namespace kel {

matrix::matrix(int rowCount, int columnCount) { allocate(rowCount, columnCount); }

matrix::~matrix() { release(); }

matrix::matrix(matrix&& other) noexcept
    : rows(std::exchange(other.rows, 0)), cols(std::exchange(other.cols, 0)),
      elements(std::exchange(other.elements, nullptr)) {}

matrix& matrix::operator=(matrix&& other) noexcept {
  if (this != &other) {
    release();
    rows = std::exchange(other.rows, 0);
    cols = std::exchange(other.cols, 0);
    elements = std::exchange(other.elements, nullptr);
  }
  return *this;
}

void matrix::resize(int rowCount, int columnCount) {
  // Old contents are never carried over, not even when the size stays the same.
  release();
  allocate(rowCount, columnCount);
}

void matrix::zero() {
  // All bits clear, the padding of each 80-bit element included.
  for (int i = 0; i < rows; ++i)
    std::memset(elements[i], 0, static_cast<std::size_t>(cols) * sizeof(long double));
}

long double matrix::column_sum(int j, bool absolute) const {
  checkColumn(j);
  long double sum = 0.0L;
  for (int i = 0; i < rows; ++i) {
    if (absolute)
      sum += std::fabs(static_cast<double>(elements[i][j]));
    else
      sum += elements[i][j];
  }
  return sum;
}

long double matrix::column_square_sum(int j) const {
  checkColumn(j);
  long double sum = 0.0L;
  for (int i = 0; i < rows; ++i) sum += elements[i][j] * elements[i][j];
  return sum;
}

void matrix::allocate(int rowCount, int columnCount) {
  if (rowCount < 0) rowCount = 0;
  if (columnCount < 0) columnCount = 0;
  // Build the new storage completely before taking it over, so that a failed allocation
  // leaves an empty matrix behind and no leaked rows.
  long double** table = nullptr;
  if (rowCount > 0) {
    table = new long double*[rowCount]();
    try {
      for (int i = 0; i < rowCount; ++i) table[i] = new long double[columnCount]();
    } catch (...) {
      for (int i = 0; i < rowCount; ++i) delete[] table[i];
      delete[] table;
      throw;
    }
  }
  elements = table;
  rows = rowCount;
  cols = columnCount;
}

void matrix::release() {
  if (elements) {
    for (int i = 0; i < rows; ++i) delete[] elements[i];
    delete[] elements;
  }
  elements = nullptr;
  rows = 0;
  cols = 0;
}

void matrix::checkColumn(int j) const {
  // A negative index is refused as well: it would read before the row's block.
  if (j > cols - 1 || j < 0) throw kColumnOutOfRangeMessage;
}

}  // namespace kel
