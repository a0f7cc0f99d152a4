// The real message boxes and save dialog, not their test answers: with Qt's
// Japanese translation installed, their buttons and labels speak Japanese.

#include "app/DialogService.h"
#include "app/QtJapanese.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace kenmori;

class JapaneseDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void standardDialogsShowJapaneseTexts();

private:
    // Collects the visible texts of the next modal dialog into m_texts and
    // closes it.
    void textsOfNextDialog();
    QStringList m_texts;
};

void JapaneseDialogsTest::initTestCase()
{
    if (!InstallQtJapanese(*QCoreApplication::instance()))
        QSKIP("Qt's Japanese translation (qt6-translations-l10n) is not installed");
}

void JapaneseDialogsTest::textsOfNextDialog()
{
    m_texts.clear();
    QTimer::singleShot(0, this, [this] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->isVisible())
                m_texts << button->text();
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            if (label->isVisible())
                m_texts << label->text();
        qobject_cast<QDialog*>(dialog)->reject();
    });
}

static bool AnyContains(const QStringList& texts, const QString& part)
{
    return std::any_of(texts.begin(), texts.end(), [&](const QString& text) { return text.contains(part); });
}

void JapaneseDialogsTest::standardDialogsShowJapaneseTexts()
{
    textsOfNextDialog();
    QVERIFY(!AskQuestion(nullptr, QStringLiteral("取得処理を中断しますか？"), QStringLiteral("中断確認")));
    QVERIFY2(AnyContains(m_texts, QStringLiteral("はい")), qPrintable(m_texts.join('|')));
    QVERIFY2(AnyContains(m_texts, QStringLiteral("いいえ")), qPrintable(m_texts.join('|')));
    QVERIFY(!AnyContains(m_texts, QStringLiteral("Yes")));

    textsOfNextDialog();
    QVERIFY(AskSaveFile(nullptr, QStringLiteral("kenmori.csv"), {QStringLiteral("CSVファイル (*.csv)")}, 0)
                .path.isEmpty());
    QVERIFY2(AnyContains(m_texts, QStringLiteral("保存")), qPrintable(m_texts.join('|')));
    QVERIFY2(AnyContains(m_texts, QStringLiteral("キャンセル")), qPrintable(m_texts.join('|')));
    QVERIFY2(AnyContains(m_texts, QStringLiteral("ファイル名")), qPrintable(m_texts.join('|')));
    QVERIFY(!AnyContains(m_texts, QStringLiteral("Cancel")));
    QVERIFY(!AnyContains(m_texts, QStringLiteral("Look in")));
}

QTEST_MAIN(JapaneseDialogsTest)
#include "JapaneseDialogsTest.moc"
