// The framework's exception classes. Portable: the parsers of the core throw
// them too, and the application's handler shows their Message in an error box.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace fw {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// An I/O failure with the platform's error code.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  int ErrorCode;
};

// A broken internal assumption ("Bitmap format is not supported").
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

// A picture file or resource that cannot be read.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// The silent abort: it unwinds like any exception, but the application's
// default handler shows nothing for it.
class EAbort : public Exception {
 public:
  using Exception::Exception;
};

// The message of the I/O error raised for a platform error code, as the
// framework's run-time library words it.
std::string InOutErrorMessage(int errorCode);

// Formats like the framework's Format for the "%s"/"%d" messages of the engine.
std::string Format(const char* pattern, const std::string& arg);
std::string Format(const char* pattern, int arg);

}  // namespace fw
