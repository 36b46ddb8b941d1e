// Everything the desktop program asks the user goes through one seam: message
// boxes, file dialogs and modal dialogs. The program uses the widget prompt;
// tests put in one that answers from a script, so no test waits on a box.
#pragma once

#include <QString>

#include <string>

#include "FrontEnd.h"

class QDialog;
class QWidget;

namespace bankwise {

class IPrompt
{
public:
    virtual ~IPrompt() = default;
    virtual EAnswer Message(QWidget* parent, EBox box, const QString& text) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString FileName(QWidget* parent, CFileRequest& request) = 0;
    // Runs a modal dialog; returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog) = 0;
};

// The real boxes and dialogs.
class CWidgetPrompt final : public IPrompt
{
public:
    EAnswer Message(QWidget* parent, EBox box, const QString& text) override;
    QString FileName(QWidget* parent, CFileRequest& request) override;
    int Exec(QDialog& dialog) override;
};

// A text of the string table as Qt text (the table holds single bytes).
QString LoadQString(unsigned id);
// The document layer's texts and file names (UTF-8) as Qt text, and back.
QString FromDocText(const std::string& text);
std::string ToDocText(const QString& text);

}  // namespace bankwise
