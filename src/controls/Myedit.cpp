#include "controls/Myedit.h"

#include <QRegularExpressionValidator>

void MakeDigitsOnly(QLineEdit* box)
{
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setInputMethodHints(Qt::ImhDigitsOnly);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
}

TMyEdit::TMyEdit(QWidget* owner)
    : QLineEdit(owner)
{
    MakeDigitsOnly(this);
}

void TMyEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
