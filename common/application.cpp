#include "common/application.h"

#include "common/errors.h"
#include "common/messages.h"

#include <QAction>
#include <QDir>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <exception>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

// On Unix a line edit reads Ctrl+E, Ctrl+K, Ctrl+H and the like as editing keys
// and would swallow them; a key that an action of the window holds is the action's.
bool keyOfWindowAction(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !qobject_cast<QLineEdit*>(receiver))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* a : static_cast<QWidget*>(receiver)->window()->actions())
        if (a->isEnabled() && a->shortcuts().contains(pressed))
            return true;
    return false;
}

} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    if (keyOfWindowAction(receiver, event)) {
        event->ignore();
        return false;
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(ExceptionMessage(e), activeWindow());
    } catch (...) {
        ShowError(QStringLiteral("Ismeretlen hiba történt."), activeWindow());
    }
    return false;
}

bool RunGuarded(QWidget* owner, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        ShowError(ExceptionMessage(e), owner);
    } catch (...) {
        ShowError(QStringLiteral("Ismeretlen hiba történt."), owner);
    }
    return false;
}

void InstallQtTranslation(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

void RegisterPlatformFonts()
{
    // The Tahoma of Debian's fonts-wine lies where fontconfig does not look.
    const QDir wineFonts(QStringLiteral("/usr/share/wine/fonts"));
    for (const QString& name : wineFonts.entryList({QStringLiteral("tahoma*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(wineFonts.filePath(name));
}

void InstallQuitSignalHandlers(std::function<void()> quit)
{
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [quit = std::move(quit)] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}
