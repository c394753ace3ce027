#include "settings/FontPage.h"

#include "app/Appearance.h"
#include "app/Colours.h"
#include "app/SettingsFont.h"
#include "editor/TExtMemo.h"
#include "memo/MemoCommands.h"
#include "settings/OptionControls.h"
#include "settings/TColourBox.h"
#include "settings/TOptionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

namespace {

struct LookKeys {
    SettingKey<SettingType::String> name;
    SettingKey<SettingType::Integer> size;
    SettingKey<SettingType::FontStyle> style;
    SettingKey<SettingType::Colour> text;
    SettingKey<SettingType::Colour> back;
};

// In the order of the page's panes: tree, title box, memo pane.
constexpr std::array<LookKeys, 3> kLookKeys = { {
    { key::TreeFontName, key::TreeFontSize, key::TreeFontStyle, key::TreeFontColor, key::TreeBackColor },
    { key::TitleFontName, key::TitleFontSize, key::TitleFontStyle, key::TitleFontColor, key::TitleBackColor },
    { key::MemoFontName, key::MemoFontSize, key::MemoFontStyle, key::MemoFontColor, key::MemoBackColor },
} };

struct PaneButtons {
    const char* fontName;
    const char* fontCaption;
    const char* colourName;
    const char* colourCaption;
};
constexpr std::array<PaneButtons, 3> kPaneButtons = { {
    { "TreeFontButton", "ツリー(&T)...", "TreeColorButton", "ツリー(&B)..." },
    { "TitleFontButton", "タイトル(&E)...", "TitleColorButton", "タイトル(&J)..." },
    { "MemoFontButton", "メモ(&M)...", "MemoColorButton", "メモ(&K)..." },
} };

const char* const kMemoSampleText = "あいうえお　漢字\n"
                                    "ABCDE abcde 12345";

QColor paletteColour(Colour colour)
{
    return qColorFromColour(colour, QApplication::palette());
}

// A colour the person chose; one equal to what the dialog was preset with keeps its stored form,
// so a system colour stays one and follows the desktop's theme.
Colour chosenColour(const QColor& chosen, Colour before)
{
    if (!chosen.isValid() || chosen == paletteColour(before))
        return before;
    return colourFromQColor(chosen);
}

QString sizeText(int size)
{
    return QString::number(size) + QStringLiteral("pt");
}

} // namespace

FontPage::FontPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("フォント"), TOptionDialog::kFirstHelpContext + TOptionDialog::FontPage)
{
    auto* buttons = new QGroupBox(QStringLiteral("フォントと背景色"));
    auto* buttonGrid = new QGridLayout(buttons);
    buttonGrid->addWidget(new QLabel(QStringLiteral("フォント:")), 0, 0);
    buttonGrid->addWidget(new QLabel(QStringLiteral("背景色:")), 1, 0);
    for (int pane = 0; pane < PaneCount; ++pane) {
        const PaneButtons& names = kPaneButtons[static_cast<std::size_t>(pane)];
        QPushButton* font = button(names.fontName, QString::fromUtf8(names.fontCaption));
        QPushButton* colour = button(names.colourName, QString::fromUtf8(names.colourCaption));
        buttonGrid->addWidget(font, 0, pane + 1);
        buttonGrid->addWidget(colour, 1, pane + 1);
        connect(font, &QPushButton::clicked, this, [this, pane] { chooseFont(static_cast<Pane>(pane)); });
        connect(colour, &QPushButton::clicked, this, [this, pane] { chooseColour(static_cast<Pane>(pane)); });
    }
    buttonGrid->setColumnStretch(4, 1);

    m_sampleTree = new QTreeWidget;
    m_sampleTree->setObjectName(QStringLiteral("SampleTree"));
    m_sampleTree->setHeaderHidden(true);
    m_sampleTree->setFocusPolicy(Qt::NoFocus);
    auto* top = new QTreeWidgetItem(m_sampleTree, { QStringLiteral("サンプル") });
    auto* fontNode = new QTreeWidgetItem(top, { QStringLiteral("フォント") });
    new QTreeWidgetItem(fontNode); // the font's name
    new QTreeWidgetItem(fontNode); // its size
    m_sampleTree->expandAll();
    m_sampleTree->setCurrentItem(top);

    m_sampleTitle = new QLineEdit;
    m_sampleTitle->setObjectName(QStringLiteral("SampleTitle"));
    m_sampleTitle->setReadOnly(true);
    m_sampleTitle->setFocusPolicy(Qt::NoFocus);

    m_sampleMemo = new TExtMemo;
    m_sampleMemo->setObjectName(QStringLiteral("SampleMemo"));
    m_sampleMemo->setReadOnly(true);
    m_sampleMemo->setFocusPolicy(Qt::ClickFocus);
    m_sampleMemo->installEventFilter(this);

    // The samples take the room the page has; their own size hints would make the dialog large.
    for (QWidget* sample : { static_cast<QWidget*>(m_sampleTree), static_cast<QWidget*>(m_sampleMemo) }) {
        sample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        sample->setMinimumHeight(90);
    }
    m_sampleTree->setMinimumWidth(110);
    m_sampleMemo->setMinimumWidth(200);

    auto* samples = new QGroupBox(QStringLiteral("見本"));
    auto* sampleLayout = new QHBoxLayout(samples);
    auto* rightSamples = new QVBoxLayout;
    rightSamples->addWidget(m_sampleTitle);
    rightSamples->addWidget(m_sampleMemo, 1);
    sampleLayout->addWidget(m_sampleTree, 1);
    sampleLayout->addLayout(rightSamples, 2);

    m_showReturn = check("cbShowReturn", QStringLiteral("改行を表示(&L)"));
    m_returnColour = new TColourBox;
    m_returnColour->setObjectName(QStringLiteral("cbCRColor"));
    m_returnColourLabel = label(QStringLiteral("改行の色(&C)"), m_returnColour);
    m_reverse = check("cbReverse", QStringLiteral("反転表示(&R)"));
    m_caretLine = check("cbCaretMarker", QStringLiteral("下線を表示(&D)"));
    m_lineColour = new TColourBox;
    m_lineColour->setObjectName(QStringLiteral("cbLineColor"));
    m_lineColourLabel = label(QStringLiteral("下線の色(&O)"), m_lineColour);

    auto* marks = new QGroupBox(QStringLiteral("メモの表示"));
    auto* markGrid = new QGridLayout(marks);
    markGrid->addWidget(m_showReturn, 0, 0);
    markGrid->addWidget(m_returnColourLabel, 0, 1);
    markGrid->addWidget(m_returnColour, 0, 2);
    markGrid->addWidget(m_reverse, 0, 3);
    markGrid->addWidget(m_caretLine, 1, 0);
    markGrid->addWidget(m_lineColourLabel, 1, 1);
    markGrid->addWidget(m_lineColour, 1, 2);
    markGrid->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buttons);
    layout->addWidget(samples, 1);
    layout->addWidget(marks);

    bind(key::ShowReturn, m_showReturn, true);
    bind(key::ReverseMarks, m_reverse, true);
    bind(key::ShowCaretLine, m_caretLine, true);
    for (QCheckBox* box : { m_showReturn, m_reverse, m_caretLine })
        connect(box, &QCheckBox::toggled, this, &FontPage::followSwitches);
    for (TColourBox* box : { m_returnColour, m_lineColour })
        connect(box, &TColourBox::colourChanged, this, [this] {
            followSwitches();
            emit applyChanged();
        });
}

FontPage::~FontPage() = default;

void FontPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    for (int pane = 0; pane < PaneCount; ++pane) {
        const LookKeys& keys = kLookKeys[static_cast<std::size_t>(pane)];
        Look& look = m_looks[static_cast<std::size_t>(pane)];
        look.name = QString::fromStdString(settings.getForDialog(keys.name));
        look.size = settings.getForDialog(keys.size);
        // A size no font has is written back as the default.
        if (look.size <= 0)
            look.size = settings.dialogDefault(keys.size);
        look.style = settings.getForDialog(keys.style);
        look.text = settings.getForDialog(keys.text);
        look.back = settings.getForDialog(keys.back);
        showSample(static_cast<Pane>(pane));
    }
    m_returnColour->setColour(settings.getForDialog(key::CRLFColor));
    m_lineColour->setColour(settings.getForDialog(key::LineColor));
    followSwitches();
}

void FontPage::store(Settings& settings, OptionScope scope) const
{
    // Every key of the page belongs to what Apply writes, so both scopes write them all.
    (void)scope;
    OptionPage::store(settings, OptionScope::Ok);
    for (int pane = 0; pane < PaneCount; ++pane) {
        const LookKeys& keys = kLookKeys[static_cast<std::size_t>(pane)];
        const Look& look = m_looks[static_cast<std::size_t>(pane)];
        settings.set(keys.name, look.name.toStdString());
        settings.set(keys.size, look.size);
        settings.set(keys.style, look.style);
        settings.set(keys.text, look.text);
        settings.set(keys.back, look.back);
    }
    settings.set(key::CRLFColor, m_returnColour->colour());
    settings.set(key::LineColor, m_lineColour->colour());
}

void FontPage::chooseFont(Pane pane)
{
    if (state().services.files == nullptr)
        return;
    Look& look = m_looks[static_cast<std::size_t>(pane)];
    const FontChoice initial { fontFromSettings(look.name, look.size, look.style), paletteColour(look.text) };
    const std::optional<FontChoice> chosen = state().services.files->chooseFont(this, initial);
    if (!chosen)
        return;
    look.name = chosen->font.family();
    const int size = chosen->font.pointSize() > 0 ? chosen->font.pointSize() : qRound(chosen->font.pointSizeF());
    if (size > 0)
        look.size = size;
    look.style = fontStyleOf(chosen->font);
    look.text = chosenColour(chosen->colour, look.text);
    showSample(pane);
    emit applyChanged();
}

void FontPage::chooseColour(Pane pane)
{
    if (state().services.files == nullptr)
        return;
    Look& look = m_looks[static_cast<std::size_t>(pane)];
    const std::optional<QColor> chosen
        = state().services.files->chooseColour(this, paletteColour(look.back), state().customColours);
    state().customColoursShown = true;
    if (!chosen)
        return;
    look.back = chosenColour(*chosen, look.back);
    showSample(pane);
    emit applyChanged();
}

QWidget* FontPage::sample(Pane pane) const
{
    switch (pane) {
    case TreeSample:
        return m_sampleTree;
    case TitleSample:
        return m_sampleTitle;
    default:
        return m_sampleMemo;
    }
}

void FontPage::showSample(Pane pane)
{
    const Look& look = m_looks[static_cast<std::size_t>(pane)];
    QWidget* widget = sample(pane);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, paletteColour(look.text));
    palette.setColor(QPalette::Base, paletteColour(look.back));
    widget->setPalette(palette);
    widget->setFont(fontFromSettings(look.name, look.size, look.style));
    const QString caption = look.name + QLatin1Char(' ') + sizeText(look.size);
    switch (pane) {
    case TreeSample: {
        QTreeWidgetItem* fontNode = m_sampleTree->topLevelItem(0)->child(0);
        fontNode->child(0)->setText(0, look.name);
        fontNode->child(1)->setText(0, sizeText(look.size));
        break;
    }
    case TitleSample:
        m_sampleTitle->setText(QStringLiteral("タイトル ") + caption);
        m_sampleTitle->setCursorPosition(0);
        break;
    default:
        m_sampleMemo->setPlainText(QStringLiteral("メモ ") + caption + QLatin1Char('\n') + QString::fromUtf8(kMemoSampleText));
        // The same character height as the memo pane gets from this font.
        MemoCommands::adjustLineHeight(*m_sampleMemo);
        state().memoColour = paletteColour(look.back);
        break;
    }
}

void FontPage::followSwitches()
{
    const bool marks = m_showReturn->isChecked();
    m_returnColourLabel->setEnabled(marks);
    m_returnColour->setEnabled(marks);
    m_reverse->setEnabled(marks);
    const bool caretLine = m_caretLine->isChecked();
    m_lineColourLabel->setEnabled(caretLine);
    m_lineColour->setEnabled(caretLine);

    // The sample memo shows the marks and the caret line as the memo pane will.
    for (TEditMark* mark : { &m_sampleMemo->EditMarks().CrLf, &m_sampleMemo->EditMarks().Eot }) {
        mark->Enabled = marks;
        mark->Color = paletteColour(m_returnColour->colour());
        mark->Reversed = m_reverse->isChecked();
    }
    m_sampleMemo->CaretMarker().Enabled = caretLine;
    m_sampleMemo->CaretMarker().Color = paletteColour(m_lineColour->colour());
    if (caretLine)
        followMemoWidth();
    m_sampleMemo->EditArea().setEnabled(caretLine);
    m_sampleMemo->viewport()->update();
}

void FontPage::followMemoWidth()
{
    m_sampleMemo->EditArea().setWidth(qMax(0, m_sampleMemo->width() - Appearance::kEditAreaInset));
}

bool FontPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sampleMemo && event->type() == QEvent::Resize && m_sampleMemo->EditArea().Enabled())
        followMemoWidth();
    return OptionPage::eventFilter(watched, event);
}

} // namespace notarium
