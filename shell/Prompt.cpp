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

EAnswer CWidgetPrompt::Message(QWidget* parent, EBox box, const QString& text)
{
    const QString title = LoadQString(AFX_IDS_APP_TITLE);
    switch (box) {
    case EBox::Warning:
        QMessageBox::warning(parent, title, text);
        return EAnswer::Ok;
    case EBox::OkCancel:
        return QMessageBox::warning(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                    QMessageBox::Ok) == QMessageBox::Ok
                   ? EAnswer::Ok
                   : EAnswer::Cancel;
    case EBox::YesNoCancel:
        switch (QMessageBox::warning(parent, title, text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                     QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return EAnswer::Yes;
        case QMessageBox::No:
            return EAnswer::No;
        default:
            return EAnswer::Cancel;
        }
    }
    return EAnswer::Cancel;
}

namespace {

// The extension of a "Name (*.ext)" filter, without its dot.
QString SuffixOf(const QString& filter)
{
    const qsizetype open = filter.lastIndexOf(QLatin1String("(*."));
    if (open < 0 || !filter.endsWith(QLatin1Char(')')))
        return {};
    return filter.mid(open + 3, filter.size() - open - 4);
}

}  // namespace

QString CWidgetPrompt::FileName(QWidget* parent, const CFileRequest& request)
{
    QFileDialog dialog(parent, request.caption, request.startDir);
    // Qt's own dialog, so that the filter below can be given its real patterns.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters{request.filterName};
    filters += request.moreFilters;
    if (!request.allFilesFilter.isEmpty())
        filters.append(request.allFilesFilter);
    dialog.setNameFilters(filters);
    if (request.save && !request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    // The first filter's text keeps its "; " between the patterns, which Qt
    // would read as a pattern "*.syx;". The dialog's model is given the
    // patterns themselves whenever that filter is chosen. Qt keeps one
    // default suffix whatever the filter; here it follows the filter.
    auto* model = dialog.findChild<QFileSystemModel*>();
    const auto apply = [&dialog, model, &request](const QString& filter) {
        if (filter == request.filterName) {
            if (model != nullptr)
                model->setNameFilters(request.patterns);
            if (request.save)
                dialog.setDefaultSuffix(request.defaultSuffix);
        } else if (request.save && request.moreFilters.contains(filter)) {
            dialog.setDefaultSuffix(SuffixOf(filter));
        }
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
    const QString start =
        request.selectedFilter != nullptr && filters.contains(*request.selectedFilter)
            ? *request.selectedFilter
            : request.filterName;
    dialog.selectNameFilter(start);
    apply(start);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()); grid && !request.note.isEmpty()) {
        auto* note = new QLabel(request.note, &dialog);
        note->setObjectName(QStringLiteral("note"));
        grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (request.selectedFilter != nullptr)
        *request.selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

int CWidgetPrompt::Exec(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace bankwise
