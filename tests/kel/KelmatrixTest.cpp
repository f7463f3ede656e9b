// Tests of the extended-precision matrix: sizing, zeroing and the column check. (The sums
// are the solver's centroids, residual sums and So, checked in its tests.)
#include "Kelmatrix.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

void fill(kel::matrix& m) {
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.cols; ++j) m.row(i)[j] = 7 + i * 10 + j;
}

void expectZeros(const kel::matrix& m, int rows, int cols) {
  ASSERT_EQ(m.rows, rows);
  ASSERT_EQ(m.cols, cols);
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.cols; ++j) EXPECT_EQ(m.row(i)[j], 0.0L) << "at " << i << ", " << j;
}

// Runs `call` and checks that it throws the German column message as a plain text.
void expectColumnError(const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no exception";
  } catch (const char* message) {
    EXPECT_STREQ(message, "Angeforderte Spalte ist größer als Gesamtanzahl der Spalten");
  }
}

TEST(Matrix, EveryResizeAndZeroStartsFromZeros) {
  kel::matrix m;
  expectZeros(m, 0, 0);
  expectZeros(kel::matrix(3, 2), 3, 2);
  // A new size, then the same size again: each resize discards the contents.
  for (auto [rows, cols] : {std::pair{3, 4}, {5, 4}, {5, 4}}) {
    fill(m);
    m.resize(rows, cols);
    expectZeros(m, rows, cols);
  }
  fill(m);
  m.zero();
  expectZeros(m, 5, 4);
}

TEST(Matrix, ColumnBeyondTheLastThrowsTheGermanText) {
  const kel::matrix m(3, 2), empty, noRows(0, 2);
  EXPECT_NO_THROW(m.column_square_sum(1));
  for (auto [matrix, j] : {std::pair{&m, 2}, {&m, -1}, {&empty, 0}, {&noRows, 2}}) {
    SCOPED_TRACE(j);
    expectColumnError([&] { matrix->column_sum(j, false); });
    expectColumnError([&] { matrix->column_square_sum(j); });
  }
}

}  // namespace
