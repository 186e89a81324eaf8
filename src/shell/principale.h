#pragma once

#include <QMainWindow>

namespace tormel {

// The main window: owns the menus, the shared state and the panels.
class Principale : public QMainWindow {
    Q_OBJECT
public:
    explicit Principale(QWidget* parent = nullptr);
};

}  // namespace tormel
