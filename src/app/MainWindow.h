#pragma once

#include <QMainWindow>

namespace halvera {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace halvera
