#pragma once
// A single-line box that takes digits only: typed or pasted text with any
// other character is refused. The window sets its maximum length.

#include <QLineEdit>

class TMyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMyEdit(QWidget* owner = nullptr);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// Refuses every change to box that would leave a character other than 0-9,
// and keeps the input method away from it.
void MakeDigitsOnly(QLineEdit* box);
