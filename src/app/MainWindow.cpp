#include "app/MainWindow.h"

namespace notarium {

TMainForm1::TMainForm1(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Untitled - Notarium"));
    resize(630, 464);
}

TMainForm1::~TMainForm1() = default;

} // namespace notarium
