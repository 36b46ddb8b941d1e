// Shows the About box outside the program:
//   bankwise-about-demo            the dialog, as Help > About shows it
//   bankwise-about-demo --more     the dialog with its information box open
//   bankwise-about-demo --grab DIR writes DIR/about.png and DIR/about-more.png
//                                  and quits (works on the offscreen platform)
#include "AboutDialog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

bool Save(QWidget* widget, const QString& path)
{
    if (widget == nullptr || !widget->grab().save(path)) {
        std::fprintf(stderr, "bankwise-about-demo: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption more(QStringLiteral("more"),
                                  QStringLiteral("Open the information box too."));
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Write both boxes as pictures into DIR and quit."),
                                  QStringLiteral("DIR"));
    parser.addOption(more);
    parser.addOption(grab);
    parser.process(app);

    bankwise::CAboutDialog dialog;
    bool saved = true;
    if (parser.isSet(grab)) {
        const QDir dir(parser.value(grab));
        QTimer::singleShot(100, &dialog, [&dialog, &saved, dir] {
            saved = Save(&dialog, dir.filePath(QStringLiteral("about.png")));
            // The box runs its own loop; picture it from inside that loop.
            QTimer::singleShot(100, &dialog, [&dialog, &saved, dir] {
                QWidget* box = QApplication::activeModalWidget();
                if (box == &dialog)
                    box = nullptr;
                saved = Save(box, dir.filePath(QStringLiteral("about-more.png"))) && saved;
                if (box != nullptr)
                    box->close();
                dialog.accept();
            });
            dialog.OnMoreInfo();
        });
    } else if (parser.isSet(more)) {
        QTimer::singleShot(0, &dialog, &bankwise::CAboutDialog::OnMoreInfo);
    }
    dialog.exec();
    return saved ? 0 : 1;
}
