#include "settings/TextExportPage.h"

#include "core/textio/TextExportOptions.h"
#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace notarium {

using namespace option_controls;

namespace {

constexpr SettingKey<SettingType::String> kLevelKeys[TextExportPage::kLevelCount]
    = { key::LevelMark1, key::LevelMark2, key::LevelMark3, key::LevelMark4, key::LevelMark5, key::LevelMark6,
          key::LevelMark7, key::LevelMark8, key::LevelMark9 };
constexpr SettingKey<SettingType::String> kKindKeys[3]
    = { key::CategoryMark, key::MemoMark, key::ResultMark };

constexpr int kSeparatorLength = 3;
constexpr int kMarkLength = 10;


// Typing stops at limit characters; a longer value from the file is shown whole and kept, not cut.
void showLimited(QLineEdit* box, const QString& text, int limit)
{
    box->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    box->setText(text);
}

QRadioButton* radio(const char* name, const QString& caption)
{
    auto* button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit* markEdit(const char* name, int characters)
{
    QLineEdit* box = edit(name);
    box->setMaxLength(characters);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(4, QChar(0x25A0))) + 16);
    return box;
}

// The settings of one style, set in under its button.
QHBoxLayout* indented()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(22, 0, 0, 4);
    return row;
}

} // namespace

TextExportPage::TextExportPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("テキスト出力"),
        TOptionDialog::kFirstHelpContext + TOptionDialog::TextExportPage)
{
    m_outlineNumbers
        = radio("rbOutlineNumbers", QStringLiteral("ツリーの先頭からアウトライン番号を振る(&O)"));
    m_nodeLevels = radio("rbNodeLevels", QStringLiteral("ツリーの階層レベルによって記号を付ける(&V)"));
    m_iconMarks = radio("rbIconMarks", QStringLiteral("ツリーのアイコンによって記号を付ける(&I)"));
    auto* styles = new QButtonGroup(this);
    for (QRadioButton* button : { m_outlineNumbers, m_nodeLevels, m_iconMarks }) {
        styles->addButton(button);
        connect(button, &QRadioButton::toggled, this, &TextExportPage::followStyle);
    }

    m_separator = markEdit("SepChar", kSeparatorLength);
    m_separatorLabel = label(QStringLiteral("区切文字(&G)"), m_separator);
    auto* numbersRow = indented();
    numbersRow->addWidget(m_separatorLabel);
    numbersRow->addWidget(m_separator);
    numbersRow->addStretch(1);

    m_level = new QComboBox;
    m_level->setObjectName(QStringLiteral("cbNodeLevel"));
    for (int level = 1; level <= kLevelCount; ++level)
        m_level->addItem(QStringLiteral("Level #%1").arg(level));
    m_levelLabel = label(QStringLiteral("階層レベル(&S)"), m_level);
    m_levelMark = markEdit("mkNodeLevel", kMarkLength);
    m_levelMarkLabel = label(QStringLiteral("レベルの記号(&J)"), m_levelMark);
    auto* levelsRow = indented();
    levelsRow->addWidget(m_levelLabel);
    levelsRow->addWidget(m_level);
    levelsRow->addSpacing(12);
    levelsRow->addWidget(m_levelMarkLabel);
    levelsRow->addWidget(m_levelMark);
    levelsRow->addStretch(1);
    connect(m_level, &QComboBox::currentIndexChanged, this, &TextExportPage::showLevelMark);
    connect(m_levelMark, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_level->currentIndex() >= 0)
            m_levelMarks[static_cast<std::size_t>(m_level->currentIndex())] = text;
    });

    const char* kindNames[3] = { "CategoryMark", "MemoMark", "ResultMark" };
    const QString kindCaptions[3]
        = { QStringLiteral("カテゴリ(&C)"), QStringLiteral("メモ(&M)"), QStringLiteral("結論(&R)") };
    auto* kindsRow = indented();
    for (std::size_t i = 0; i < 3; ++i) {
        m_kindMarks[i] = markEdit(kindNames[i], kMarkLength);
        m_kindLabels[i] = label(kindCaptions[i], m_kindMarks[i]);
        if (i > 0)
            kindsRow->addSpacing(12);
        kindsRow->addWidget(m_kindLabels[i]);
        kindsRow->addWidget(m_kindMarks[i]);
    }
    kindsRow->addStretch(1);

    auto* marking = new QGroupBox(QStringLiteral(" タイトルに付ける記号・番号 "));
    auto* markingLayout = new QVBoxLayout(marking);
    markingLayout->setSpacing(2);
    markingLayout->addWidget(m_outlineNumbers);
    markingLayout->addLayout(numbersRow);
    markingLayout->addWidget(m_nodeLevels);
    markingLayout->addLayout(levelsRow);
    markingLayout->addWidget(m_iconMarks);
    markingLayout->addLayout(kindsRow);

    auto* contents
        = check("cbMakeContents", QStringLiteral("ファイルの先頭にタイトル一覧(目次)を作成する(&N)"));
    auto* emptyLine = check("cbSetEmptyLine", QStringLiteral("タイトルの後に空行を入れて１行あける(&E)"));
    auto* ignorePaperFolder = check("cbIgnorePFolder", QStringLiteral("Paper Folderのメモを無視する(&P)"));
    auto* newPage = check("cbForceNewPage", QStringLiteral("データツリーごとに改ページコードを挿入する(&L)"));
    auto* preview = check("cbPreviewText", QStringLiteral("テキスト出力後にテキストエディターで表示(&T)"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(marking);
    for (QCheckBox* box : { contents, emptyLine, ignorePaperFolder, newPage, preview })
        layout->addWidget(box);
    layout->addStretch(1);

    bind(key::MakeContents, contents);
    bind(key::SetEmptyLine, emptyLine);
    bind(key::IgnorePFolder, ignorePaperFolder);
    bind(key::ForceNewPage, newPage);
    bind(key::PreviewText, preview);
    followStyle();
}

void TextExportPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    // The style the export itself would use, so that OK leaves the export as it was: outline
    // numbers before level marks before kind marks when a hand-edited file turns on more than one.
    // With none stored at all, the dialog's own default.
    TitleMarking marking = TextExportOptions::fromSettings(settings).marking;
    if (marking == TitleMarking::None && settings.getForDialog(key::SetOutlineNumber))
        marking = TitleMarking::OutlineNumbers;
    m_outlineNumbers->setChecked(marking == TitleMarking::OutlineNumbers);
    m_nodeLevels->setChecked(marking == TitleMarking::LevelMarks);
    m_iconMarks->setChecked(marking == TitleMarking::KindMarks);
    if (marking == TitleMarking::None) {
        // Every style off, as the file says: no button is chosen until the person picks one.
        auto* group = m_outlineNumbers->group();
        group->setExclusive(false);
        for (QAbstractButton* each : group->buttons())
            each->setChecked(false);
        group->setExclusive(true);
    }

    showLimited(m_separator, QString::fromStdString(settings.getForDialog(key::SeparateChar)), kSeparatorLength);
    for (std::size_t i = 0; i < m_levelMarks.size(); ++i)
        m_levelMarks[i] = QString::fromStdString(settings.getForDialog(kLevelKeys[i]));
    for (std::size_t i = 0; i < m_kindMarks.size(); ++i)
        showLimited(m_kindMarks[i], QString::fromStdString(settings.getForDialog(kKindKeys[i])), kMarkLength);
    m_level->setCurrentIndex(0);
    showLevelMark();
    followStyle();
}

void TextExportPage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    if (scope != OptionScope::Ok)
        return;
    settings.set(key::SetOutlineNumber, m_outlineNumbers->isChecked());
    settings.set(key::SeparateChar, m_separator->text().toStdString());
    settings.set(key::SetLevelMark, m_nodeLevels->isChecked());
    for (std::size_t i = 0; i < m_levelMarks.size(); ++i)
        settings.set(kLevelKeys[i], m_levelMarks[i].toStdString());
    settings.set(key::SetIconMark, m_iconMarks->isChecked());
    for (std::size_t i = 0; i < m_kindMarks.size(); ++i)
        settings.set(kKindKeys[i], m_kindMarks[i]->text().toStdString());
}

void TextExportPage::followStyle()
{
    const bool numbers = m_outlineNumbers->isChecked();
    m_separator->setEnabled(numbers);
    m_separatorLabel->setEnabled(numbers);
    const bool levels = m_nodeLevels->isChecked();
    for (QWidget* control :
        std::initializer_list<QWidget*> { m_level, m_levelLabel, m_levelMark, m_levelMarkLabel })
        control->setEnabled(levels);
    const bool kinds = m_iconMarks->isChecked();
    for (std::size_t i = 0; i < m_kindMarks.size(); ++i) {
        m_kindMarks[i]->setEnabled(kinds);
        m_kindLabels[i]->setEnabled(kinds);
    }
}

void TextExportPage::showLevelMark()
{
    const int level = m_level->currentIndex();
    if (level >= 0)
        showLimited(m_levelMark, m_levelMarks[static_cast<std::size_t>(level)], kMarkLength);
}

} // namespace notarium
