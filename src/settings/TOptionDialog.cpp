#include "settings/TOptionDialog.h"

#include "app/Colours.h"
#include "app/WaitCursor.h"
#include "app/WindowContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace notarium {

namespace {

// The page tree: each entry and the page it opens; フォルダ hangs under 全般.
struct PageEntry {
    const char* treeText;
    bool child;
};
constexpr PageEntry kPageEntries[TOptionDialog::PageCount] = {
    { "全般", false },
    { "フォルダ", true },
    { "フォントと表示色", false },
    { "ツリーペイン", false },
    { "メモペイン", false },
    { "デフォルトのタイトル", false },
    { "日付時刻の書式", false },
    { "入力支援リスト", false },
    { "テキスト出力", false },
    { "外部ツール", false },
    { "変換の色", false },
    { "その他", false },
};

} // namespace

TOptionDialog::TOptionDialog(const Settings& settings, OptionDialogState state, Applied applied, QWidget* parent)
    : QDialog(parent)
    , m_ini(settings.ini())
    , m_settings(m_ini, settings.platformDefaults())
    , m_state(std::move(state))
    , m_applied(std::move(applied))
{
    const WaitCursor wait;
    setObjectName(QStringLiteral("TOptionDialog"));
    setWindowTitle(QStringLiteral("オプション設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The colour dialogs of every page share the 16 custom colours.
    m_state.customColours.clear();
    for (const Colour colour : m_settings.customColours())
        m_state.customColours.append(qColorFromColour(colour, QApplication::palette()));
    buildPages();
    for (int position = 0; position < PageCount; ++position)
        page(position)->load(m_settings);
}

TOptionDialog::~TOptionDialog() = default;

void TOptionDialog::buildPages()
{
    auto* label = new QLabel(QStringLiteral("設定対象(&Z)"));
    m_pageTree = new QTreeWidget;
    m_pageTree->setObjectName(QStringLiteral("TreeView1"));
    m_pageTree->setHeaderHidden(true);
    m_pageTree->setRootIsDecorated(true);
    m_pageTree->setFixedWidth(150);
    label->setBuddy(m_pageTree);

    m_stack = new QStackedWidget;
    m_stack->setObjectName(QStringLiteral("PageControl1"));
    QTreeWidgetItem* parentItem = nullptr;
    for (int position = 0; position < PageCount; ++position) {
        const PageEntry& entry = kPageEntries[position];
        QTreeWidgetItem* item = entry.child && parentItem != nullptr ? new QTreeWidgetItem(parentItem)
                                                                     : new QTreeWidgetItem(m_pageTree);
        item->setText(0, QString::fromUtf8(entry.treeText));
        if (!entry.child)
            parentItem = item;
        m_pageItems.push_back(item);
        OptionPage* built = createOptionPage(position, m_state);
        m_stack->addWidget(built);
        connect(built, &OptionPage::applyChanged, this, [this] {
            if (m_shown)
                m_applyButton->setEnabled(true);
        });
    }
    m_pageTree->expandAll();
    connect(m_pageTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        for (int position = 0; position < PageCount; ++position)
            if (m_pageItems[static_cast<std::size_t>(position)] == item) {
                m_stack->setCurrentIndex(position);
                m_pageCaption->setText(page(position)->caption());
            }
    });

    m_pageCaption = new QLabel;
    m_pageCaption->setObjectName(QStringLiteral("PageCaption"));
    QFont captionFont = m_pageCaption->font();
    captionFont.setBold(true);
    m_pageCaption->setFont(captionFont);
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    m_applyButton = new QPushButton(QStringLiteral("適用(&A)"));
    m_applyButton->setObjectName(QStringLiteral("ApplyButton"));
    auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* button : { ok, cancel, m_applyButton, help })
        button->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TOptionDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TOptionDialog::reject);
    connect(m_applyButton, &QPushButton::clicked, this, &TOptionDialog::apply);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_state.services.help != nullptr)
            m_state.services.help->showContext(page(currentPage())->helpContext());
    });

    auto* left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(m_pageTree, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_pageCaption);
    right->addWidget(rule);
    right->addWidget(m_stack, 1);
    auto* panes = new QHBoxLayout;
    panes->addLayout(left);
    panes->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : { ok, cancel, m_applyButton, help })
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);

    // Ctrl+Tab and Ctrl+Page Down go to the next entry of the page tree, with Shift or Page Up
    // to the previous one, round at both ends.
    const auto shortcut = [this](const QKeySequence& keys, int step) {
        auto* keysShortcut = new QShortcut(keys, this);
        keysShortcut->setContext(Qt::WindowShortcut);
        connect(keysShortcut, &QShortcut::activated, this, [this, step] { moveThroughPages(step); });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

OptionPage* TOptionDialog::page(int position) const
{
    return static_cast<OptionPage*>(m_stack->widget(position));
}

int TOptionDialog::currentPage() const
{
    return m_stack->currentIndex();
}

void TOptionDialog::showPage(int position)
{
    m_pageTree->setCurrentItem(m_pageItems.at(static_cast<std::size_t>(position)));
}

void TOptionDialog::moveThroughPages(int step)
{
    showPage((currentPage() + step + PageCount) % PageCount);
}

bool TOptionDialog::expandAllChecked() const
{
    const auto* box = findChild<QCheckBox*>(QStringLiteral("cbExpandAll"));
    return box != nullptr && box->isChecked();
}

void TOptionDialog::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        for (int position = 0; position < PageCount; ++position)
            page(position)->showing();
        showPage(GeneralPage);
        m_applyButton->setEnabled(false);
        m_shown = true;
    }
    QDialog::showEvent(event);
}

bool TOptionDialog::write(OptionScope scope)
{
    const bool customColours = m_state.customColoursShown;
    Settings::CustomColours colours {};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = i < static_cast<std::size_t>(m_state.customColours.size())
            ? colourFromQColor(m_state.customColours.at(static_cast<qsizetype>(i)))
            : Settings::kCustomColourDefault;
    return m_state.host->updateSettings([this, scope, customColours, colours](Settings& settings) {
        for (int position = 0; position < PageCount; ++position)
            page(position)->store(settings, scope);
        if (customColours)
            settings.setCustomColours(colours);
    });
}

void TOptionDialog::apply()
{
    {
        const WaitCursor wait;
        write(OptionScope::Apply);
    }
    if (m_applied)
        m_applied(*this, OptionScope::Apply);
    m_applyButton->setEnabled(false);
}

void TOptionDialog::accept()
{
    for (int position = 0; position < PageCount; ++position)
        if (QWidget* control = page(position)->refuseOk()) {
            showPage(position);
            control->setFocus();
            return;
        }
    {
        const WaitCursor wait;
        write(OptionScope::Ok);
        for (int position = 0; position < PageCount; ++position) {
            QString error;
            if (!page(position)->saveFiles(&error) && m_state.services.prompt != nullptr)
                m_state.services.prompt->tell(this, error, QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
        }
    }
    if (m_applied)
        m_applied(*this, OptionScope::Ok);
    QDialog::accept();
}

} // namespace notarium
