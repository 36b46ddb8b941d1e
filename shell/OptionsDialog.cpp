#include "OptionsDialog.h"

#include <QFontMetrics>

#include <algorithm>
#include <utility>

#include "AboutDialog.h"
#include "DumpExtractor.h"
#include "Profile.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

// The caption; the controls' texts are beside them in the class.
constexpr const char* kCaption = "Instrument file options for %s";

// Client size and control rectangles in dialog units: left, top, width, height.
constexpr int kClientWidth = 215;
constexpr int kClientHeight = 151;
struct CRect
{
    int x, y, cx, cy;
};
constexpr CRect kDefinitionLabelRect{14, 9, 53, 8};
constexpr CRect kDefinitionRect{68, 7, 80, 12};
constexpr CRect kBankLabelRect{26, 27, 39, 8};
constexpr CRect kBankFormatRect{68, 25, 80, 12};
constexpr CRect kOkRect{158, 7, 50, 14};
constexpr CRect kCancelRect{158, 24, 50, 14};
constexpr CRect kPreviewRect{7, 65, 201, 66};
constexpr CRect kInstrLabelRect{7, 44, 60, 8};
constexpr CRect kInstrFormatRect{68, 43, 80, 12};
constexpr CRect kShowOptionsRect{7, 137, 108, 8};

QString FromBytes(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

COptionsDialog::COptionsDialog(IProfile& profile, std::uint32_t nNameID, const char* pszBankFormat,
                               const char* pszInstrFormat, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_nNameID(nNameID)
{
    const COptionsValues values = LoadOptions(profile, nNameID, pszBankFormat, pszInstrFormat);
    m_strDefinition = values.strDefinition;
    m_strBankFormat = values.strBankFormat;
    m_strInstrFormat = values.strInstrFormat;
    m_bShowOptions = values.bShowOptions;

    setWindowTitle(QString::fromLatin1(kCaption));
    m_pDefinition->setObjectName(QStringLiteral("IDC_DEFINITION"));
    m_pBankFormat->setObjectName(QStringLiteral("IDC_BANK_FORMAT"));
    m_pInstrFormat->setObjectName(QStringLiteral("IDC_INSTR_FORMAT"));
    m_pPreview->setObjectName(QStringLiteral("IDC_PREVIEW"));
    m_pShowOptions->setObjectName(QStringLiteral("IDC_SHOW_OPTIONS"));
    m_pOk->setObjectName(QStringLiteral("IDOK"));
    m_pCancel->setObjectName(QStringLiteral("IDCANCEL"));

    m_pDefinitionLabel->setBuddy(m_pDefinition);
    m_pBankLabel->setBuddy(m_pBankFormat);
    m_pInstrLabel->setBuddy(m_pInstrFormat);
    // Names and patterns are data: never let a '<' turn the preview into markup.
    m_pPreview->setTextFormat(Qt::PlainText);
    m_pPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pPreview->setWordWrap(false);
    m_pOk->setDefault(true);
    m_pOk->setEnabled(false);

    // Template order is tab order.
    QWidget* const tabs[] = {m_pDefinition, m_pBankFormat,  m_pOk,
                             m_pCancel,     m_pInstrFormat, m_pShowOptions};
    for (std::size_t i = 1; i < std::size(tabs); ++i)
        setTabOrder(tabs[i - 1], tabs[i]);

    connect(m_pOk, &QPushButton::clicked, this, &COptionsDialog::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &COptionsDialog::reject);
    for (QLineEdit* field : {m_pDefinition, m_pBankFormat, m_pInstrFormat})
        connect(field, &QLineEdit::textChanged, this, &COptionsDialog::UpdatePreview);

    PlaceControls();
    OnInitDialog();
}

void COptionsDialog::PlaceControls()
{
    // Dialog units: a quarter of the font's average character width, an
    // eighth of its height.
    const QSize base = DialogBaseUnits(QFontMetrics(font()));
    int baseX = base.width();
    // The units were chosen for a narrower font than most desktops use: grow
    // them until every label and the check box show their whole text, so the
    // layout keeps its proportions.
    const std::pair<QWidget*, int> texts[] = {{m_pDefinitionLabel, kDefinitionLabelRect.cx},
                                              {m_pBankLabel, kBankLabelRect.cx},
                                              {m_pInstrLabel, kInstrLabelRect.cx},
                                              {m_pShowOptions, kShowOptionsRect.cx}};
    for (const auto& [widget, width] : texts)
        baseX = std::max(baseX, (widget->sizeHint().width() * 4 + width - 1) / width);
    const auto place = [&](QWidget* w, const CRect& r) {
        w->setGeometry(DialogUnitsToPixels(QRect(r.x, r.y, r.cx, r.cy), baseX, base.height()));
    };
    place(m_pDefinitionLabel, kDefinitionLabelRect);
    place(m_pDefinition, kDefinitionRect);
    place(m_pBankLabel, kBankLabelRect);
    place(m_pBankFormat, kBankFormatRect);
    place(m_pOk, kOkRect);
    place(m_pCancel, kCancelRect);
    place(m_pPreview, kPreviewRect);
    place(m_pInstrLabel, kInstrLabelRect);
    place(m_pInstrFormat, kInstrFormatRect);
    place(m_pShowOptions, kShowOptionsRect);
    setFixedSize(
        DialogUnitsToPixels(QRect(0, 0, kClientWidth, kClientHeight), baseX, base.height()).size());
}

void COptionsDialog::OnInitDialog()
{
    DoDataExchange(false);
    setWindowTitle(
        FromBytes(SafeFormat(ToBytes(windowTitle()), {FormatArg::Text(LoadString(m_nNameID))})));
    UpdatePreview();
    m_pDefinition->setFocus();
}

void COptionsDialog::DoDataExchange(bool bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_strDefinition = ToBytes(m_pDefinition->text());
        m_strBankFormat = ToBytes(m_pBankFormat->text());
        m_strInstrFormat = ToBytes(m_pInstrFormat->text());
        m_bShowOptions = m_pShowOptions->isChecked() ? 1 : 0;
    } else {
        m_pDefinition->setText(FromBytes(m_strDefinition));
        m_pBankFormat->setText(FromBytes(m_strBankFormat));
        m_pInstrFormat->setText(FromBytes(m_strInstrFormat));
        m_pShowOptions->setChecked(m_bShowOptions != 0);
    }
}

void COptionsDialog::UpdatePreview()
{
    const COptionsPreview preview =
        MakeOptionsPreview(m_nNameID, ToBytes(m_pDefinition->text()),
                           ToBytes(m_pBankFormat->text()), ToBytes(m_pInstrFormat->text()));
    m_pPreview->setText(FromBytes(preview.text));
    m_pOk->setEnabled(preview.okEnabled);
}

void COptionsDialog::accept()
{
    // Only what OK allows is stored, however the dialog is accepted.
    if (!m_pOk->isEnabled())
        return;
    DoDataExchange(true);
    StoreOptions(m_profile, m_nNameID,
                 {m_strDefinition, m_strBankFormat, m_strInstrFormat, m_bShowOptions});
    QDialog::accept();
}

QWidget* COptionsDialog::Control(int id) const
{
    const std::pair<int, QWidget*> controls[] = {{1, m_pOk},
                                                 {2, m_pCancel},
                                                 {IDC_DEFINITION, m_pDefinition},
                                                 {IDC_BANK_FORMAT, m_pBankFormat},
                                                 {IDC_PREVIEW, m_pPreview},
                                                 {IDC_INSTR_FORMAT, m_pInstrFormat},
                                                 {IDC_SHOW_OPTIONS, m_pShowOptions}};
    for (const auto& [controlId, widget] : controls) {
        if (controlId == id)
            return widget;
    }
    return nullptr;
}

QString COptionsDialog::PreviewText() const
{
    return m_pPreview->text();
}

}  // namespace bankwise
