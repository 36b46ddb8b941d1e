// Help > About: the program's name, version and the maker's links.
#pragma once

#include <QDialog>

namespace bankwise {

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};

}  // namespace bankwise
