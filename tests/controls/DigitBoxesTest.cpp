#include "controls/DigitBox.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

using namespace kenmori;

class DigitBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void typingAndPastingTakeDigitsOnly();
    void alignmentAndDoubleClick();
};

void DigitBoxesTest::typingAndPastingTakeDigitsOnly()
{
    DigitBox edit;
    DigitBox edit2(nullptr, Qt::AlignRight | Qt::AlignVCenter);
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
    DigitBox edit;
    DigitBox edit2(nullptr, Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(edit2.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    QSignalSpy clicked(&edit, &DigitBox::doubleClicked);
    QSignalSpy clicked2(&edit2, &DigitBox::doubleClicked);
    QTest::mouseDClick(&edit, Qt::LeftButton);
    QTest::mouseDClick(&edit2, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked2.count(), 1);
}

QTEST_MAIN(DigitBoxesTest)
#include "DigitBoxesTest.moc"
