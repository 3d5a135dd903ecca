#include "catalogue/main/frm_main.h"
#include "common/application.h"
#include "common/paths.h"

int main(int argc, char** argv)
{
    RunStartupStep();
    GuardedApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelmo"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Videokazetta nyilvántartás"));
    InstallQtTranslation(app);
    RegisterPlatformFonts();

    Tfrm_Main window;
    if (!window.FormCreate())
        return 1;
    InstallQuitSignalHandlers([&window] { window.close(); });
    window.show();
    return app.exec();
}
