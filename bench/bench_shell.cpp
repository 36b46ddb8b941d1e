// The desktop program: the time from opening a dump to its text in the
// view, on Qt's offscreen platform. Opening reads the file, detects and
// parses it, writes the definition and lays the text out in the editor.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "BankwiseApp.h"
#include "BankwiseView.h"
#include "Document.h"
#include "MainFrame.h"
#include "Profile.h"
#include "Prompt.h"
#include "gen/MidiFile.h"
#include "gen/VirusGen.h"

namespace {

using namespace bankwise;

class CSilentPrompt final : public IPrompt
{
public:
    EAnswer Message(QWidget*, EBox, const QString&) override { return EAnswer::Ok; }
    QString FileName(QWidget*, CFileRequest&) override { return {}; }
    int Exec(QDialog& dialog) override
    {
        dialog.accept();
        return dialog.result();
    }
};

void OpenToView(benchmark::State& state, const QString& dump)
{
    CMemoryProfile profile;
    profile.WriteProfileInt(kSettingsSection, kEntryShowOptions, 0);
    CSilentPrompt prompt;
    CBankwiseApp app(profile, prompt);
    app.InitInstance({QStringLiteral("bankwise")});
    CDocument& doc = app.Document();
    CBankwiseView& view = *app.MainFrame()->GetView();
    view.resize(700, 500);
    for (auto _ : state) {
        if (!doc.OpenDocumentFile(ToDocText(dump))) {
            state.SkipWithError("the dump did not open");
            break;
        }
        // Painting makes the editor lay out the lines it shows.
        view.viewport()->repaint();
        benchmark::DoNotOptimize(view.document()->blockCount());
    }
    state.counters["bytes"] = static_cast<double>(view.GetText().size());
}

void BM_ShellOpenVirusExample(benchmark::State& state)
{
    OpenToView(state, QStringLiteral(BANKWISE_EXAMPLES "/access-virus.mid"));
}
BENCHMARK(BM_ShellOpenVirusExample)->Unit(benchmark::kMillisecond);

// The full Virus: four banks of 128 singles and 128 multis.
void BM_ShellOpenFullVirus(benchmark::State& state)
{
    static QTemporaryDir dir;
    static const QString path = [] {
        std::vector<gen::Bytes> messages;
        for (std::uint8_t bank = 1; bank <= 4; ++bank) {
            for (int p = 0; p < 128; ++p)
                messages.push_back(gen::MakeVirusMessage({.bank = bank,
                                                          .program = static_cast<std::uint8_t>(p),
                                                          .name = "Single " + std::to_string(p)}));
        }
        for (int m = 0; m < 128; ++m)
            messages.push_back(gen::MakeVirusMessage({.type = gen::kVirusMulti,
                                                      .program = static_cast<std::uint8_t>(m),
                                                      .name = "Multi"}));
        const QString file = dir.filePath(QStringLiteral("full-virus.syx"));
        gen::WriteFile(file.toStdString(), gen::JoinMessages(messages));
        return file;
    }();
    OpenToView(state, path);
}
BENCHMARK(BM_ShellOpenFullVirus)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
