// The naming options of one synthesizer family: definition name, bank-name
// pattern, patch-prefix pattern, with a preview that follows every
// keystroke. Values come from the settings store and go back only on OK.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <string>

#include "DocumentRules.h"

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

    // The controls in template order, which is also the order they are made in.
    QLabel* m_pDefinitionLabel = new QLabel(QStringLiteral("&Instr. def. name:"), this);
    QLineEdit* m_pDefinition = new QLineEdit(this);
    QLabel* m_pBankLabel = new QLabel(QStringLiteral("&Bank name:"), this);
    QLineEdit* m_pBankFormat = new QLineEdit(this);
    QPushButton* m_pOk = new QPushButton(QStringLiteral("OK"), this);
    QPushButton* m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    QLabel* m_pPreview = new QLabel(this);
    QLabel* m_pInstrLabel = new QLabel(QStringLiteral("Instr. name &format:"), this);
    QLineEdit* m_pInstrFormat = new QLineEdit(this);
    QCheckBox* m_pShowOptions =
        new QCheckBox(QStringLiteral("&Show this box when file open"), this);
};

}  // namespace bankwise
