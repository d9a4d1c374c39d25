// Messages of the framework's exceptions.
#include "framework/core/SysUtils.h"

#include <cstdio>
#include <vector>

namespace fw {

std::string InOutErrorMessage(int errorCode) {
  switch (errorCode) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return Format("I/O error %d", errorCode);
  }
}

std::string Format(const char* pattern, const std::string& arg) {
  std::string out;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += arg;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

std::string Format(const char* pattern, int arg) {
  int n = std::snprintf(nullptr, 0, pattern, arg);
  if (n < 0) return pattern;
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::snprintf(buf.data(), buf.size(), pattern, arg);
  return std::string(buf.data(), static_cast<size_t>(n));
}

}  // namespace fw
