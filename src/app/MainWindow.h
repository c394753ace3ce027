#pragma once

#include <QMainWindow>

namespace notarium {

// The main window: the tree pane, the title band and the memo pane of one document.
class TMainForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm1(QWidget* parent = nullptr);
    ~TMainForm1() override;
};

} // namespace notarium
