#include "app/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    halvera::MainWindow window;
    window.showMaximized();
    return app.exec();
}
