#include "Prompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>

#include "StringTable.h"

namespace bankwise {

QString LoadQString(unsigned id)
{
    return QString::fromLatin1(LoadString(id).c_str());
}

QString FromDocText(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToDocText(const QString& text)
{
    return text.toUtf8().toStdString();
}

EAnswer CWidgetPrompt::Message(QWidget* parent, EBox box, const QString& text)
{
    using Box = QMessageBox;
    const bool yesNo = box == EBox::YesNoCancel;
    const Box::StandardButtons buttons = yesNo                   ? Box::Yes | Box::No | Box::Cancel
                                         : box == EBox::OkCancel ? Box::Ok | Box::Cancel
                                                                 : Box::Ok;
    const auto answer = Box::warning(parent, LoadQString(AFX_IDS_APP_TITLE), text, buttons,
                                     yesNo ? Box::Yes : Box::Ok);
    if (box == EBox::Warning || answer == Box::Ok)
        return EAnswer::Ok;
    return answer == Box::Yes ? EAnswer::Yes : answer == Box::No ? EAnswer::No : EAnswer::Cancel;
}

QString CWidgetPrompt::FileName(QWidget* parent, CFileRequest& request)
{
    QFileDialog dialog(parent, FromDocText(request.strCaption), FromDocText(request.strStartDir));
    // Qt's own dialog, so that each filter can be given its real patterns.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const CFileFilter& filter : request.filters)
        filters.append(FromDocText(filter.strName));
    if (!request.strAllFilesFilter.empty())
        filters.append(FromDocText(request.strAllFilesFilter));
    dialog.setNameFilters(filters);
    if (request.bSave && !request.strProposedName.empty())
        dialog.selectFile(FromDocText(request.strProposedName));
    // A filter's text keeps its "; " between the patterns, which Qt would
    // read as a pattern "*.syx;": the dialog's model is given the patterns
    // themselves whenever a filter is chosen. Qt keeps one default suffix
    // whatever the filter; here it follows the filter.
    auto* model = dialog.findChild<QFileSystemModel*>();
    const auto apply = [&dialog, model, &request, &filters](const QString& chosen) {
        const auto index = static_cast<std::size_t>(filters.indexOf(chosen));
        if (index >= request.filters.size())
            return;
        const CFileFilter& filter = request.filters[index];
        if (model != nullptr) {
            QStringList patterns;
            for (const std::string& pattern : filter.patterns)
                patterns.append(FromDocText(pattern));
            model->setNameFilters(patterns);
        }
        if (request.bSave)
            dialog.setDefaultSuffix(FromDocText(filter.strDefaultExt));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
    const QString start = request.nFilter < request.filters.size()
                              ? filters.at(static_cast<qsizetype>(request.nFilter))
                              : filters.value(0);
    dialog.selectNameFilter(start);
    apply(start);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
        grid && !request.strNote.empty()) {
        auto* note = new QLabel(FromDocText(request.strNote), &dialog);
        note->setObjectName(QStringLiteral("note"));
        grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (const auto chosen = filters.indexOf(dialog.selectedNameFilter());
        chosen >= 0 && static_cast<std::size_t>(chosen) < request.filters.size())
        request.nFilter = static_cast<std::size_t>(chosen);
    return dialog.selectedFiles().constFirst();
}

int CWidgetPrompt::Exec(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace bankwise
