#pragma once

#include "core/settings/DateTimeFormat.h"
#include "settings/OptionPage.h"

#include <QTimer>

#include <functional>

class QComboBox;
class QLabel;
class QRadioButton;

namespace notarium {

// Page 日付時刻の書式: the style (Japanese or English names) and the format of the inserted date
// and time, each with a sample of the present moment. The formats are offered from a list of the
// style's formats, but any format may be typed, and a stored one that is not in the list is kept.
class DateTimePage : public OptionPage {
    Q_OBJECT

public:
    using Clock = std::function<DateTimeValue()>;

    explicit DateTimePage(OptionDialogState& state);

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;

    // The moment the samples show (the present, unless a test fixes it).
    void setClock(Clock clock);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // One of the two halves of the page: the date or the time.
    struct Half {
        QRadioButton* japanese = nullptr;
        QRadioButton* english = nullptr;
        QComboBox* format = nullptr;
        QLabel* sample = nullptr;
        bool time = false;
    };

    void build(Half& half);
    void fillFormats(Half& half);
    void showFormat(Half& half, const std::string& format);
    void showSample(const Half& half);
    void showSamples();
    std::string formatToStore(const Half& half) const;

    Half m_date;
    Half m_time;
    Clock m_clock;
    QTimer m_tick; // the samples follow the clock while the page is shown
};

} // namespace notarium
