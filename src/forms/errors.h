// Errors of the class library. Messages are 8-bit texts in code page 936, as
// every text of the program; they are decoded only where they are shown.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  // Records where it was raised, for the start-up failure report.
  __attribute__((noinline)) Exception(std::string class_name, std::string message)
      : class_name_(std::move(class_name)),
        message_(std::move(message)),
        address_(__builtin_return_address(0)) {}
  explicit Exception(std::string message) : Exception("Exception", std::move(message)) {}

  const std::string& ClassName() const { return class_name_; }
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  const void* Address() const { return address_; }

 private:
  std::string class_name_;
  std::string message_;
  const void* address_;
};

// A failed HRESULT from a COM object, carrying the system's message for it.
class EOleSysError : public Exception {
 public:
  explicit EOleSysError(HRESULT code);
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

// Throws EOleSysError when `hr` is a failure code.
inline void OleCheck(HRESULT hr) {
  if (FAILED(hr)) throw EOleSysError(hr);
}

// The system's text for an error code, in code page 936, without the trailing
// line break the system adds. Falls back to the code in hex when the system has none.
std::string SystemErrorMessage(DWORD code);

// The error report's text: the message with "." added when its last byte sorts
// after "." (so texts that end in a letter or a CJK character get a full stop,
// texts that end in "." or "!" or a blank do not).
std::string WithClosingPeriod(const std::string& message);
