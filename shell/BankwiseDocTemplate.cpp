#include "BankwiseDocTemplate.h"

#include <QStringList>

#include "BankwiseDoc.h"
#include "StringTable.h"

namespace bankwise {

CBankwiseDocTemplate::CBankwiseDocTemplate(std::uint32_t nIDResource) : m_nIDResource(nIDResource)
{}

bool CBankwiseDocTemplate::GetBaseDocString(QString& rString, EDocStringIndex index) const
{
    const QStringList fields = LoadQString(m_nIDResource).split(QLatin1Char('\n'));
    if (index < 0 || index >= fields.size()) {
        rString.clear();
        return false;
    }
    rString = fields.at(index);
    return true;
}

bool CBankwiseDocTemplate::GetDocString(QString& rString, EDocStringIndex index) const
{
    if (index == filterName && m_bSaveMode) {
        rString = LoadQString(IDS_INSTRUMENT_FILTER);
        return true;
    }
    if (index == filterExt) {
        if (m_bSaveMode) {
            rString = LoadQString(IDS_INSTRUMENT_EXT);
            return true;
        }
        // ".syx;.mid" becomes ".syx;*.mid": the dialog puts one asterisk in
        // front of the whole text, the second extension needs its own.
        QString ext;
        if (!GetBaseDocString(ext, filterExt))
            return false;
        const qsizetype semicolon = ext.indexOf(QLatin1Char(';'));
        rString = semicolon < 0
                      ? ext
                      : ext.left(semicolon + 1) + QLatin1Char('*') + ext.mid(semicolon + 1);
        return true;
    }
    return GetBaseDocString(rString, index);
}

CBankwiseDocTemplate::EConfidence
CBankwiseDocTemplate::MatchDocType(const QString& pathName, CBankwiseDoc*& rpDocMatch) const
{
    rpDocMatch = nullptr;
    if (m_pDocument != nullptr && m_pDocument->GetPathName() == pathName) {
        rpDocMatch = m_pDocument;
        return yesAlreadyOpen;
    }

    QString filter;
    if (!GetDocString(filter, filterExt) || filter.isEmpty())
        return yesAttemptForeign;

    // Everything from the last dot on, even when that dot is in a folder name.
    const qsizetype dot = pathName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return yesAttemptForeign;
    const QString ext = pathName.mid(dot);

    const qsizetype semicolon = filter.indexOf(QLatin1Char(';'));
    const auto same = [&ext](const QString& candidate) {
        return ext.compare(candidate, Qt::CaseInsensitive) == 0;
    };
    if (semicolon >= 0) {
        if (same(filter.left(semicolon)) || same(filter.mid(semicolon + 2)))
            return yesAttemptNative;
    } else if (same(filter)) {
        return yesAttemptNative;
    }
    return yesAttemptForeign;
}

CFileRequest CBankwiseDocTemplate::MakeFileRequest(bool save) const
{
    CFileRequest request;
    request.save = save;
    request.caption = LoadQString(save ? IDS_SHELL_SAVE_CAPTION : IDS_SHELL_OPEN_CAPTION);
    GetDocString(request.filterName, filterName);
    QString ext;
    GetDocString(ext, filterExt);
    if (!ext.isEmpty()) {
        request.patterns = (QLatin1Char('*') + ext).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // The default extension is the first one, without its dot.
        request.defaultSuffix = ext.section(QLatin1Char(';'), 0, 0).mid(1);
    }
    request.allFilesFilter = LoadQString(IDS_SHELL_ALL_FILES);
    return request;
}

}  // namespace bankwise
