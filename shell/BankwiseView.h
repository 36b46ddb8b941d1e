// The text view: a word-wrapped plain-text editor that holds the whole
// instrument definition. Its text goes in and out as bytes, each byte one
// ISO-8859-1 character, so a save writes back exactly what was loaded.
#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

#include "FrontEnd.h"

class QPagedPaintDevice;

namespace bankwise {

// Bytes as the editor shows them: CR LF ends a line; a lone CR or LF would
// otherwise become a line end too and not come back, so each shows as its
// control picture (U+240D, U+240A) and is saved as the byte again.
QString TextFromBytes(std::string_view bytes);
// The editor's raw text back to bytes: a paragraph end is CR LF. A character
// outside ISO-8859-1 (typed or pasted) has no byte and is saved as '?'.
std::string BytesFromText(const QString& rawText);

class CBankwiseView : public QPlainTextEdit, public ITextView
{
    Q_OBJECT
public:
    explicit CBankwiseView(QWidget* parent = nullptr);

    void SetText(std::string_view bytes) override;
    std::string GetText() const override;
    bool IsUserChanged() const override;

    void PrintTo(QPagedPaintDevice& device) const;

signals:
    // The user changed the text (not a load).
    void EditedByUser();

private:
    bool m_bLoading = false;
};

}  // namespace bankwise
