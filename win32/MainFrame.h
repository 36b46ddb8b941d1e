// The main window: menu, accelerators, tool bar, status bar with its four
// panes and command prompts, around the text view. What a command does is
// the program's business (IFrameOwner); the frame keeps only the widgets
// and shows what the document tells it (IDocumentFrame).
#pragma once

#include <string>
#include <vector>

#include "BankwiseView.h"
#include "FrontEnd.h"
#include "Win.h"

namespace bankwise {

class CDocument;

inline constexpr unsigned kIdToolBar = 0xE800;    // AFX_IDW_TOOLBAR
inline constexpr unsigned kIdStatusBar = 0xE801;  // AFX_IDW_STATUS_BAR
inline constexpr unsigned kIdView = 0xE900;       // AFX_IDW_PANE_FIRST
inline constexpr unsigned kRecentFileCount = 4;

class IFrameOwner
{
public:
    virtual ~IFrameOwner() = default;
    // A menu, accelerator or tool-bar command the frame does not handle itself.
    virtual void OnCommand(unsigned id) = 0;
    virtual bool IsCommandEnabled(unsigned id) const = 0;
    virtual std::vector<std::wstring> RecentFiles() const = 0;
    virtual void OnDropFiles(const std::vector<std::wstring>& files) = 0;
    // The text view's text changed, by the user or by the program.
    virtual void OnViewChanged() = 0;
    // Asked before the window closes; false keeps it open.
    virtual bool CanCloseFrame() = 0;
};

class CMainFrame final : public IDocumentFrame
{
public:
    explicit CMainFrame(IFrameOwner& owner);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    bool Create(HINSTANCE instance);
    HWND GetSafeHwnd() const { return m_hWnd; }
    CBankwiseView& View() { return m_view; }
    HWND ToolBar() const { return m_hToolBar; }
    HWND StatusBar() const { return m_hStatusBar; }

    // Accelerators and the lock-key panes; true when msg was used up.
    bool PreTranslateMessage(MSG& msg);
    // Called when the message queue is empty: tool-bar buttons follow
    // their commands' state.
    void OnIdle();

    // The document whose title the frame shows; it must outlive the frame's use of it.
    void SetDocument(const CDocument& document) { m_pDocument = &document; }

    // IDocumentFrame
    void SetStatusText(const std::string& text) override;
    void OnTitleChanged() override;
    void Activate() override;

    // "title - Bankwise"
    void SetTitle(const std::wstring& title);
    // A message in the first pane until the next prompt replaces it.
    void SetMessageText(const std::wstring& text);
    std::wstring GetPaneText(int pane) const;
    bool IsEnabled(unsigned id) const;
    void UpdateLockIndicators();

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnCommand(unsigned id);
    void OnInitMenuPopup(HMENU menu);
    void UpdateRecentFileMenu(HMENU fileMenu);
    void OnMenuSelect(unsigned id, unsigned flags, HMENU menu);
    LRESULT OnNotify(NMHDR& header);
    void OnDropFiles(HDROP drop);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void CreateToolBarImages();
    void LayoutStatusPanes();
    void RecalcLayout();
    void ShowBar(HWND bar, bool show);

    IFrameOwner& m_owner;
    const CDocument* m_pDocument = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hToolBar = nullptr;
    HWND m_hStatusBar = nullptr;
    HACCEL m_hAccel = nullptr;
    HIMAGELIST m_hImages = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    CBankwiseView m_view;
    std::wstring m_tipText;  // the tool tip shown; the control keeps a pointer to it
};

// The window's resolution, on Windows versions with and without per-window DPI.
UINT DpiOfWindow(HWND hWnd);

}  // namespace bankwise
