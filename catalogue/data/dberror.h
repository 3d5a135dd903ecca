#pragma once

#include <QString>
#include <stdexcept>

// Every failure of the data layer is a DbError. The layer never shows a message
// itself: the window that called it decides how to tell the user.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    QString message() const { return message_; }

private:
    QString message_;
};
