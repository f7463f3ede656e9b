// Benchmark helper: writes N named points "P<i> rw hw" (four decimals, spread by a linear
// congruential generator over a 100 km square of Gauss-Krueger size) to a file, fast enough
// for 1e8 points. Usage: bench_generate_points N FILE
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_generate_points N FILE\n");
    return 2;
  }
  const long long count = std::atoll(argv[1]);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out) {
    std::perror(argv[2]);
    return 1;
  }
  std::vector<char> buffer(1 << 20);
  std::setvbuf(out, buffer.data(), _IOFBF, buffer.size());
  long long s = 12345;
  for (long long i = 1; i <= count; ++i) {
    s = (s * 1103515245 + 12345) % 2147483648;
    const double rw = 3450000 + static_cast<double>(s) / 21474.83648;
    s = (s * 1103515245 + 12345) % 2147483648;
    const double hw = 5750000 + static_cast<double>(s) / 21474.83648;
    std::fprintf(out, "P%lld %.4f %.4f\n", i, rw, hw);
  }
  if (std::fclose(out) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
