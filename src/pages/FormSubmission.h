#pragma once
// A form of a page submitted as a browser submits it when one of its buttons
// is pressed; for the page readers.

#include "pages/HtmlTree.h"

#include <string>
#include <string_view>

// The form's data set, form-encoded (application/x-www-form-urlencoded,
// UTF-8), in document order: every enabled named control a browser sends
// (hidden and text inputs, checked boxes and radio buttons, the selected
// options of each select, text areas) and, at its place, the pressed
// button's name and value. The form's tree must have its references decoded.
std::string FormSubmissionBody(const xmlNode* form, const xmlNode* pressedButton);
