// The program's exception classes and the standard exception report shown in error boxes.
#pragma once

#include <exception>
#include <string>

// Base of every error the program raises itself; what() is the message.
class Exception : public std::exception {
public:
    explicit Exception(std::string message);
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }
    // The class name shown by the exception report.
    virtual const char* ClassName() const noexcept { return "Exception"; }
    // Code address at which the exception was raised (for the report).
    const void* Address() const noexcept { return address_; }

private:
    std::string message_;
    const void* address_;
};

// An index or a count outside its declared range.
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
    explicit ERangeError(std::string message) : Exception(std::move(message)) {}
    const char* ClassName() const noexcept override { return "ERangeError"; }
};

// A text that is not a valid number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EConvertError"; }
};

// The message as a sentence: a final "." unless it already ends in ".", "!" or "?".
std::string Frase(std::string message);

// "Exception <class> in module <module> at <address>.\n<message>" — at most 255 characters,
// the message written as a Frase. The module is the executable's file name.
std::string RapportoEccezione(const std::exception& e);
// The report for whatever exception is in flight (call inside a catch block).
std::string RapportoEccezioneCorrente();
