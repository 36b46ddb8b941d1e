// Printing with GDI: the view's text laid out in pages on the chosen
// printer, the printer kept for the run (Print Setup), and the preview
// window that shows the same pages, one or two at a time. A printer name
// ending in ".emf" writes each page as an enhanced metafile instead (NAME,
// then NAME-2.emf ...), so pages can be checked without a printer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PrintLayout.h"
#include "Win.h"

namespace bankwise {

// Where the text goes on a page, in the page's device units.
struct CPageSetup
{
    int width = 0;  // printable width and height of the page
    int height = 0;
    int margin = 0;
    int lineHeight = 1;
    std::size_t linesPerPage = 1;
    LOGFONTW font{};
};

// The setup for a page of width by height device units at dpi, with the
// program's print font.
CPageSetup MakePageSetup(int width, int height, int dpi);
// The pages of text on dc (which measures the text) with setup's font.
std::vector<Page> LayoutPages(HDC dc, const CPageSetup& setup, const std::wstring& text);
void DrawPage(HDC dc, const CPageSetup& setup, const Page& page);

enum class EPrintResult { Printed, Cancelled, NoPrinter, NoSuchPrinter, Failed };

class CPrinter
{
public:
    CPrinter() = default;
    ~CPrinter();
    CPrinter(const CPrinter&) = delete;
    CPrinter& operator=(const CPrinter&) = delete;

    // The print dialog, then the pages; with showDialog false the kept (or
    // the default) printer at once.
    EPrintResult Print(HWND owner, const std::wstring& docName, const std::wstring& text,
                       bool showDialog);
    // printer: a printer's name, or a file name ending in ".emf".
    EPrintResult PrintTo(const std::wstring& printer, const std::wstring& docName,
                         const std::wstring& text);
    // Print Setup: the printer and its settings, kept for the rest of the run.
    bool Setup(HWND owner);
    // The kept printer's page (or an A4 page at 600 dpi when there is no printer).
    CPageSetup PageSetupForPreview() const;

    // The pages of the last print, for the status and the tests.
    const std::vector<Page>& LastPages() const { return m_lastPages; }

private:
    HDC CreateKeptPrinterDC() const;
    EPrintResult PrintOnDC(HDC dc, const std::wstring& docName, const std::wstring& text);
    EPrintResult PrintToMetafiles(const std::wstring& path, const std::wstring& text);

    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    std::vector<Page> m_lastPages;
};

// The preview window over owner, modal until it is closed. print is
// called when its Print button is pressed (the preview closes first).
class CPrintPreview
{
public:
    CPrintPreview(const CPageSetup& setup, std::vector<Page> pages);
    // Runs until the window closes; true when the user asked to print.
    bool Run(HINSTANCE instance, HWND owner);

    HWND GetSafeHwnd() const { return m_hWnd; }
    std::size_t PageCount() const { return m_pages.size(); }
    std::size_t FirstPage() const { return m_first; }
    bool TwoPages() const { return m_bTwoPages; }
    void OnCommand(unsigned id);

    static constexpr unsigned kPrint = 1;
    static constexpr unsigned kNext = 2;
    static constexpr unsigned kPrev = 3;
    static constexpr unsigned kTwoPages = 4;
    static constexpr unsigned kClose = 5;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void Layout();
    void UpdateButtons();

    CPageSetup m_setup;
    std::vector<Page> m_pages;
    std::size_t m_first = 0;
    bool m_bTwoPages = false;
    bool m_bPrint = false;
    HWND m_hWnd = nullptr;
    HWND m_buttons[5] = {};
    HFONT m_hButtonFont = nullptr;
};

}  // namespace bankwise
