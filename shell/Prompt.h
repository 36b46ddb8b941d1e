// Everything the desktop program asks the user goes through one seam: message
// boxes, file dialogs and modal dialogs. The program uses the widget prompt;
// tests put in one that answers from a script, so no test waits on a box.
#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace bankwise {

enum class EBox {
    Warning,      // a problem: OK only, exclamation icon
    OkCancel,     // a question that may lose work: OK and Cancel, exclamation icon
    YesNoCancel,  // the save-changes query
};

enum class EAnswer { Ok, Cancel, Yes, No };

// What a file dialog is to offer.
struct CFileRequest
{
    bool save = false;
    QString caption;
    QString startDir;
    QString proposedName;   // save only: the name the dialog starts with
    QString filterName;     // e.g. "Sysex File (*.syx; *.mid)"
    QStringList patterns;   // what that filter matches, e.g. *.syx and *.mid
    QString defaultSuffix;  // save only: added when the typed name has none
    // Further filters, each "Name (*.ext)", offered after filterName; while
    // one is chosen its extension is the default suffix.
    QStringList moreFilters;
    QString allFilesFilter;  // offered after the program's own filters, when given
    // When given: the filter the dialog starts with and, on return, the one
    // the user chose (as with QFileDialog::getSaveFileName).
    QString* selectedFilter = nullptr;
    QString note;  // one line shown under the file list, when given
};

class IPrompt
{
public:
    virtual ~IPrompt() = default;
    virtual EAnswer Message(QWidget* parent, EBox box, const QString& text) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString FileName(QWidget* parent, const CFileRequest& request) = 0;
    // Runs a modal dialog; returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog) = 0;
};

// The real boxes and dialogs.
class CWidgetPrompt final : public IPrompt
{
public:
    EAnswer Message(QWidget* parent, EBox box, const QString& text) override;
    QString FileName(QWidget* parent, const CFileRequest& request) override;
    int Exec(QDialog& dialog) override;
};

// A text of the string table as Qt text (the table holds single bytes).
QString LoadQString(unsigned id);

}  // namespace bankwise
