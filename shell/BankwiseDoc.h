// The program's one document: it owns the extractor of the current dump,
// turns the dump into text in the view, saves the view's text, exports the
// dump's names in other sequencers' formats, and remembers where the user
// last opened, saved and exported files.
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "DumpExtractor.h"
#include "OutputFormat.h"

class QWidget;

namespace bankwise {

class CBankwiseApp;
class CBankwiseDocTemplate;
class CBankwiseView;

class CBankwiseDoc : public QObject
{
    Q_OBJECT
public:
    enum class EDir { Open, Save };

    CBankwiseDoc(CBankwiseApp& app, CBankwiseDocTemplate& docTemplate);
    ~CBankwiseDoc() override;

    void SetView(CBankwiseView* view) { m_pView = view; }
    CBankwiseView* GetView() const { return m_pView; }

    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& pathName, bool bAddToMRU = true);
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }

    bool OnNewDocument();
    bool OnOpenDocument(const QString& pathName);
    // Asked when the main window is about to close; false keeps it open.
    bool CanCloseFrame();
    // The save-changes query: true when the caller may go on.
    bool SaveModified();

    bool OnFileSave();
    bool OnFileSaveAs();
    void OnViewOptions();
    bool OnUpdateViewOptions() const { return m_pExtractor != nullptr; }
    // Writes the loaded dump's names, as the naming settings make them, in
    // another sequencer's format. The document itself stays as it was.
    bool OnFileExport();
    bool OnUpdateFileExport() const { return m_pExtractor != nullptr; }

    bool DetectAndParse(const std::vector<std::uint8_t>& dump, bool bMidiFile);
    void ConvertToView();
    void UseRememberedDir(EDir which);
    // Reads the remembered folders from the settings and starts in the open one.
    void LoadRememberedDirs();

    // The folder the file dialogs start in; it follows the folder the user
    // last chose a file in.
    const QString& GetCurrentDir() const { return m_strCurrentDir; }
    void SetCurrentDir(const QString& dir) { m_strCurrentDir = dir; }

    QString m_strOpenDir;
    QString m_strSaveDir;
    std::unique_ptr<CDumpExtractor> m_pExtractor;

signals:
    void TitleChanged();
    void ExtractorChanged();
    // A note on the file just opened for the status bar; empty: none.
    void StatusMessage(const QString& text);

private:
    bool DoSave(const QString& pathName);
    bool OnSaveDocument(const QString& pathName);
    // Every file the document writes goes through here: the whole of bytes
    // or, with a message saying why, nothing and the old file as it was.
    bool WriteTarget(const QString& pathName, const std::string& bytes);
    // The dump's names in format, for the view or an export; nothing, after
    // saying so, when memory runs out. left gets what the format has no place for.
    std::optional<std::string> MakeText(EOutputFormat format, std::vector<std::string>* left);
    bool RunOptionsDialog();
    void DropExtractor();
    QWidget* Parent() const;

    CBankwiseApp& m_app;
    CBankwiseDocTemplate& m_template;
    CBankwiseView* m_pView = nullptr;
    QString m_strTitle;
    QString m_strPathName;
    QString m_strCurrentDir;
    QString m_strDumpName;  // base name of the dump the extractor was made for
    bool m_bModified = false;
};

// Reads a whole dump file. On failure returns false and leaves a message
// that names the file in error.
bool ReadDumpFile(const QString& pathName, std::vector<std::uint8_t>& bytes, QString& error);

}  // namespace bankwise
