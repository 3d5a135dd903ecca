#include "maintenance/frm_upd_main.h"

#include "common/application.h"
#include "common/paths.h"

int main(int argc, char** argv)
{
    RunStartupStep();
    GuardedApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelmo_Upd"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Pellinor - adatbázis karbantartás"));
    InstallQtTranslation(app);
    RegisterPlatformFonts();

    Tfrm_Upd_Main window;
    window.FormCreate();
    InstallQuitSignalHandlers([&window] { window.close(); });
    window.show();
    return app.exec();
}
