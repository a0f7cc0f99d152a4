#include "controls/Myedit2.h"

#include "controls/Myedit.h"

TMyEdit2::TMyEdit2(QWidget* owner)
    : QLineEdit(owner)
{
    MakeDigitsOnly(this);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TMyEdit2::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
