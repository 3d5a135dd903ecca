#include "common/application.h"

#include "common/errors.h"
#include "common/messages.h"

#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <exception>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString messageOf(const std::exception& e)
{
    if (const auto* z = dynamic_cast<const ZelmoError*>(&e))
        return z->message();
    return QString::fromUtf8(e.what());
}

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(messageOf(e), activeWindow());
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
        ShowError(messageOf(e), owner);
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
