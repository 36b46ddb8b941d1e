// The one document type: it serves the dump filter for opening and the
// instrument filter while the document saves, and tells how well a file
// about to be opened matches.
#pragma once

#include <QString>

#include <cstdint>

#include "Prompt.h"

namespace bankwise {

class CBankwiseDoc;

class CBankwiseDocTemplate
{
public:
    enum EDocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    enum EConfidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

    explicit CBankwiseDocTemplate(std::uint32_t nIDResource);

    // One field of the document strings; in save mode the filter fields are
    // those of instrument files. False when the field does not exist.
    bool GetDocString(QString& rString, EDocStringIndex index) const;
    EConfidence MatchDocType(const QString& pathName, CBankwiseDoc*& rpDocMatch) const;

    // A file dialog's filters as the current mode has them.
    CFileRequest MakeFileRequest(bool save) const;

    void SetDocument(CBankwiseDoc* document) { m_pDocument = document; }

    bool m_bSaveMode = false;

private:
    bool GetBaseDocString(QString& rString, EDocStringIndex index) const;

    std::uint32_t m_nIDResource;
    CBankwiseDoc* m_pDocument = nullptr;
};

}  // namespace bankwise
