// The framework's error classes and the printf-style formatting their fixed messages use.
#pragma once
#include <exception>
#include <string>

// Base of every error the program raises; carries one message, shown as it stands in the error box.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

// An operation refused in the object's present state (a gauge bound outside its range).
class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

// The separator of directory names on the system the program is built for.
#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
