#include "Prompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
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
                                    QMessageBox::Ok)
                       == QMessageBox::Ok
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

QString CWidgetPrompt::FileName(QWidget* parent, const CFileRequest& request)
{
    QFileDialog dialog(parent, request.caption, request.startDir);
    // Qt's own dialog, so that the filter below can be given its real patterns.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({request.filterName, request.allFilesFilter});
    if (request.save) {
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.proposedName.isEmpty())
            dialog.selectFile(request.proposedName);
    }
    // The filter's text keeps its "; " between the patterns, which Qt would
    // read as a pattern "*.syx;". The dialog's model is given the patterns
    // themselves whenever our filter is chosen.
    if (auto* model = dialog.findChild<QFileSystemModel*>()) {
        const auto apply = [model, &request](const QString& filter) {
            if (filter == request.filterName)
                model->setNameFilters(request.patterns);
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
        apply(request.filterName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int CWidgetPrompt::Exec(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace bankwise
