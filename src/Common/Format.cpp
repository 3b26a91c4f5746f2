#include "Common/Format.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace tessel {

namespace {

struct Spec {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  char length = 0;  // 'H' for hh, 'h', 'l', 'L' for ll, 'j', 'z', 't'
};

// Reads the length letters; false for one printf knows but this formatter does not take.
bool ReadLength(const char*& f, Spec& spec) {
  switch (*f) {
    case 'h':
      spec.length = f[1] == 'h' ? 'H' : 'h';
      f += spec.length == 'H' ? 2 : 1;
      return true;
    case 'l':
      spec.length = f[1] == 'l' ? 'L' : 'l';
      f += spec.length == 'L' ? 2 : 1;
      return true;
    case 'j':
    case 'z':
    case 't':
      spec.length = *f++;
      return true;
    case 'L':
    case 'q':
      return false;
    default:
      return true;
  }
}

long long SignedArgument(const Spec& spec, va_list& args) {
  switch (spec.length) {
    case 'H':
      return static_cast<signed char>(va_arg(args, int));
    case 'h':
      return static_cast<short>(va_arg(args, int));
    case 'l':
      return va_arg(args, long);
    case 'L':
      return va_arg(args, long long);
    case 'j':
      return va_arg(args, std::intmax_t);
    case 'z':
      return va_arg(args, std::ptrdiff_t);  // the signed type of size_t's width
    case 't':
      return va_arg(args, std::ptrdiff_t);
    default:
      return va_arg(args, int);
  }
}

unsigned long long UnsignedArgument(const Spec& spec, va_list& args) {
  switch (spec.length) {
    case 'H':
      return static_cast<unsigned char>(va_arg(args, unsigned));
    case 'h':
      return static_cast<unsigned short>(va_arg(args, unsigned));
    case 'l':
      return va_arg(args, unsigned long);
    case 'L':
      return va_arg(args, unsigned long long);
    case 'j':
      return va_arg(args, std::uintmax_t);
    case 'z':
      return va_arg(args, size_t);
    case 't':
      return static_cast<unsigned long long>(va_arg(args, std::ptrdiff_t));
    default:
      return va_arg(args, unsigned);
  }
}

void Pad(std::string& out, size_t count, char c) {
  if (count) out.append(count, c);
}

// The sign, the digits widened to the precision, and the padding to the width.
void AppendInteger(std::string& out, const Spec& spec, bool negative, unsigned long long magnitude, int base,
                   const char* digitSet) {
  char digits[24];
  char* end = digits + sizeof digits;
  char* begin = end;
  if (!(magnitude == 0 && spec.precision == 0)) {
    // The bases as constants, so that no digit takes a division instruction.
    if (base == 16) {
      do {
        *--begin = digitSet[magnitude & 15];
        magnitude >>= 4;
      } while (magnitude != 0);
    } else {
      do {
        *--begin = digitSet[magnitude % 10];
        magnitude /= 10;
      } while (magnitude != 0);
    }
  }
  const size_t count = static_cast<size_t>(end - begin);
  const size_t zeros = spec.precision > 0 && static_cast<size_t>(spec.precision) > count
                           ? static_cast<size_t>(spec.precision) - count
                           : 0;
  const size_t body = (negative ? 1 : 0) + zeros + count;
  const size_t fill =
      spec.width > 0 && static_cast<size_t>(spec.width) > body ? static_cast<size_t>(spec.width) - body : 0;
  const bool zeroFill = spec.zero && !spec.left && spec.precision < 0;
  if (!spec.left && !zeroFill) Pad(out, fill, ' ');
  if (negative) out += '-';
  if (zeroFill) Pad(out, fill, '0');
  Pad(out, zeros, '0');
  out.append(begin, count);
  if (spec.left) Pad(out, fill, ' ');
}

void AppendPadded(std::string& out, const Spec& spec, const char* text, size_t count) {
  const size_t fill =
      spec.width > 0 && static_cast<size_t>(spec.width) > count ? static_cast<size_t>(spec.width) - count : 0;
  if (!spec.left) Pad(out, fill, ' ');
  out.append(text, count);
  if (spec.left) Pad(out, fill, ' ');
}

// One conversion after its '%'; false (nothing consumed that matters) for a format left to vsnprintf.
bool AppendConversion(std::string& out, const char*& f, va_list& args) {
  Spec spec;
  for (;; ++f) {
    if (*f == '-') {
      spec.left = true;
    } else if (*f == '0') {
      spec.zero = true;
    } else if (*f == '+' || *f == ' ' || *f == '#' || *f == '\'') {
      return false;
    } else {
      break;
    }
  }
  if (*f == '*') {
    spec.width = va_arg(args, int);
    if (spec.width < 0) return false;
    ++f;
  } else {
    for (; *f >= '0' && *f <= '9'; ++f) {
      if (spec.width > 100000) return false;
      spec.width = spec.width * 10 + (*f - '0');
    }
  }
  if (*f == '.') {
    ++f;
    if (*f == '*') {
      spec.precision = va_arg(args, int);
      if (spec.precision < 0) spec.precision = -1;
      ++f;
    } else {
      spec.precision = 0;
      for (; *f >= '0' && *f <= '9'; ++f) {
        if (spec.precision > 100000) return false;
        spec.precision = spec.precision * 10 + (*f - '0');
      }
    }
  }
  if (!ReadLength(f, spec)) return false;
  switch (*f++) {
    case 'd':
    case 'i': {
      const long long value = SignedArgument(spec, args);
      const unsigned long long magnitude =
          value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
      AppendInteger(out, spec, value < 0, magnitude, 10, kUpperHexDigits);
      return true;
    }
    case 'u':
      AppendInteger(out, spec, false, UnsignedArgument(spec, args), 10, kUpperHexDigits);
      return true;
    case 'X':
      AppendInteger(out, spec, false, UnsignedArgument(spec, args), 16, kUpperHexDigits);
      return true;
    case 'x':
      AppendInteger(out, spec, false, UnsignedArgument(spec, args), 16, "0123456789abcdef");
      return true;
    case 'c': {
      if (spec.length || spec.zero) return false;
      const char c = static_cast<char>(va_arg(args, int));
      AppendPadded(out, spec, &c, 1);
      return true;
    }
    case 's': {
      if (spec.length || spec.zero) return false;
      const char* text = va_arg(args, const char*);
      if (!text) return false;
      const size_t count = spec.precision >= 0 ? strnlen(text, static_cast<size_t>(spec.precision)) : std::strlen(text);
      AppendPadded(out, spec, text, count);
      return true;
    }
    case '%':
      if (spec.left || spec.zero || spec.width || spec.precision >= 0 || spec.length) return false;
      out += '%';
      return true;
    default:
      return false;
  }
}

void AppendWithLibrary(std::string& out, const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(length) + 1);
  std::vsnprintf(out.data() + start, static_cast<size_t>(length) + 1, format, args);
  out.pop_back();
}

}  // namespace

void AppendFormatV(std::string& out, const char* format, va_list args) {
  const size_t start = out.size();
  va_list walk;
  va_copy(walk, args);
  const char* f = format;
  bool done = true;
  while (*f) {
    const char* percent = std::strchr(f, '%');
    if (!percent) {
      out.append(f);
      break;
    }
    out.append(f, static_cast<size_t>(percent - f));
    f = percent + 1;
    if (!AppendConversion(out, f, walk)) {
      done = false;
      break;
    }
  }
  va_end(walk);
  if (!done) {
    out.resize(start);
    AppendWithLibrary(out, format, args);
  }
}

std::string FormatTextV(const char* format, va_list args) {
  std::string text;
  AppendFormatV(text, format, args);
  return text;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatTextV(format, args);
  va_end(args);
  return text;
}

}  // namespace tessel
