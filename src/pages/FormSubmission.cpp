#include "pages/FormSubmission.h"

#include "text/TextUtils.h"

#include <QByteArray>

#include <utility>
#include <vector>

namespace {

QByteArray Lowered(const std::string& text)
{
    return QByteArray::fromStdString(text).trimmed().toLower();
}

// An input's type as a browser takes it: unknown or missing types are text.
QByteArray InputType(const xmlNode* input)
{
    const QByteArray type = Lowered(AttributeText(input, "type"));
    return type.isEmpty() ? QByteArrayLiteral("text") : type;
}

bool IsButton(const xmlNode* node)
{
    if (IsElement(node, "button"))
        return true;
    if (!IsElement(node, "input"))
        return false;
    const QByteArray type = InputType(node);
    return type == "submit" || type == "image" || type == "reset" || type == "button";
}

// The options of a select that it sends: the selected ones, or the first
// when none is selected and only one can be.
std::vector<const xmlNode*> SentOptions(const xmlNode* select)
{
    std::vector<const xmlNode*> options;
    std::vector<const xmlNode*> selected;
    for (const xmlNode* node = select->children; node; node = NextInTree(node, select)) {
        if (!IsElement(node, "option"))
            continue;
        options.push_back(node);
        if (HasAttribute(node, "selected") && !HasAttribute(node, "disabled"))
            selected.push_back(node);
    }
    if (selected.empty() && !options.empty() && !HasAttribute(select, "multiple"))
        selected.push_back(options.front());
    return selected;
}

std::string OptionValue(const xmlNode* option)
{
    if (HasAttribute(option, "value"))
        return AttributeText(option, "value");
    return QByteArray::fromStdString(SubtreeText(option)).simplified().toStdString();
}

} // namespace

std::string FormSubmissionBody(const xmlNode* form, const xmlNode* pressedButton)
{
    std::vector<std::pair<std::string, std::string>> fields;
    for (const xmlNode* node = form->children; node; node = NextInTree(node, form)) {
        const std::string_view name = ElementName(node);
        if (name != "input" && name != "select" && name != "textarea" && name != "button")
            continue;
        const std::string controlName = AttributeText(node, "name");
        if (controlName.empty() || HasAttribute(node, "disabled"))
            continue;
        if (IsButton(node)) {
            if (node == pressedButton)
                fields.emplace_back(controlName, AttributeText(node, "value"));
        } else if (name == "select") {
            for (const xmlNode* option : SentOptions(node))
                fields.emplace_back(controlName, OptionValue(option));
        } else if (name == "textarea") {
            fields.emplace_back(controlName, SubtreeText(node));
        } else {
            const QByteArray type = InputType(node);
            if (type == "file")
                continue;
            if ((type == "checkbox" || type == "radio") && !HasAttribute(node, "checked"))
                continue;
            const bool box = type == "checkbox" || type == "radio";
            fields.emplace_back(controlName,
                                box && !HasAttribute(node, "value") ? "on" : AttributeText(node, "value"));
        }
    }
    std::string body;
    for (const auto& [fieldName, value] : fields) {
        if (!body.empty())
            body += '&';
        body += FormEncoded(fieldName) + "=" + FormEncoded(value);
    }
    return body;
}
