#include "settings/OptionPage.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSpinBox>

namespace notarium {

OptionPage::OptionPage(OptionDialogState& state, const QString& caption, int helpContext, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_caption(caption)
    , m_helpContext(helpContext)
{
}

OptionPage::~OptionPage() = default;

void OptionPage::load(const Settings& settings)
{
    for (const Binding& binding : m_bindings)
        binding.load(settings);
}

void OptionPage::store(Settings& settings, OptionScope scope) const
{
    for (const Binding& binding : m_bindings)
        if (scope == OptionScope::Ok || binding.applied)
            binding.store(settings);
}

void OptionPage::bind(SettingKey<SettingType::Bool> key, QAbstractButton* box, bool applied)
{
    m_bindings.push_back({ [key, box](const Settings& settings) { box->setChecked(settings.getForDialog(key)); },
        [key, box](Settings& settings) { settings.set(key, box->isChecked()); }, applied });
    if (applied)
        connect(box, &QAbstractButton::toggled, this, &OptionPage::applyChanged);
}

void OptionPage::bind(SettingKey<SettingType::Integer> key, QSpinBox* box, bool applied)
{
    m_bindings.push_back({ [key, box](const Settings& settings) { box->setValue(settings.getForDialog(key)); },
        [key, box](Settings& settings) { settings.set(key, box->value()); }, applied });
    if (applied)
        connect(box, &QSpinBox::valueChanged, this, &OptionPage::applyChanged);
}

void OptionPage::bind(SettingKey<SettingType::String> key, QLineEdit* box, bool applied)
{
    m_bindings.push_back(
        { [key, box](const Settings& settings) { box->setText(QString::fromStdString(settings.getForDialog(key))); },
            [key, box](Settings& settings) { settings.set(key, box->text().toStdString()); }, applied });
    if (applied)
        connect(box, &QLineEdit::textChanged, this, &OptionPage::applyChanged);
}

} // namespace notarium
