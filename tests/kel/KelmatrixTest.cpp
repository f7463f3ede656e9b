// Tests of the extended-precision matrix: sizing, zeroing, column sums and the column check.
#include "Kelmatrix.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(Matrix, ColumnSums) {
  kel::matrix m(2, 3);
  m.row(0)[1] = 3;
  m.row(1)[1] = -4;
  EXPECT_EQ(m.column_sum(1, false), -1);
  EXPECT_EQ(m.column_sum(1, true), 7);
  EXPECT_EQ(m.column_square_sum(1), 25);
  // Row-major: the neighbouring columns saw nothing.
  EXPECT_EQ(m.column_square_sum(0) + m.column_square_sum(2), 0);

  const kel::matrix noRows(0, 2);
  EXPECT_EQ(noRows.column_sum(1, false), 0);
  EXPECT_EQ(noRows.column_sum(1, true), 0);
  EXPECT_EQ(noRows.column_square_sum(1), 0);
}

// The absolute sum rounds each element to double; the square sum keeps 64 significand bits.
TEST(Matrix, AbsoluteSumRoundsEachElementToDouble) {
  const long double value = 1.0L + std::ldexp(1.0L, -60);
  kel::matrix m(2, 1);
  m.row(0)[0] = value;
  m.row(1)[0] = -value;
  EXPECT_EQ(m.column_sum(0, true), 2.0L);
  EXPECT_EQ(m.column_square_sum(0), 2 * value * value);
}

TEST(Matrix, ColumnBeyondTheLastThrowsTheGermanText) {
  const kel::matrix m(3, 2), empty, noRows(0, 2);
  EXPECT_NO_THROW(m.column_square_sum(1));
  for (auto [matrix, j] : {std::pair{&m, 2}, {&m, -1}, {&empty, 0}, {&noRows, 2}}) {
    SCOPED_TRACE(j);
    expectColumnError([&] { matrix->column_sum(j, false); });
    expectColumnError([&] { matrix->column_sum(j, true); });
    expectColumnError([&] { matrix->column_square_sum(j); });
  }
}

}  // namespace
