// Takes the pictures of the real windows for the README and for review:
// the main window with the JV/XP example, the options dialog for the Virus
// example, the print preview and the About box. Run through screenshots.sh,
// which starts it under xvfb-run.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

#include "BankwiseApp.h"
#include "MainFrame.h"
#include "Profile.h"
#include "Prompt.h"
#include "SettingsProfile.h"

namespace {

void Settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Grab(QWidget& window, const QString& path)
{
    Settle(600);
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.save(path, "PNG")) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// Shows each dialog without blocking, photographs it, then closes it as
// OK would.
class CCameraPrompt final : public bankwise::IPrompt
{
public:
    explicit CCameraPrompt(QDir out) : m_out(std::move(out)) {}
    bankwise::EAnswer Message(QWidget*, bankwise::EBox, const QString& text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return bankwise::EAnswer::Ok;
    }
    QString FileName(QWidget*, bankwise::CFileRequest&) override { return {}; }
    int Exec(QDialog& dialog) override
    {
        dialog.show();
        if (!m_next.isEmpty())
            m_ok &= Grab(dialog, m_out.filePath(m_next));
        m_next.clear();
        dialog.accept();
        return dialog.result();
    }
    // The file name for the picture of the next dialog.
    void Expect(const QString& name) { m_next = name; }
    bool m_ok = true;

private:
    QDir m_out;
    QString m_next;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bankwise-screenshots EXAMPLES-DIR OUT-DIR\n");
        return 2;
    }
    const QDir examples(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir home;
    bankwise::CSettingsProfile profile(
        home.filePath(QStringLiteral("Bankwise.conf")).toStdString());
    profile.WriteProfileInt(bankwise::kSettingsSection, bankwise::kEntryShowOptions, 0);

    CCameraPrompt prompt(out);
    bankwise::CBankwiseApp bankwiseApp(profile, prompt);
    if (bankwiseApp.InitInstance(
            {QStringLiteral("bankwise"), examples.filePath(QStringLiteral("roland-jvxp.syx"))}) !=
        bankwise::CBankwiseApp::kRunEventLoop)
        return 1;
    bankwise::CMainFrame& frame = *bankwiseApp.MainFrame();
    frame.move(0, 0);
    frame.resize(720, 520);
    bool ok = Grab(frame, out.filePath(QStringLiteral("main-window.png")));

    profile.WriteProfileInt(bankwise::kSettingsSection, bankwise::kEntryShowOptions, 1);
    prompt.Expect(QStringLiteral("options-dialog.png"));
    ok &= bankwiseApp.OpenDocumentFile(examples.filePath(QStringLiteral("access-virus.syx")));
    prompt.Expect(QStringLiteral("print-preview.png"));
    bankwiseApp.OnFilePrintPreview();
    prompt.Expect(QStringLiteral("about.png"));
    bankwiseApp.OnAppAbout();
    return ok && prompt.m_ok ? 0 : 1;
}
