#include "search/TFindForm1.h"

#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/WidgetHint.h"
#include "core/search/FindWalk.h"
#include "search/HistoryComboBox.h"
#include "search/SearchWindows.h"
#include "search/TWinRoller.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace notarium {

using namespace search_windows;

TFindForm1::TFindForm1(QWidget* mainWindow, HelpService& help)
{
    setObjectName(QStringLiteral("TFindForm1"));
    setWindowTitle(QStringLiteral("検索"));
    QVBoxLayout* body = prepare(this, mainWindow, m_roller);

    auto* label = new QLabel(QStringLiteral("検索する文字列(&K)："));
    label->setObjectName(QStringLiteral("Label1"));
    m_findEdit = new HistoryComboBox;
    m_findEdit->setObjectName(QStringLiteral("FindEdit"));
    setHint(m_findEdit, "検索する文字列を入力|検索する文字列を入力してください");
    label->setBuddy(m_findEdit);

    const OptionBoxes boxes = optionBoxes();
    m_matchCase = boxes.matchCase;
    m_matchByte = boxes.matchByte;
    m_ignoreCrLf = boxes.ignoreCrLf;
    m_wholeWord = boxes.wholeWord;

    auto* direction = new QGroupBox(QStringLiteral(" 検索方向 "));
    direction->setObjectName(QStringLiteral("GroupBox2"));
    m_backward = radioButton("rbBackward", "前へ(&B)",
        "キャレット位置より前を検索（後方検索）|キャレット位置より前を検索します（後方検索）");
    m_forward = radioButton("rbForeward", "次へ(&N)",
        "キャレット位置の次を検索（前方検索）|キャレット位置の次を検索します（前方検索）");
    m_forward->setChecked(true);
    auto* directionLayout = new QVBoxLayout(direction);
    directionLayout->addWidget(m_backward);
    directionLayout->addWidget(m_forward);
    directionLayout->addStretch();

    auto* target = new QGroupBox(QStringLiteral(" 検索対象 "));
    target->setObjectName(QStringLiteral("GroupBox1"));
    m_wholePage = radioButton("rbWholePage", "すべてのページ(&W)",
        "すべてのページ（メモ）を対象に検索を実行（全文検索）|"
        "すべてのページ（メモ）を対象に検索を実行します（全文検索）");
    m_currentPage = radioButton("rbCurrentPage", "表示ページのみ(&U)",
        "現在のページ（メモ）を対象に検索を実行|現在のページ（メモ）を対象に検索を実行します");
    m_wholePage->setChecked(true);
    m_title = checkBox("cbTitle", "タイトル(&T)", "タイトルに含まれる文字列を検索|タイトルに含まれる文字列を検索します");
    m_body = checkBox("cbBody", "メモのテキスト(&M)", "メモ本文のテキストを検索|メモ本文のテキストを検索します");
    m_body->setChecked(true);
    auto* targetLayout = new QGridLayout(target);
    targetLayout->addWidget(m_wholePage, 0, 0);
    targetLayout->addWidget(m_currentPage, 1, 0);
    targetLayout->addWidget(m_title, 0, 1);
    targetLayout->addWidget(m_body, 1, 1);

    m_findButton = new QPushButton(QStringLiteral("検索(&F)"));
    m_findButton->setObjectName(QStringLiteral("FindButton"));
    setHint(m_findButton, "指定した文字列を指定した条件で検索|指定した文字列を指定した条件で検索します");
    m_findButton->setDefault(true);
    m_findButton->setEnabled(false);
    m_cancelButton = new QPushButton(QStringLiteral("閉じる"));
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    setHint(m_cancelButton, "検索ダイアログを閉じる|検索ダイアログを閉じます");
    m_cancelButton->setAutoDefault(false);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(m_findEdit, 1);
    auto* options = new QVBoxLayout;
    options->setSpacing(2);
    for (QCheckBox* box : { m_matchCase, m_matchByte, m_ignoreCrLf, m_wholeWord })
        options->addWidget(box);
    options->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addLayout(textRow, 0, 0, 1, 3);
    grid->addLayout(options, 1, 0);
    grid->addWidget(direction, 1, 1);
    grid->addWidget(target, 1, 2);
    grid->addLayout(buttons, 0, 3, 2, 1);
    grid->setColumnStretch(0, 1);
    body->addLayout(grid);

    connect(m_findEdit, &QComboBox::editTextChanged, this, &TFindForm1::updateFindButton);
    connect(m_title, &QCheckBox::clicked, this, &TFindForm1::updateFindButton);
    connect(m_body, &QCheckBox::clicked, this, &TFindForm1::updateFindButton);
    connect(m_currentPage, &QRadioButton::toggled, this, &TFindForm1::rangeChanged);
    connect(m_findButton, &QPushButton::clicked, this, [this] {
        m_findEdit->remember();
        emit findRequested();
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::close);

    new ContextHelp(this, help, HelpWindow::FindWindowContext);
    // The window keeps the size its controls need, at least its designed client size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumSize(480, 157 + m_roller->titleArea()->sizeHint().height());
}

TFindForm1::~TFindForm1() = default;

void TFindForm1::start(const FindState& state, const QString& searchText)
{
    m_findEdit->setEditText(searchText);
    m_findEdit->lineEdit()->selectAll(); // typing replaces the offered text
    m_matchCase->setChecked(state.matchCase);
    m_matchByte->setChecked(state.ignoreWidth);
    m_ignoreCrLf->setChecked(state.skipBreaksAndSpaces);
    m_wholeWord->setChecked(state.wholeWord);
    (state.allPages ? m_wholePage : m_currentPage)->setChecked(true);
    rangeChanged();
    updateFindButton();
}

void TFindForm1::store(FindState& state) const
{
    state.matchCase = m_matchCase->isChecked();
    state.ignoreWidth = m_matchByte->isChecked();
    state.skipBreaksAndSpaces = m_ignoreCrLf->isChecked();
    state.wholeWord = m_wholeWord->isChecked();
    state.forward = m_forward->isChecked();
    state.allPages = m_wholePage->isChecked();
    state.titles = m_title->isChecked();
    state.bodies = m_body->isChecked();
}

bool TFindForm1::isComposing() const
{
    return m_findEdit->isComposing();
}

void TFindForm1::updateFindButton()
{
    m_findButton->setEnabled(!m_findEdit->currentText().isEmpty() && (m_title->isChecked() || m_body->isChecked()));
}

void TFindForm1::rangeChanged()
{
    // The shown page only: the page's text, never the titles of other nodes.
    if (m_currentPage->isChecked()) {
        m_title->setChecked(false);
        m_body->setChecked(true);
    }
    m_title->setEnabled(!m_currentPage->isChecked());
    updateFindButton();
}

} // namespace notarium
