// A Windows program whose strings, dialog and icon come from resources/hello.klx.
#include <windows.h>

int main() {
  // The icon of 96 dpi, under the name tessel gives it.
  return FindResourceA(nullptr, "I200&96", MAKEINTRESOURCEA(14)) != nullptr ? 0 : 1;
}
