#include "settings/DateTimePage.h"

#include "core/settings/DateTimeFormatChoices.h"
#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRadioButton* radio(const char* name, const QString& caption)
{
    auto* button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

DateTimePage::DateTimePage(OptionDialogState& state)
    : OptionPage(
        state, QStringLiteral("書式"), TOptionDialog::kFirstHelpContext + TOptionDialog::DateTimePage)
    , m_clock([] { return DateTimeValue::now(); })
{
    m_date.japanese = radio("rbDateJp", QStringLiteral("日本語(&J)"));
    m_date.english = radio("rbDateEn", QStringLiteral("英語(&E)"));
    m_date.format = new QComboBox;
    m_date.format->setObjectName(QStringLiteral("cbDateFormat"));
    m_date.sample = new QLabel;
    m_date.sample->setObjectName(QStringLiteral("DateSample"));
    m_time.japanese = radio("rbTimeJp", QStringLiteral("日本語(&P)"));
    m_time.english = radio("rbTimeEn", QStringLiteral("英語(&N)"));
    m_time.format = new QComboBox;
    m_time.format->setObjectName(QStringLiteral("cbTimeFormat"));
    m_time.sample = new QLabel;
    m_time.sample->setObjectName(QStringLiteral("TimeSample"));
    m_time.time = true;

    auto* layout = new QVBoxLayout(this);
    const auto group = [this, layout](Half& half, const QString& title, const QString& formatCaption) {
        auto* box = new QGroupBox(title);
        auto* grid = new QGridLayout(box);
        auto* styles = new QHBoxLayout;
        styles->addWidget(half.japanese);
        styles->addWidget(half.english);
        styles->addStretch(1);
        grid->addWidget(new QLabel(QStringLiteral("表記")), 0, 0);
        grid->addLayout(styles, 0, 1);
        grid->addWidget(label(formatCaption, half.format), 1, 0);
        grid->addWidget(half.format, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("サンプル")), 2, 0);
        grid->addWidget(half.sample, 2, 1);
        grid->setColumnStretch(1, 1);
        layout->addWidget(box);
        build(half);
    };
    group(m_date, QStringLiteral(" 日付 "), QStringLiteral("形式(&D)"));
    group(m_time, QStringLiteral(" 時刻 "), QStringLiteral("形式(&T)"));
    layout->addStretch(1);

    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &DateTimePage::showSamples);
}

void DateTimePage::build(Half& half)
{
    auto* styles = new QButtonGroup(this);
    styles->addButton(half.japanese);
    styles->addButton(half.english);
    half.japanese->setChecked(true);
    half.format->setEditable(true);
    // A typed format is the value; it does not become an entry of the list.
    half.format->setInsertPolicy(QComboBox::NoInsert);
    // Nor is it completed to an entry it begins like: "hh" is a format of its own, not "hh:mm".
    half.format->setCompleter(nullptr);
    half.format->setMaxVisibleItems(12);
    half.sample->setTextFormat(Qt::PlainText);
    half.sample->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fillFormats(half);
    half.format->setCurrentIndex(0);

    // The names of one style change both samples: a date format may show a time, too.
    connect(half.english, &QRadioButton::toggled, this, [this, &half] {
        fillFormats(half);
        half.format->setCurrentIndex(0);
        showSamples();
    });
    connect(half.format, &QComboBox::currentTextChanged, this, [this, &half] { showSample(half); });
}

void DateTimePage::fillFormats(Half& half)
{
    const bool english = half.english->isChecked();
    const auto formats = half.time ? timeFormatChoices(english) : dateFormatChoices(english);
    const QSignalBlocker blocker(half.format);
    half.format->clear();
    for (const std::string_view format : formats)
        half.format->addItem(fromUtf8(format));
}

void DateTimePage::showFormat(Half& half, const std::string& format)
{
    const QString text = fromUtf8(format);
    // A stored format the list does not offer stays as it is, with no entry chosen.
    half.format->setCurrentIndex(half.format->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    half.format->setEditText(text);
}

void DateTimePage::load(const Settings& settings)
{
    OptionPage::load(settings);
    // Checking a style fills its list; the stored format is shown after that.
    (settings.getForDialog(key::EnDateStyle) ? m_date.english : m_date.japanese)->setChecked(true);
    (settings.getForDialog(key::EnTimeStyle) ? m_time.english : m_time.japanese)->setChecked(true);
    showFormat(m_date, settings.getForDialog(key::DateFormat));
    showFormat(m_time, settings.getForDialog(key::TimeFormat));
    showSamples();
}

std::string DateTimePage::formatToStore(const Half& half) const
{
    const QString text = half.format->currentText();
    // An emptied box would insert nothing at all: it stands for the style's first format.
    if (text.trimmed().isEmpty())
        return half.format->itemText(0).toStdString();
    return text.toStdString();
}

void DateTimePage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    if (scope != OptionScope::Ok)
        return;
    settings.set(key::EnDateStyle, m_date.english->isChecked());
    settings.set(key::DateFormat, formatToStore(m_date));
    settings.set(key::EnTimeStyle, m_time.english->isChecked());
    settings.set(key::TimeFormat, formatToStore(m_time));
}

void DateTimePage::setClock(Clock clock)
{
    m_clock = std::move(clock);
    showSamples();
}

void DateTimePage::showSample(const Half& half)
{
    const DateTimeNames names
        = DateTimeNames::forStyle(m_date.english->isChecked(), m_time.english->isChecked());
    const std::string text = FormatDateTime(half.format->currentText().toStdString(), m_clock(), names);
    half.sample->setText(fromUtf8(text));
}

void DateTimePage::showSamples()
{
    showSample(m_date);
    showSample(m_time);
}

void DateTimePage::showEvent(QShowEvent* event)
{
    showSamples();
    m_tick.start();
    OptionPage::showEvent(event);
}

void DateTimePage::hideEvent(QHideEvent* event)
{
    m_tick.stop();
    OptionPage::hideEvent(event);
}

} // namespace notarium
