#include "app/InputMethods.h"

#include "core/settings/Settings.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"

namespace notarium {

namespace {

// Closes the input methods for the life of the guard, then applies the settings again.
class ClosedWhileShown {
public:
    explicit ClosedWhileShown(InputMethods& methods)
        : m_methods(methods)
    {
        m_methods.closeAll();
    }
    ~ClosedWhileShown() { m_methods.apply(); }
    ClosedWhileShown(const ClosedWhileShown&) = delete;
    ClosedWhileShown& operator=(const ClosedWhileShown&) = delete;

private:
    InputMethods& m_methods;
};

} // namespace

InputMethods::InputMethods(ImeLineEdit& title, TExtMemo& memo, const Settings& settings, FileDialogService& dialogs)
    : m_title(title)
    , m_memo(memo)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
}

void InputMethods::apply()
{
    m_title.setInputMethodOpen(!m_settings.get(key::ImTitleOff));
    m_memo.setInputMethodOpen(true);
}

void InputMethods::closeAll()
{
    m_title.setInputMethodOpen(false);
    m_memo.setInputMethodOpen(false);
}

QString InputMethods::openFileName(
    QWidget* parent, const QString& title, const QString& folder, const QString& filter, bool* readOnly)
{
    const ClosedWhileShown closed(*this);
    return m_dialogs.openFileName(parent, title, folder, filter, readOnly);
}

QString InputMethods::saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
    const QString& filter, const QString& defaultSuffix)
{
    const ClosedWhileShown closed(*this);
    return m_dialogs.saveFileName(parent, title, initialPath, filter, defaultSuffix);
}

QString InputMethods::folderName(QWidget* parent, const QString& caption, const QString& folder)
{
    const ClosedWhileShown closed(*this);
    return m_dialogs.folderName(parent, caption, folder);
}

std::optional<FontChoice> InputMethods::chooseFont(QWidget* parent, const FontChoice& initial)
{
    const ClosedWhileShown closed(*this);
    return m_dialogs.chooseFont(parent, initial);
}

std::optional<QColor> InputMethods::chooseColour(QWidget* parent, const QColor& initial, QList<QColor>& customColours)
{
    const ClosedWhileShown closed(*this);
    return m_dialogs.chooseColour(parent, initial, customColours);
}

} // namespace notarium
