// The text view: a multi-line EDIT control that wraps at the window's edge
// and holds the whole document's text. Its bytes cross to the control
// through the ANSI code page codec, so untouched text saves byte for byte.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "FrontEnd.h"
#include "TextCodec.h"
#include "Win.h"

namespace bankwise {

class CBankwiseView final : public ITextView
{
public:
    CBankwiseView();
    ~CBankwiseView() override;
    CBankwiseView(const CBankwiseView&) = delete;
    CBankwiseView& operator=(const CBankwiseView&) = delete;

    bool Create(HWND parent, UINT dpi);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // ITextView: setting the text clears the user's-change mark.
    void SetText(std::string_view bytes) override;
    std::string GetText() const override;
    bool IsUserChanged() const override { return IsModified(); }
    // The user's-change mark of the control.
    bool IsModified() const;
    void SetModified(bool modified);

    bool CanUndo() const;
    bool HasSelection() const;
    static bool CanPaste();
    void Undo();
    void Cut();
    void Copy();
    void Paste();

    // The default GUI font at the window's resolution.
    void SetDpi(UINT dpi);

    const CTextCodec& Codec() const { return m_codec; }

private:
    HWND m_hWnd = nullptr;
    HFONT m_hFont = nullptr;
    CTextCodec m_codec;
};

// The codec of this process's ANSI code page; Windows-1252 where that page
// is not a single-byte one.
CTextCodec AnsiCodec();

}  // namespace bankwise
