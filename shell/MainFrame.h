// The main window: menu bar, a dockable flat tool bar, a four-pane status
// bar, and the text view in the middle. It runs the document's commands and
// knows nothing of the application object, which wires its own commands
// (print, About) to the actions.
#pragma once

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "FrontEnd.h"
#include "LockKeys.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace bankwise {

class CBankwiseView;
class CDocument;
class IProfile;

// View > Options..., the one command of this program's own numbering.
inline constexpr std::uint32_t ID_VIEW_OPTIONS = 32771;

class CMainFrame : public QMainWindow, public IDocumentFrame
{
    Q_OBJECT
public:
    // profile keeps the window's place.
    explicit CMainFrame(IProfile& profile);
    ~CMainFrame() override;
    // The document is made after the window, over its view and this frame.
    void SetDocument(CDocument& document) { m_pDocument = &document; }

    CBankwiseView* GetView() const { return m_pView; }
    // The action of a command id, or null.
    QAction* Action(std::uint32_t id) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    // The indicator label of pane 2, 3 or 4 (0xE701 to 0xE703), or the
    // message pane for 0.
    QLabel* Pane(std::uint32_t id) const;

    // What the document changes of the window.
    void SetStatusText(const std::string& text) override;
    void OnTitleChanged() override;
    void OnExtractorChanged() override;
    void OnRecentFilesChanged() override;
    void Activate() override { activateWindow(); }

    void UpdateLockIndicators();
    // Where the lock-key states come from: the windowing system, unless a
    // test puts its own in.
    void SetLockKeysSource(std::function<CLockKeys()> source) { m_lockKeys = std::move(source); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    // Where the window was left, or two thirds of the screen on a first start.
    void PlaceWindow();
    // Fills a menu or the tool bar with the actions of these ids; 0 stands
    // for a separator.
    template <typename Bar> void AddItems(Bar* bar, std::initializer_list<std::uint32_t> ids) const
    {
        for (const std::uint32_t id : ids) {
            if (id == 0)
                bar->addSeparator();
            else
                bar->addAction(Action(id));
        }
    }

    CDocument& Document() const { return *m_pDocument; }

    IProfile& m_profile;
    CDocument* m_pDocument = nullptr;
    CBankwiseView* m_pView;
    QToolBar* m_pToolBar = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentPlaceholder = nullptr;
    QAction* m_pRecentEnd = nullptr;
    std::vector<QAction*> m_recentActions;
    std::map<std::uint32_t, QAction*> m_actions;
    std::map<std::uint32_t, QLabel*> m_panes;
    std::function<CLockKeys()> m_lockKeys = QueryLockKeys;
};

}  // namespace bankwise
