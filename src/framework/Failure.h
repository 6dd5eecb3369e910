#pragma once

#include <QString>

#include <exception>

// A failure of a command, carrying the message the user is shown. Thrown inside a command
// handler and caught by RunCommand, which shows it in the error box.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)) {}
    const QString &Message() const { return FMessage; }
    const char *what() const noexcept override { return "Pigmora command failure"; }

private:
    QString FMessage;
};

// A text that does not read as a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
