#pragma once
// A form of a page submitted as a browser submits it when one of its buttons
// is pressed; for the page readers.

#include "pages/HtmlTree.h"

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// One control's name and value as a form sends it.
struct FormField {
    std::string name;
    std::string value;
};

// The form a control belongs to, as a browser knows it: the form it stands
// in, else the last form that began before it in the page (libxml2 closes a
// form early when an element around its start ends; a browser keeps it open
// until its end tag). Null when no form began before it.
const xmlNode* FormOwner(const xmlNode* control, const xmlNode* root);

// The form's data set in document order, as a browser sends it when
// pressedButton is pressed (null: submitted by script): every enabled named
// control the form owns (hidden and text inputs, checked boxes and radio
// buttons, the selected options of each select, text areas) and, at its
// place, the pressed button's name and value. When the pressed button
// stands outside the form's element (closed early by the parser), the
// controls after the form that no form holds count as the form's. A null
// form gathers the controls of root that no form holds.
std::vector<FormField> FormDataSet(const xmlNode* form, const xmlNode* root, const xmlNode* pressedButton);

// The data set form-encoded (application/x-www-form-urlencoded, UTF-8); the
// form's tree must have its references decoded.
std::string FormSubmissionBody(const xmlNode* form, const xmlNode* root, const xmlNode* pressedButton);

} // namespace kenmori
