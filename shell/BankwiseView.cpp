#include "BankwiseView.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QScopedValueRollback>
#include <QTextDocument>

namespace bankwise {
namespace {

constexpr char16_t kCrPicture = 0x240D;
constexpr char16_t kLfPicture = 0x240A;

}  // namespace

QString TextFromBytes(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text += QLatin1Char('\n');
            ++i;
        } else if (byte == '\r') {
            text += QChar(kCrPicture);
        } else if (byte == '\n') {
            text += QChar(kLfPicture);
        } else {
            text += QChar(byte);
        }
    }
    return text;
}

std::string BytesFromText(const QString& rawText)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(rawText.size()) + 64);
    for (const QChar c : rawText) {
        const char16_t u = c.unicode();
        if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == u'\n')
            bytes += "\r\n";
        else if (u == kCrPicture)
            bytes += '\r';
        else if (u == kLfPicture)
            bytes += '\n';
        else if (u < 0x100)
            bytes += static_cast<char>(u);
        else
            bytes += '?';
    }
    return bytes;
}

CBankwiseView::CBankwiseView(QWidget* parent) : QPlainTextEdit(parent)
{
    // Lines wrap at the window's edge; there is never a horizontal scroll bar.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(QApplication::font());
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_bLoading)
            emit EditedByUser();
    });
}

void CBankwiseView::SetText(std::string_view bytes)
{
    const QScopedValueRollback loading(m_bLoading, true);
    setPlainText(TextFromBytes(bytes));
    document()->setModified(false);
}

std::string CBankwiseView::GetText() const
{
    return BytesFromText(document()->toRawText());
}

bool CBankwiseView::IsUserChanged() const
{
    return document()->isModified();
}

void CBankwiseView::PrintTo(QPagedPaintDevice& device) const
{
    print(&device);
}

}  // namespace bankwise
