// The exception for a failed COM call of the shell that leaves no way to go
// on (no task allocator, no desktop folder), with the failing result.
#pragma once

#include <windows.h>

#include <string>

#include "framework/core/SysUtils.h"

namespace translit {

class EOleSysError : public fw::Exception {
 public:
  EOleSysError(std::string message, HRESULT errorCode) : fw::Exception(std::move(message)), ErrorCode(errorCode) {}
  HRESULT ErrorCode;
};

// The system's text for a result ("Unspecified error"), or "OLE error XXXXXXXX".
std::string OleErrorMessage(HRESULT result);

// Raises EOleSysError when result is a failure.
void OleCheck(HRESULT result);

}  // namespace translit
