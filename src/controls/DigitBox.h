#pragma once
// A single-line box that takes digits only: typed or pasted text with any
// other character is refused. The window sets its maximum length; the start
// position shows its number right-aligned.

#include <QLineEdit>

namespace kenmori {

class DigitBox : public QLineEdit {
    Q_OBJECT
public:
    explicit DigitBox(QWidget* owner = nullptr, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace kenmori
