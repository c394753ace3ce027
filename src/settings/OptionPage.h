#pragma once

#include "app/Services.h"
#include "core/settings/Settings.h"
#include "editor/TImeColors.h"

#include <QList>
#include <QStringList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QLineEdit;
class QSpinBox;

namespace notarium {

class WindowHost;

// Which keys a page writes: OK writes every key the dialog shows, Apply only those it applies at
// once (the look of the panes, the hints, the menus' images, the tab width, the marks).
enum class OptionScope { Ok, Apply };

// What the pages of the options dialog share while it is open.
struct OptionDialogState {
    Services services; // prompts, the folder, font and colour dialogs, the help
    // The one settings writer, for the pages that write at once (the history buttons).
    WindowHost* host = nullptr;
    QString configFolder; // HelpList.dat lives here
    QString helperListFile; // the helper list the page edits
    // The colour dialog's 16 custom colours, read when the dialog opened; written by Apply and OK
    // when a colour dialog was shown.
    QList<QColor> customColours;
    bool customColoursShown = false;
    // The memo pane's input method colours, copied in when the dialog opens and out on OK.
    TImeColors imeColours;
    // The memo pane's background as the font page shows it now: the input method colours' sample
    // stands on it.
    QColor memoColour;
    // The companion loader: installed beside the program, and running when the dialog opened.
    bool loaderInstalled = false;
    bool loaderRunning = false;
    // Empties the window's recent-file list and its Reopen menu.
    std::function<void()> clearRecentFiles;
    // The helper list as OK saved it, for the window's list (set by the helper list page).
    std::optional<QStringList> helperPhrases;
};

// One page of the options dialog. A page reads the keys it shows from the settings image the
// dialog read when it opened, and writes them back on OK (and the Apply subset on Apply).
//
// Most controls stand for one key each: bind() them, and load() and store() handle them, the
// dialog's default where the key is missing. A page with controls that are not one key each
// (fonts, lists, radio groups) overrides load() and store() and calls the base versions too.
// A change of a bound control that Apply writes emits applyChanged(); so must a page's own
// controls of the Apply subset.
class OptionPage : public QWidget {
    Q_OBJECT

public:
    OptionPage(OptionDialogState& state, const QString& caption, int helpContext, QWidget* parent = nullptr);
    ~OptionPage() override;

    QString caption() const { return m_caption; }
    int helpContext() const { return m_helpContext; }

    // Fills the controls (the dialog's creation).
    virtual void load(const Settings& settings);
    // Called once the dialog is about to show, after every page has loaded.
    virtual void showing() {}
    // Before OK writes anything. A page that refuses (a folder the person would not create) has
    // said why and returns the control to correct; the dialog then shows the page with that
    // control focused, and OK ends there. Null: OK goes on.
    virtual QWidget* refuseOk() { return nullptr; }
    // Writes the page's keys; with OptionScope::Apply only those that Apply writes.
    virtual void store(Settings& settings, OptionScope scope) const;
    // After OK wrote the settings: files of the page's own (the helper list). False with the
    // reason in error when one could not be written.
    virtual bool saveFiles(QString* error)
    {
        (void)error;
        return true;
    }

signals:
    // A control of the Apply subset changed: Apply becomes available.
    void applyChanged();

protected:
    OptionDialogState& state() const { return m_state; }

    // applied: Apply writes the key too.
    void bind(SettingKey<SettingType::Bool> key, QAbstractButton* box, bool applied = false);
    void bind(SettingKey<SettingType::Integer> key, QSpinBox* box, bool applied = false);
    void bind(SettingKey<SettingType::String> key, QLineEdit* box, bool applied = false);

private:
    struct Binding {
        std::function<void(const Settings&)> load;
        std::function<void(Settings&)> store;
        bool applied = false;
    };

    OptionDialogState& m_state;
    QString m_caption;
    int m_helpContext;
    std::vector<Binding> m_bindings;
};

} // namespace notarium
