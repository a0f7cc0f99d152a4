#pragma once
// Keeps a text box within what the settings file keeps of it: a number of
// code page 932 bytes, not characters, so a text that fits the box comes
// back whole at the next start. Look-alike characters that input methods
// type become the code page's own forms as they are typed.

#include <QValidator>

#include <cstddef>

namespace kenmori {

class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    ByteLimitValidator(std::size_t maxBytes, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

private:
    const std::size_t m_maxBytes;
};

} // namespace kenmori
