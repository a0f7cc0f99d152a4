#pragma once
// Every message box and the save dialog of the program pass through here:
// application-modal, top-most boxes, notices with OK and the information
// icon, questions with Yes and No and the question icon. A test installs
// DialogAnswers to answer them and to read what would have been shown.

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

namespace kenmori {

enum class DialogKind {
    Notice,
    Question,
    SaveFile,
    Failure, // an unexpected error reported by the application
};

struct ShownDialog {
    DialogKind kind;
    QString title;
    QString text;           // the save dialog: the suggested file name
    bool defaultNo = false; // a question whose default button is No
};

void ShowNotice(QWidget* parent, const QString& text, const QString& title);

// True for Yes. The default button is Yes unless defaultNo is set.
bool AskQuestion(QWidget* parent, const QString& text, const QString& title, bool defaultNo = false);

struct SaveFileChoice {
    QString path; // empty when the user cancelled
    int fileType = 0;
};

// The save dialog offering fileTypes (name filters such as "CSVファイル
// (*.csv)"), the one at shownType first.
SaveFileChoice AskSaveFile(QWidget* parent, const QString& suggestedName, const QStringList& fileTypes,
                           int shownType);

// The message of an exception that reached the event loop.
void ShowFailure(const QString& text);

// While an instance lives, nothing is shown: every dialog is recorded and
// answered from the queues (No and Cancel once they run dry).
class DialogAnswers {
public:
    DialogAnswers();
    ~DialogAnswers();
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    std::deque<bool> questionAnswers;
    std::deque<QString> savePaths;
    // The file type chosen with each path; the one shown first once they run dry.
    std::deque<int> saveFileTypes;
    std::vector<ShownDialog> shown;
};

} // namespace kenmori
