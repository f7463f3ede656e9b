// The decimal separator of the user's regional settings on POSIX systems: the one of the
// process's LC_NUMERIC locale.
#include "TextConversions.h"

#include <clocale>

namespace toolkit {

char RegionalDecimalSeparator() {
  const std::lconv* conventions = std::localeconv();
  if (conventions == nullptr || conventions->decimal_point == nullptr ||
      conventions->decimal_point[0] == '\0')
    return '.';
  return conventions->decimal_point[0];
}

}  // namespace toolkit
