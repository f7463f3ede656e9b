// Dense matrix of 80-bit extended reals, as the Helmert solver keeps its tables in.
// Storage: one array of row pointers plus one separately allocated block per row.
// Rows and columns count from 0; element (i, j) is row(i)[j].
#pragma once

namespace kel {

class matrix {
public:
  int rows = 0;
  int cols = 0;

  matrix() = default;
  matrix(int rowCount, int columnCount);
  ~matrix();

  matrix(const matrix&) = delete;
  matrix& operator=(const matrix&) = delete;
  // Takes the other matrix's storage over and leaves it empty.
  matrix(matrix&& other) noexcept;
  matrix& operator=(matrix&& other) noexcept;

  // Releases the present storage (its contents are lost) and allocates a zeroed
  // rowCount x columnCount matrix, also when the size does not change.
  void resize(int rowCount, int columnCount);
  // Sets every element to zero.
  void zero();
  // First element of row i; no bounds check.
  long double* row(int i) const { return elements[i]; }

  // Sum over all rows of column j; with `absolute`, of the absolute values, each element
  // rounded to double first. Throws the German message text (const char*) when j > cols - 1.
  long double column_sum(int j, bool absolute) const;
  // Sum over all rows of the squares of column j; same column check.
  long double column_square_sum(int j) const;

private:
  long double** elements = nullptr;

  void allocate(int rowCount, int columnCount);
  void release();
  void checkColumn(int j) const;
};

// The text thrown for a column index beyond the last column.
inline constexpr const char* kColumnOutOfRangeMessage =
    "Angeforderte Spalte ist größer als Gesamtanzahl der Spalten";

}  // namespace kel
