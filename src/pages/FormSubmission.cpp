#include "pages/FormSubmission.h"

#include "text/TextUtils.h"

#include <QByteArray>

#include <vector>

namespace kenmori {

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

bool IsFormControl(std::string_view name)
{
    return name == "input" || name == "select" || name == "textarea" || name == "button";
}

// What the control adds to its form's data set.
void AddControl(const xmlNode* node, const xmlNode* pressedButton, std::vector<FormField>& fields)
{
    const std::string name = AttributeText(node, "name");
    if (name.empty() || HasAttribute(node, "disabled"))
        return;
    const std::string_view element = ElementName(node);
    if (IsButton(node)) {
        if (node == pressedButton)
            fields.push_back({name, AttributeText(node, "value")});
    } else if (element == "select") {
        for (const xmlNode* option : SentOptions(node))
            fields.push_back({name, OptionValue(option)});
    } else if (element == "textarea") {
        fields.push_back({name, SubtreeText(node)});
    } else {
        const QByteArray type = InputType(node);
        const bool box = type == "checkbox" || type == "radio";
        if (type == "file" || (box && !HasAttribute(node, "checked")))
            return;
        fields.push_back({name, box && !HasAttribute(node, "value") ? "on" : AttributeText(node, "value")});
    }
}

} // namespace

const xmlNode* FormOwner(const xmlNode* control, const xmlNode* root)
{
    if (const xmlNode* form = EnclosingElement(control, "form"))
        return form;
    const xmlNode* lastForm = nullptr;
    for (const xmlNode* node = root; node && node != control; node = NextInTree(node, root)) {
        if (IsElement(node, "form"))
            lastForm = node;
    }
    return lastForm;
}

std::vector<FormField> FormDataSet(const xmlNode* form, const xmlNode* root, const xmlNode* pressedButton)
{
    std::vector<FormField> fields;
    // A pressed button outside the form's element shows that the parser
    // closed the form early: controls after it that no form holds are then
    // the form's too, as the last one begun before them. Otherwise a form
    // holds just what stands in it.
    const bool closedEarly = form && pressedButton && EnclosingElement(pressedButton, "form") != form;
    const xmlNode* lastForm = nullptr;
    for (const xmlNode* node = root; node; node = NextInTree(node, root)) {
        const std::string_view name = ElementName(node);
        if (name == "form") {
            lastForm = node;
        } else if (IsFormControl(name)) {
            const xmlNode* enclosing = EnclosingElement(node, "form");
            const xmlNode* owner = enclosing ? enclosing : (closedEarly ? lastForm : nullptr);
            if (owner == form)
                AddControl(node, pressedButton, fields);
        }
    }
    return fields;
}

std::string FormSubmissionBody(const xmlNode* form, const xmlNode* root, const xmlNode* pressedButton)
{
    std::string body;
    for (const FormField& field : FormDataSet(form, root, pressedButton)) {
        if (!body.empty())
            body += '&';
        body += FormEncoded(field.name) + "=" + FormEncoded(field.value);
    }
    return body;
}

} // namespace kenmori
