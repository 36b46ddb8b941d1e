// bankwise: the desktop program.
#include <QApplication>

#include "BankwiseApp.h"
#include "Profile.h"
#include "Prompt.h"
#include "SettingsProfile.h"
#include "StringTable.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(bankwise::LoadQString(bankwise::IDS_REGISTRY_COMPANY));
    QApplication::setApplicationName(bankwise::LoadQString(bankwise::AFX_IDS_APP_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(BANKWISE_VERSION));
    // The desktop entry's name, so that window managers match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("bankwise"));

    bankwise::CSettingsProfile profile;
    const bankwise::CScopedAppProfile appProfile(profile);
    bankwise::CWidgetPrompt prompt;
    bankwise::CBankwiseApp bankwiseApp(profile, prompt);
    const int status = bankwiseApp.InitInstance(QApplication::arguments());
    if (status != bankwise::CBankwiseApp::kRunEventLoop)
        return status;
    return QApplication::exec();
}
