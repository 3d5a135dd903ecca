#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the program: what() carries the message as UTF-8
// so that Hungarian text survives the trip through std::exception.
class ZelmoError : public std::runtime_error
{
public:
    explicit ZelmoError(const QString& message) : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromUtf8(what()); }
};

// The message of any exception the program throws: they all carry UTF-8.
inline QString ExceptionMessage(const std::exception& e) { return QString::fromUtf8(e.what()); }
