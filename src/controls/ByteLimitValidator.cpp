#include "controls/ByteLimitValidator.h"

#include "text/CodePage932.h"

namespace kenmori {

ByteLimitValidator::ByteLimitValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent)
    , m_maxBytes(maxBytes)
{
}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const
{
    // One for one within the BMP, so the cursor stays where it was.
    input = WithCodePage932Forms(input);
    return QStringToShiftJis(input).size() <= m_maxBytes ? Acceptable : Invalid;
}

} // namespace kenmori
