#include "platform/qt/help_window.h"

#include <QIcon>
#include <QUrl>

namespace vivarix {

QTextBrowser* createHelpWindow(QWidget* owner) {
    auto* help = new QTextBrowser(owner);
    help->setWindowFlag(Qt::Window);
    help->setWindowTitle(QStringLiteral("Vivarix help"));
    help->setOpenExternalLinks(true);
    help->setSource(QUrl(QStringLiteral("qrc:/help/help.html")));
    help->resize(600, 640);
    return help;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vivarix-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace vivarix
