#include "catalogue/main/frm_main.h"
#include "catalogue/main/mainlists.h"
#include "common/application.h"
#include "common/paths.h"

int main(int argc, char** argv)
{
    RunStartupStep();
    GuardedApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelmo"));
    QGuiApplication::setApplicationDisplayName(AppTitle);
    InstallQtTranslation(app);
    RegisterPlatformFonts();
    WheelToKeys wheel;
    app.installEventFilter(&wheel);

    Tfrm_Main window;
    if (!window.FormCreate())
        return 1;
    InstallQuitSignalHandlers([&window] { window.close(); });
    window.show();
    return app.exec();
}
