// The options dialog from its template: the three naming fields, the live
// preview, OK enabled while the preview has a definition and a bank name.
// What the preview says and what OK stores is the document layer's model;
// this is only the template's controls around it.
#pragma once

#include <string>
#include <utility>

#include "TextCodec.h"
#include "Win.h"

namespace bankwise {

struct COptionsFields
{
    std::string definition;
    std::string bankFormat;
    std::string instrFormat;
    bool showOptions = true;
};

class IOptionsModel
{
public:
    virtual ~IOptionsModel() = default;
    virtual std::string FamilyName() const = 0;
    virtual COptionsFields Initial() const = 0;
    // The preview text (lines split by '\n') and whether OK may be pressed.
    virtual std::pair<std::string, bool> Preview(const COptionsFields& fields) const = 0;
    virtual void Store(const COptionsFields& fields) = 0;
};

class COptionsDialog
{
public:
    COptionsDialog(IOptionsModel& model, const CTextCodec& codec);
    // Runs modally over parent; IDOK or IDCANCEL.
    INT_PTR DoModal(HINSTANCE instance, HWND parent);

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void UpdatePreview();
    COptionsFields ReadFields() const;
    std::string FieldText(int id) const;

    IOptionsModel& m_model;
    const CTextCodec& m_codec;
    HWND m_hWnd = nullptr;
};

}  // namespace bankwise
