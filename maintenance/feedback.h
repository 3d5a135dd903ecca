#pragma once

#include <QString>

#include <functional>

// How a maintenance operation tells its window what it is doing. Every member
// may be left empty; the tests record what they are handed.
struct MaintenanceFeedback
{
    std::function<void(const QString&)> status; // the status line; empty text clears it
    std::function<void(int)> setMaximum;        // of the progress bar
    std::function<void(int)> setPosition;
    std::function<void()> step;
    std::function<void(const QString&)> error; // a problem the operation reports and goes past
    std::function<void(const QString&)> info;  // the message that ends the operation
    std::function<void()> keepAlive;           // called now and then inside long loops

    void showStatus(const QString& text) const
    {
        if (status)
            status(text);
    }
    void maximum(int value) const
    {
        if (setMaximum)
            setMaximum(value);
    }
    void position(int value) const
    {
        if (setPosition)
            setPosition(value);
    }
    void stepBar() const
    {
        if (step)
            step();
    }
    void showError(const QString& text) const
    {
        if (error)
            error(text);
    }
    void showInfo(const QString& text) const
    {
        if (info)
            info(text);
    }
    void alive() const
    {
        if (keepAlive)
            keepAlive();
    }
};
