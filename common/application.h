#pragma once

#include <QApplication>

#include <functional>

// The catalogue's title: window captions, the splash screen, exported pages.
inline const QString AppTitle = QStringLiteral("Videokazetta nyilvántartás");

// The application object of both programs. An exception that leaves an event
// handler is shown in the error box with its message, and the window that was
// busy stays usable: nothing a user does ends the program by an exception.
// A key that one of the window's actions holds reaches the action even while
// a line edit has the focus.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Runs `action`; an exception is shown with ShowError over `owner`. Returns
// false when the action failed.
bool RunGuarded(QWidget* owner, const std::function<void()>& action);

// Loads Qt's own Hungarian texts (message-box buttons, file and print dialogs).
void InstallQtTranslation(QCoreApplication& app);

// Registers the fonts the windows name that fontconfig may not find itself.
void RegisterPlatformFonts();

// SIGTERM and SIGINT call `quit` on the user-interface thread, so that the
// program closes the normal way (tables closed, settings written).
void InstallQuitSignalHandlers(std::function<void()> quit);
