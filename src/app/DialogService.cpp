#include "app/DialogService.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace kenmori {

static DialogAnswers* installedAnswers = nullptr;

DialogAnswers::DialogAnswers()
{
    installedAnswers = this;
}

DialogAnswers::~DialogAnswers()
{
    if (installedAnswers == this)
        installedAnswers = nullptr;
}

static QMessageBox::StandardButton ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                           const QString& title, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    // The texts carry Windows line ends; a lone CR would show as a glyph.
    QString shownText = text;
    shownText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon, title, shownText, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowNotice(QWidget* parent, const QString& text, const QString& title)
{
    if (installedAnswers) {
        installedAnswers->shown.push_back({DialogKind::Notice, title, text});
        return;
    }
    ShowBox(parent, QMessageBox::Information, text, title, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskQuestion(QWidget* parent, const QString& text, const QString& title, bool defaultNo)
{
    if (installedAnswers) {
        installedAnswers->shown.push_back({DialogKind::Question, title, text, defaultNo});
        if (installedAnswers->questionAnswers.empty())
            return false;
        const bool answer = installedAnswers->questionAnswers.front();
        installedAnswers->questionAnswers.pop_front();
        return answer;
    }
    return ShowBox(parent, QMessageBox::Question, text, title, QMessageBox::Yes | QMessageBox::No,
                   defaultNo ? QMessageBox::No : QMessageBox::Yes)
        == QMessageBox::Yes;
}

SaveFileChoice AskSaveFile(QWidget* parent, const QString& suggestedName, const QStringList& fileTypes,
                           int shownType)
{
    if (installedAnswers) {
        installedAnswers->shown.push_back({DialogKind::SaveFile, QString(), suggestedName});
        if (installedAnswers->savePaths.empty())
            return {};
        SaveFileChoice choice{installedAnswers->savePaths.front(), shownType};
        installedAnswers->savePaths.pop_front();
        if (!installedAnswers->saveFileTypes.empty()) {
            choice.fileType = installedAnswers->saveFileTypes.front();
            installedAnswers->saveFileTypes.pop_front();
        }
        return choice;
    }
    // Qt's own dialog asks before overwriting and can be resized; it has no
    // read-only box to hide. It is used in place of the desktop's dialog so
    // that it speaks Japanese with the program, whatever the system language.
    QFileDialog dialog(parent, QStringLiteral("取得情報の保存先を指定してください"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(fileTypes);
    if (shownType >= 0 && shownType < fileTypes.size())
        dialog.selectNameFilter(fileTypes.at(shownType));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), std::max<int>(0, fileTypes.indexOf(dialog.selectedNameFilter()))};
}

void ShowFailure(const QString& text)
{
    if (installedAnswers) {
        installedAnswers->shown.push_back({DialogKind::Failure, QApplication::applicationName(), text});
        return;
    }
    ShowBox(QApplication::activeWindow(), QMessageBox::Critical, text, QApplication::applicationName(),
            QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace kenmori
