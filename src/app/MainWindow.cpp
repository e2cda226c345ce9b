#include "app/MainWindow.h"

namespace halvera {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Halvera"));
    resize(1024, 768);
}

} // namespace halvera
