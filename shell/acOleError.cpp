// Failed COM results as exceptions.
#include "shell/acOleError.h"

#include <cstdio>

namespace translit {

std::string OleErrorMessage(HRESULT result) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message;
  if (n && text) {
    message.assign(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
      message.pop_back();
  }
  if (text) LocalFree(text);
  if (message.empty()) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "OLE error %08lX", static_cast<unsigned long>(result));
    message = buf;
  }
  return message;
}

void OleCheck(HRESULT result) {
  if (FAILED(result)) throw EOleSysError(OleErrorMessage(result), result);
}

}  // namespace translit
