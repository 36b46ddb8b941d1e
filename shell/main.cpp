// bankwise: the desktop program.
#include <QApplication>
#include <QCoreApplication>

#include <memory>
#include <string_view>

#include "BankwiseApp.h"
#include "Profile.h"
#include "Prompt.h"
#include "StringTable.h"

namespace {

// --help and --version print and end; they must work without a display.
bool AsksForInformation(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (AsksForInformation(argc, argv)) {
        const QCoreApplication core(argc, argv);
        bankwise::CBankwiseApp::CCommandLine ignored;
        return bankwise::CBankwiseApp::ParseCommandLine(QCoreApplication::arguments(), ignored);
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(bankwise::LoadQString(bankwise::IDS_REGISTRY_COMPANY));
    QApplication::setApplicationName(bankwise::LoadQString(bankwise::AFX_IDS_APP_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(BANKWISE_VERSION));
    // The desktop entry's name, so that window managers match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("bankwise"));

    bankwise::CWidgetPrompt prompt;
    const std::unique_ptr<bankwise::IProfile> profile = bankwise::OpenUserProfile(prompt);
    bankwise::CBankwiseApp bankwiseApp(*profile, prompt);
    const int status = bankwiseApp.InitInstance(QApplication::arguments());
    if (status != bankwise::CBankwiseApp::kRunEventLoop)
        return status;
    return QApplication::exec();
}
