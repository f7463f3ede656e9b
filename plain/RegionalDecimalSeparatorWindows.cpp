// The decimal separator of the user's regional settings on Windows, as the control panel
// sets it (the C library's locale does not follow a changed separator).
#include "TextConversions.h"

#include <windows.h>

namespace toolkit {

char RegionalDecimalSeparator() {
  wchar_t separator[8] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2)
    return '.';
  // Only a single ASCII character can stand in a number as this program writes it.
  if (separator[0] > 0 && separator[0] < 0x80 && separator[1] == L'\0')
    return static_cast<char>(separator[0]);
  return '.';
}

}  // namespace toolkit
