#include "controls/Myedit.h"
#include "controls/Myedit2.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

class DigitBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void typingAndPastingTakeDigitsOnly();
    void alignmentAndDoubleClick();
};

void DigitBoxesTest::typingAndPastingTakeDigitsOnly()
{
    TMyEdit edit;
    TMyEdit2 edit2;
    for (QLineEdit* box : std::initializer_list<QLineEdit*>{&edit, &edit2}) {
        box->setMaxLength(5);
        QTest::keyClicks(box, "-1 a2.+");
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_3, QStringLiteral("３"), Qt::NoModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));

        QApplication::clipboard()->setText(QStringLiteral("3x4"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("12"));
        QApplication::clipboard()->setText(QStringLiteral("34567"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("12345"));
        QTest::keyClicks(box, "6");
        QCOMPARE(box->text(), QStringLiteral("12345"));
        QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
    }
}

void DigitBoxesTest::alignmentAndDoubleClick()
{
    TMyEdit edit;
    TMyEdit2 edit2;
    QCOMPARE(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(edit2.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    QSignalSpy clicked(&edit, &TMyEdit::doubleClicked);
    QSignalSpy clicked2(&edit2, &TMyEdit2::doubleClicked);
    QTest::mouseDClick(&edit, Qt::LeftButton);
    QTest::mouseDClick(&edit2, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked2.count(), 1);
}

QTEST_MAIN(DigitBoxesTest)
#include "DigitBoxesTest.moc"
