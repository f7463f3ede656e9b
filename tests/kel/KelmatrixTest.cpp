// Tests of the extended-precision matrix: sizing, zeroing, column sums and the column check.
#include "Kelmatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

void fill(kel::matrix& m, long double value) {
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.cols; ++j) m.row(i)[j] = value + i * 10 + j;
}

void expectAllZero(const kel::matrix& m) {
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

TEST(Matrix, DefaultIsEmpty) {
  kel::matrix m;
  EXPECT_EQ(m.rows, 0);
  EXPECT_EQ(m.cols, 0);
  m.zero();
}

TEST(Matrix, SizedConstructionIsZeroed) {
  kel::matrix m(3, 2);
  EXPECT_EQ(m.rows, 3);
  EXPECT_EQ(m.cols, 2);
  expectAllZero(m);
}

TEST(Matrix, ResizeAlwaysStartsFromZeros) {
  kel::matrix m;
  m.resize(3, 4);
  EXPECT_EQ(m.rows, 3);
  EXPECT_EQ(m.cols, 4);
  expectAllZero(m);

  fill(m, 7);
  EXPECT_EQ(m.row(2)[3], 7 + 23);
  m.resize(5, 4);
  EXPECT_EQ(m.rows, 5);
  expectAllZero(m);

  // The same size again still discards the contents.
  fill(m, 1);
  m.resize(5, 4);
  expectAllZero(m);

  m.resize(0, 0);
  EXPECT_EQ(m.rows, 0);
  EXPECT_EQ(m.cols, 0);
}

TEST(Matrix, RowsAreSeparateBlocksInRowMajorOrder) {
  kel::matrix m(2, 3);
  m.row(1)[2] = 5;
  m.row(0)[1] = 4;
  EXPECT_EQ(m.row(1)[2], 5);
  EXPECT_EQ(m.row(0)[1], 4);
  EXPECT_EQ(m.column_sum(2, false), 5);
  EXPECT_EQ(m.column_sum(1, false), 4);
  EXPECT_EQ(m.column_sum(0, false), 0);
}

TEST(Matrix, ZeroClearsEveryElement) {
  kel::matrix m(4, 3);
  fill(m, -2.5L);
  m.zero();
  expectAllZero(m);
  EXPECT_EQ(m.rows, 4);
  EXPECT_EQ(m.cols, 3);
}

TEST(Matrix, ColumnSums) {
  kel::matrix m(2, 2);
  m.row(0)[1] = 3;
  m.row(1)[1] = -4;
  EXPECT_EQ(m.column_sum(1, false), -1);
  EXPECT_EQ(m.column_sum(1, true), 7);
  EXPECT_EQ(m.column_square_sum(1), 25);
}

// The absolute sum rounds each element to double; the plain sums keep 64 significand bits.
TEST(Matrix, AbsoluteSumRoundsEachElementToDouble) {
  const long double tiny = std::ldexp(1.0L, -60);
  kel::matrix m(2, 1);
  m.row(0)[0] = 1.0L + tiny;
  m.row(1)[0] = -(1.0L + tiny);
  EXPECT_EQ(m.column_sum(0, true), 2.0L);
  m.row(1)[0] = 1.0L + tiny;
  EXPECT_EQ(m.column_sum(0, false), 2.0L + 2 * tiny);
  EXPECT_EQ(m.column_square_sum(0), 2 * ((1.0L + tiny) * (1.0L + tiny)));
  EXPECT_GT(m.column_square_sum(0), 2.0L);
}

TEST(Matrix, ColumnBeyondTheLastIsRefused) {
  kel::matrix m(3, 2);
  EXPECT_NO_THROW(m.column_sum(1, false));
  EXPECT_NO_THROW(m.column_square_sum(1));
  expectColumnError([&] { m.column_sum(2, false); });
  expectColumnError([&] { m.column_sum(2, true); });
  expectColumnError([&] { m.column_square_sum(2); });
  expectColumnError([&] { m.column_sum(-1, false); });

  kel::matrix empty;
  expectColumnError([&] { empty.column_sum(0, false); });
}

TEST(Matrix, NoRowsGiveZeroSums) {
  kel::matrix m(0, 2);
  EXPECT_EQ(m.rows, 0);
  EXPECT_EQ(m.cols, 2);
  for (int j : {0, 1}) {
    EXPECT_EQ(m.column_sum(j, false), 0);
    EXPECT_EQ(m.column_sum(j, true), 0);
    EXPECT_EQ(m.column_square_sum(j), 0);
  }
  expectColumnError([&] { m.column_sum(2, false); });
}

}  // namespace
