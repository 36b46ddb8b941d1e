// The naming options of one synthesizer family: definition name, bank-name
// pattern, patch-prefix pattern, with a preview that follows every
// keystroke. Values come from the settings store and go back only on OK.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "DocumentRules.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace bankwise {

class IProfile;

class COptionsDialog : public QDialog
{
    Q_OBJECT
public:
    enum { IDD = 130 };
    enum ControlId {
        IDC_DEFINITION = 1000,
        IDC_BANK_FORMAT = 1001,
        IDC_PREVIEW = 1002,
        IDC_INSTR_FORMAT = 1003,
        IDC_SHOW_OPTIONS = 1004,
    };

    // Reads the values from profile, and stores them there on OK.
    COptionsDialog(IProfile& profile, std::uint32_t nNameID, const char* pszBankFormat,
                   const char* pszInstrFormat, QWidget* parent = nullptr);

    // The control with the given id (1000 to 1004, 1 = OK, 2 = Cancel).
    QWidget* Control(int id) const;
    // The preview as the dialog shows it now.
    QString PreviewText() const;

    std::string m_strDefinition;
    std::string m_strBankFormat;
    std::string m_strInstrFormat;
    int m_bShowOptions = 0;

    void accept() override;  // OnOK

private:
    void OnInitDialog();
    void DoDataExchange(bool bSaveAndValidate);
    void UpdatePreview();
    void PlaceControls();

    IProfile& m_profile;
    std::uint32_t m_nNameID;

    QLabel* m_pDefinitionLabel;
    QLineEdit* m_pDefinition;
    QLabel* m_pBankLabel;
    QLineEdit* m_pBankFormat;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
    QLabel* m_pPreview;
    QLabel* m_pInstrLabel;
    QLineEdit* m_pInstrFormat;
    QCheckBox* m_pShowOptions;
};

}  // namespace bankwise
