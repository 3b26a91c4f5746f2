// printf-style formatting into a string.
#pragma once

#include <cstdarg>
#include <string>

namespace tessel {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);

}  // namespace tessel
