#pragma once
// The digits-only box with its number right-aligned (the start position).

#include <QLineEdit>

class TMyEdit2 : public QLineEdit {
    Q_OBJECT
public:
    explicit TMyEdit2(QWidget* owner = nullptr);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
