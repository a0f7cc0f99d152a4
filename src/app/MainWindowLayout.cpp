// The fixed layout of the main window: every control at its pixel position.

#include "app/MainWindow.h"

#include "run/ConditionChoices.h"
#include "controls/ByteLimitValidator.h"
#include "controls/DigitBox.h"
#include "run/OutputFieldCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace kenmori {

static constexpr int kComboHeight = 20;
static constexpr int kEditHeight = 20;
static constexpr int kCheckHeight = 17;
static constexpr int kListRowHeight = 16;

QFont MainWindowFont()
{
    const QString windowsFace = QStringLiteral("ＭＳ Ｐゴシック");
    QFont font(QFontDatabase::hasFamily(windowsFace) ? windowsFace : QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    return font;
}

static QGroupBox* MakeGroup(QWidget* parent, const QString& title, int left, int top, int width, int height)
{
    auto* group = new QGroupBox(title, parent);
    group->setGeometry(left, top, width, height);
    return group;
}

static QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

static QComboBox* MakeCombo(QWidget* parent, int left, int top, int width, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setGeometry(left, top, width, kComboHeight);
    combo->addItems(items);
    combo->setCurrentIndex(0);
    combo->setMaxVisibleItems(20);
    combo->setAttribute(Qt::WA_InputMethodEnabled, false);
    return combo;
}

static QCheckBox* MakeCheck(QWidget* parent, const QString& text, int left, int top, int width)
{
    auto* check = new QCheckBox(text, parent);
    check->setGeometry(left, top, width, kCheckHeight);
    return check;
}

// maxBytes: what the settings file keeps of the text, in code page 932 bytes.
static QLineEdit* MakeTextEdit(QWidget* parent, int left, int top, int width, std::size_t maxBytes)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(left, top, width, kEditHeight);
    edit->setMaxLength(static_cast<int>(maxBytes));
    edit->setValidator(new ByteLimitValidator(maxBytes, edit));
    return edit;
}

// The window's lists: a blank item first where the list has one.
static QStringList Items(bool blankFirst, const auto& names)
{
    QStringList items;
    if (blankFirst)
        items << QString();
    for (const char* name : names)
        items << QString::fromUtf8(name);
    return items;
}

static QStringList RegionItems()
{
    return Items(true, PrefectureNames());
}

static QStringList OfferTypeItems()
{
    return Items(false, OfferTypeNames());
}

static QStringList JobHakenItems()
{
    return Items(true, JobHakenNames());
}

static QStringList JobTypeItems()
{
    return Items(true, JobTypeNames());
}

// Index n shows division n as "01 : 農業", so the index is the division code.
static QStringList JobIndustryItems()
{
    QStringList items{QString()};
    int code = 1;
    for (const char* name : IndustryDivisionNames())
        items << QStringLiteral("%1 : %2").arg(code++, 2, 10, QLatin1Char('0')).arg(QString::fromUtf8(name));
    return items;
}

void MainWindow::buildLayout()
{
    setWindowTitle(QStringLiteral("Kenmori"));
    setFont(MainWindowFont());
    setFixedSize(400, 529);

    // Left column.
    group1 = MakeGroup(this, " 勤務先の都道府県", 8, 12, 150, 111);
    lblSelRegion1 = MakeLabel(group1, "選択1 : ", 12, 24);
    cmbRegion1 = MakeCombo(group1, 57, 20, 82, RegionItems());
    lblSelRegion2 = MakeLabel(group1, "選択2 : ", 12, 48);
    cmbRegion2 = MakeCombo(group1, 57, 44, 82, RegionItems());
    lblSelRegion3 = MakeLabel(group1, "選択3 : ", 12, 72);
    cmbRegion3 = MakeCombo(group1, 57, 68, 82, RegionItems());
    lblRegionComment = MakeLabel(group1, "※3箇所まで同時の指定可", 14, 94);
    QFont smallFont = font();
    smallFont.setPixelSize(11);
    lblRegionComment->setFont(smallFont);
    lblRegionComment->adjustSize();

    group2 = MakeGroup(this, " 市区町村名（選択1のみ） ", 8, 128, 150, 65);
    editCity = MakeTextEdit(group2, 12, 20, 126, kCityWordBytes);
    lblCityComment = MakeLabel(group2, "※空白区切りで複数指定可", 12, 46);

    group3 = MakeGroup(this, " 求人情報の種類 ", 8, 198, 150, 53);
    cmbOfferType = MakeCombo(group3, 12, 20, 126, OfferTypeItems());

    group4 = MakeGroup(this, " 派遣・請負の指定 ", 8, 256, 150, 53);
    cmbJobHaken = MakeCombo(group4, 12, 20, 126, JobHakenItems());

    group5 = MakeGroup(this, " 求職番号 ", 8, 314, 150, 53);
    lblJobNo = MakeLabel(group5, "－", 62, 25);

    chkJobSet1 = MakeCheck(this, "当日･前日の情報のみ", 10, 372, 140);
    chkJobSet2 = MakeCheck(this, "1週間以内の情報のみ", 10, 389, 140);
    chkJobSet3 = MakeCheck(this, "事業所名掲載有りのみ", 10, 406, 140);
    chkOnlyNew = MakeCheck(this, "新着のみ", 10, 423, 140);

    // Right column.
    group6 = MakeGroup(this, " 希望する職種 ", 168, 12, 224, 53);
    cmbJobType = MakeCombo(group6, 12, 20, 200, JobTypeItems());

    group7 = MakeGroup(this, " 希望する産業 ", 168, 70, 224, 53);
    cmbJobIndustry = MakeCombo(group7, 12, 20, 200, JobIndustryItems());
    cmbJobIndustry->setMaxVisibleItems(25);

    group8 = MakeGroup(this, " フリーワード 検索指定 ", 168, 128, 224, 65);
    editWord = MakeTextEdit(group8, 12, 20, 200, kFreeWordBytes);
    lblWordComment = MakeLabel(group8, "検索方法：", 12, 46);
    rdoWordType1 = new QRadioButton(QStringLiteral("OR"), group8);
    rdoWordType1->setGeometry(70, 42, 44, kCheckHeight);
    rdoWordType1->setChecked(true);
    rdoWordType2 = new QRadioButton(QStringLiteral("AND"), group8);
    rdoWordType2->setGeometry(115, 42, 50, kCheckHeight);
    rdoWordType3 = new QRadioButton(QStringLiteral("NOT"), group8);
    rdoWordType3->setGeometry(167, 42, 50, kCheckHeight);

    group9 = MakeGroup(this, " 職種分類コード指定 ", 168, 198, 224, 53);
    lblJobCode1 = MakeLabel(group9, "職1 : ", 12, 24);
    lblJobCodeBar1 = MakeLabel(group9, "－", 74, 25);
    lblJobCode2 = MakeLabel(group9, "職2 : ", 118, 24);
    lblJobCodeBar2 = MakeLabel(group9, "－", 180, 25);

    group10 = MakeGroup(this, " 取得開始位置の指定  ", 168, 256, 224, 53);
    chkRetry = MakeCheck(group10, QString(), 15, 22, 18);
    lblRetry = MakeLabel(group10, "件目から開始する", 113, 24);
    lblRetry->setEnabled(false);

    group11 = MakeGroup(this, " 出力項目 ", 168, 314, 225, 184);
    chkOutput = MakeCheck(group11, "全選択 / 全解除", 15, 20, 114);
    clstOutput = new QListWidget(group11);
    clstOutput->setGeometry(12, 40, 200, 132);
    QFont listFont = font();
    listFont.setPixelSize(13);
    clstOutput->setFont(listFont);
    clstOutput->setUniformItemSizes(true);
    clstOutput->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const char* name : OutputFieldNamesUtf8()) {
        auto* row = new QListWidgetItem(QString::fromUtf8(name), clstOutput);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Unchecked);
        row->setSizeHint(QSize(0, kListRowHeight));
    }

    // Run controls.
    lblStatus = new QLabel(QStringLiteral("\u3000\u3000"), this);
    lblStatus->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblStatus->setGeometry(8, 500, 392 - 8, 13);

    btnStart = new QPushButton(QStringLiteral("取得 (&R)"), this);
    btnStart->setGeometry(8, 442, 75, 28);
    btnClear = new QPushButton(QStringLiteral("クリア (&N)"), this);
    btnClear->setGeometry(84, 442, 74, 28);
    btnCancel = new QPushButton(QStringLiteral("キャンセル (&C)"), this);
    btnCancel->setGeometry(8, 470, 150, 28);
    btnCancel->setEnabled(false);

    prgBar = new QProgressBar(this);
    prgBar->setGeometry(0, 529 - 16, 400, 16);
    prgBar->setRange(0, 100);
    prgBar->setValue(0);
    prgBar->setTextVisible(false);
}

// Shared by the seven digit-only boxes.
static DigitBox* MakeNumberBox(QWidget* group, int tag, int left, int width, int maxLength,
                               Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* box = new DigitBox(group, alignment);
    box->setGeometry(left, 20, width, kEditHeight);
    box->setMaxLength(maxLength);
    box->setProperty("tag", tag);
    return box;
}

void MainWindow::createNumberBoxes()
{
    editJobNo1 = MakeNumberBox(group5, 0, 12, 48, 5);
    editJobNo2 = MakeNumberBox(group5, 1, 71, 67, 8);

    editJobCode1 = MakeNumberBox(group9, 0, 43, 30, 3);
    editJobCode2 = MakeNumberBox(group9, 1, 83, 23, 2);
    editJobCode3 = MakeNumberBox(group9, 2, 149, 30, 3);
    editJobCode4 = MakeNumberBox(group9, 3, 189, 23, 2);

    editRetry = MakeNumberBox(group10, 0, 34, 70, 7, Qt::AlignRight | Qt::AlignVCenter);
    editRetry->setText(QStringLiteral("0"));
    editRetry->setEnabled(false);
    startPositionToggled(); // the button-face colour of the disabled box
}

void MainWindow::applyTabOrder()
{
    QWidget* const order[] = {cmbRegion1,   cmbRegion2,     cmbRegion3,   editCity,     cmbOfferType, cmbJobHaken,
                              editJobNo1,   editJobNo2,     chkJobSet1,   chkJobSet2,   chkJobSet3,   chkOnlyNew,
                              cmbJobType,   cmbJobIndustry, editWord,     rdoWordType1, rdoWordType2, rdoWordType3,
                              editJobCode1, editJobCode2,   editJobCode3, editJobCode4, chkRetry,     editRetry,
                              chkOutput,    clstOutput,     btnStart,     btnClear,     btnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace kenmori
