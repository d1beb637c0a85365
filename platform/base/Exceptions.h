#pragma once
// The exception classes of the class library. Event handlers and the
// application's error box catch `Exception` and show its message.

#include <stdexcept>
#include <string>

namespace tarvel {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Malformed text given to a strict conversion (StrToInt, StrToFloat, ...).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// A stream or file ended before the bytes asked for, or holds what cannot be.
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A file read whole is larger than its kind may be; refused unread.
class EFileTooLarge : public EReadError {
public:
    using EReadError::EReadError;
};

// A file could not be opened ("Cannot open file ...").
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A file could not be created ("Cannot create file ...").
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// An allocation that the input asked for cannot be made.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory() : Exception("Out of memory") {}
    using Exception::Exception;
};

// An index or argument outside what the object holds.
class EListError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace tarvel
