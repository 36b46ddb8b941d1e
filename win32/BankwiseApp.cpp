#include "BankwiseApp.h"

#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {

CBankwiseApp::CBankwiseApp(HINSTANCE instance)
    : m_hInstance(instance), m_pFrame(std::make_unique<CMainFrame>(*this))
{}

CBankwiseApp::~CBankwiseApp() = default;

bool CBankwiseApp::InitInstance(const std::vector<std::wstring>& /*args*/, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!m_pFrame->Create(m_hInstance))
        return false;
    m_pFrame->SetTitle(Text(IDS_SHELL_UNTITLED));
    ShowWindow(m_pFrame->GetSafeHwnd(), showCommand);
    UpdateWindow(m_pFrame->GetSafeHwnd());
    return true;
}

bool CBankwiseApp::Dispatch(MSG& msg)
{
    if (msg.message == WM_QUIT)
        return false;
    if (!m_pFrame->PreTranslateMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

int CBankwiseApp::Run()
{
    MSG msg{};
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!Dispatch(msg))
                return static_cast<int>(msg.wParam);
        }
        if (m_pFrame->GetSafeHwnd() != nullptr)
            m_pFrame->OnIdle();
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
            return static_cast<int>(msg.wParam);
        if (!Dispatch(msg))
            return static_cast<int>(msg.wParam);
    }
}

void CBankwiseApp::PumpMessages()
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        Dispatch(msg);
    if (m_pFrame->GetSafeHwnd() != nullptr)
        m_pFrame->OnIdle();
}

void CBankwiseApp::OnCommand(unsigned /*id*/) {}

bool CBankwiseApp::IsCommandEnabled(unsigned id) const
{
    return id != ID_VIEW_OPTIONS;
}

std::vector<std::wstring> CBankwiseApp::RecentFiles() const
{
    return {};
}

void CBankwiseApp::OnDropFiles(const std::vector<std::wstring>& /*files*/) {}

bool CBankwiseApp::CanCloseFrame()
{
    return true;
}

}  // namespace bankwise
