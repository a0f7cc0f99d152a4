#include "controls/DigitBox.h"

#include <QRegularExpressionValidator>

namespace kenmori {

DigitBox::DigitBox(QWidget* owner, Qt::Alignment alignment)
    : QLineEdit(owner)
{
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    // Input methods would compose other characters past the validator.
    setInputMethodHints(Qt::ImhDigitsOnly);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAlignment(alignment);
}

void DigitBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

} // namespace kenmori
