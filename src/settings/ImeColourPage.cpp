#include "settings/ImeColourPage.h"

#include "app/Colours.h"
#include "settings/OptionControls.h"
#include "settings/TColourBox.h"
#include "settings/TOptionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <vector>

namespace notarium {

namespace {

struct StateRow {
    const char* caption;
    const char* name; // the controls are named cb + this + Text, Back or Line
    TImeColor TImeColors::*colour;
    SettingKey<SettingType::ColourName> textKey;
    SettingKey<SettingType::ColourName> backKey;
    SettingKey<SettingType::Bool> lineKey;
};

constexpr std::array<StateRow, 4> kStateRows = { {
    { "未変換注目文字列(&W)", "WU", &TImeColors::WatchingUntransfered, key::ImeWUText, key::ImeWUBack,
        key::ImeWULine },
    { "未変換文字列(&Y)", "UT", &TImeColors::Untransfered, key::ImeUTText, key::ImeUTBack, key::ImeUTLine },
    { "既変換注目文字列(&T)", "WT", &TImeColors::WatchingTransfered, key::ImeWTText, key::ImeWTBack,
        key::ImeWTLine },
    { "既変換文字列(&F)", "TF", &TImeColors::Transfered, key::ImeTFText, key::ImeTFBack, key::ImeTFLine },
} };

// The sample words and the state (row of kStateRows) each is painted in; -1: plain text.
struct SampleText {
    const char* text;
    int state;
};
constexpr std::array<SampleText, 5> kSampleTexts = { {
    { "いれたての", 0 },
    { "おちゃ", 1 },
    { " → ", -1 },
    { "入れた手の", 2 },
    { "お茶", 3 },
} };

QColor paletteColour(Colour colour)
{
    return qColorFromColour(colour, QApplication::palette());
}

// The stored colour when it paints as shown, else the shown colour itself.
Colour colourOf(const QColor& shown, Colour stored)
{
    if (shown == paletteColour(stored))
        return stored;
    return colourFromQColor(shown);
}

} // namespace

// The sample words of a composition, each in its state's colours, on the memo pane's background.
class ImeColourSample : public QWidget {
public:
    struct Word {
        QString text;
        QColor colour; // invalid: plain text, in a colour that stands out from the background
        QColor back;
        bool underline = false;
    };

    ImeColourSample()
    {
        QFont larger = font();
        larger.setPointSize(14);
        setFont(larger);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    void setWords(std::vector<Word> words)
    {
        m_words = std::move(words);
        updateGeometry();
        update();
    }
    void setBackground(const QColor& background)
    {
        m_background = background;
        update();
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        int width = 2 * kMargin;
        for (const Word& word : m_words)
            width += metrics.horizontalAdvance(word.text);
        return { width, metrics.height() + 2 * kMargin };
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor background = m_background.isValid() ? m_background : palette().color(QPalette::Base);
        painter.fillRect(rect(), background);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const QColor plain = background.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
        const QFontMetrics metrics(font());
        int x = kMargin;
        const int top = (height() - metrics.height()) / 2;
        for (const Word& word : m_words) {
            QFont wordFont = font();
            wordFont.setUnderline(word.underline);
            painter.setFont(wordFont);
            const QRect box(x, top, metrics.horizontalAdvance(word.text), metrics.height());
            if (word.colour.isValid() && word.back.isValid())
                painter.fillRect(box, word.back);
            painter.setPen(word.colour.isValid() ? word.colour : plain);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, word.text);
            x = box.right() + 1;
        }
    }

private:
    static constexpr int kMargin = 12;
    std::vector<Word> m_words;
    QColor m_background;
};

ImeColourPage::ImeColourPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("変換の色"), TOptionDialog::kFirstHelpContext + TOptionDialog::ImeColourPage)
{
    auto* colours = new QGroupBox(QStringLiteral("変換中の文字列の色"));
    auto* grid = new QGridLayout(colours);
    grid->addWidget(new QLabel(QStringLiteral("文字の色")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("背景の色")), 0, 2);
    for (std::size_t i = 0; i < kStateRows.size(); ++i) {
        const StateRow& row = kStateRows[i];
        StateControls& controls = m_states[i];
        const QString name = QString::fromLatin1(row.name);
        controls.text = new TColourBox;
        controls.text->setObjectName(QStringLiteral("cb") + name + QStringLiteral("Text"));
        controls.back = new TColourBox;
        controls.back->setObjectName(QStringLiteral("cb") + name + QStringLiteral("Back"));
        controls.underline = new QCheckBox(QStringLiteral("下線"));
        controls.underline->setObjectName(QStringLiteral("cb") + name + QStringLiteral("Line"));
        const int line = static_cast<int>(i) + 1;
        grid->addWidget(option_controls::label(QString::fromUtf8(row.caption), controls.text), line, 0);
        grid->addWidget(controls.text, line, 1);
        grid->addWidget(controls.back, line, 2);
        grid->addWidget(controls.underline, line, 3);
        for (TColourBox* box : { controls.text, controls.back })
            connect(box, &TColourBox::colourChanged, this, &ImeColourPage::showSample);
        connect(controls.underline, &QCheckBox::toggled, this, &ImeColourPage::showSample);
    }
    grid->setColumnStretch(4, 1);

    m_sample = new ImeColourSample;
    m_sample->setObjectName(QStringLiteral("ImeSample"));
    auto* sample = new QGroupBox(QStringLiteral("見本"));
    auto* sampleLayout = new QVBoxLayout(sample);
    sampleLayout->addWidget(m_sample);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(colours);
    layout->addWidget(sample);
    layout->addStretch(1);
}

ImeColourPage::~ImeColourPage() = default;

void ImeColourPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    for (std::size_t i = 0; i < kStateRows.size(); ++i) {
        m_states[i].storedText = settings.getForDialog(kStateRows[i].textKey);
        m_states[i].storedBack = settings.getForDialog(kStateRows[i].backKey);
    }
}

void ImeColourPage::showing()
{
    // The memo pane's set as it is now, which the window copied in after the pages loaded.
    for (std::size_t i = 0; i < kStateRows.size(); ++i) {
        const TImeColor& colour = state().imeColours.*kStateRows[i].colour;
        StateControls& controls = m_states[i];
        controls.text->setColour(colourOf(colour.icText(), controls.storedText));
        controls.back->setColour(colourOf(colour.icBackground(), controls.storedBack));
        controls.underline->setChecked(colour.Style() & fsUnderline);
    }
    showSample();
}

void ImeColourPage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    if (scope != OptionScope::Ok)
        return;
    for (std::size_t i = 0; i < kStateRows.size(); ++i) {
        const StateRow& row = kStateRows[i];
        const StateControls& controls = m_states[i];
        TImeColor& colour = state().imeColours.*row.colour;
        colour.setIcText(paletteColour(controls.text->colour()));
        colour.setIcBackground(paletteColour(controls.back->colour()));
        const bool underline = controls.underline->isChecked();
        colour.setStyle(underline ? colour.Style() | fsUnderline : colour.Style() & ~fsUnderline);
        settings.set(row.textKey, controls.text->colour());
        settings.set(row.backKey, controls.back->colour());
        settings.set(row.lineKey, underline);
    }
}

void ImeColourPage::showEvent(QShowEvent* event)
{
    // The memo colour may have changed on the font page meanwhile.
    m_sample->setBackground(state().memoColour);
    OptionPage::showEvent(event);
}

void ImeColourPage::showSample()
{
    std::vector<ImeColourSample::Word> words;
    for (const SampleText& sample : kSampleTexts) {
        ImeColourSample::Word word { QString::fromUtf8(sample.text), {}, {}, false };
        if (sample.state >= 0) {
            const StateControls& controls = m_states[static_cast<std::size_t>(sample.state)];
            word.colour = paletteColour(controls.text->colour());
            word.back = paletteColour(controls.back->colour());
            word.underline = controls.underline->isChecked();
        }
        words.push_back(word);
    }
    m_sample->setWords(std::move(words));
    m_sample->setBackground(state().memoColour);
}

} // namespace notarium
