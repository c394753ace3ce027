#include "app/Application.h"

#include "app/MainWindow.h"

#include <QApplication>

namespace notarium {

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Notarium"));
    QApplication::setApplicationVersion(QStringLiteral(NOTARIUM_VERSION));
    TMainForm1 window;
    window.show();
    return QApplication::exec();
}

} // namespace notarium
