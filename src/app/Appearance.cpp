#include "app/Appearance.h"

#include "app/ActionRegistry.h"
#include "app/Colours.h"
#include "app/MenuBuilder.h"
#include "app/SettingsFont.h"
#include "app/ShortcutNumber.h"
#include "app/ToolBarLayout.h"
#include "app/TreePane.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"
#include "memo/MemoCommands.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProxyStyle>
#include <QStyleFactory>

namespace notarium {

namespace {

// The delay before a tool tip shows is a style hint; this style changes only that.
class HintStyle : public QProxyStyle {
public:
    explicit HintStyle(QStyle* base)
        : QProxyStyle(base)
    {
    }
    void setWakeUpDelay(int milliseconds) { m_wakeUpDelay = milliseconds; }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return m_wakeUpDelay;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int m_wakeUpDelay = 300;
};

HintStyle& hintStyle()
{
    if (auto* installed = dynamic_cast<HintStyle*>(QApplication::style()))
        return *installed;
    auto* style = new HintStyle(QStyleFactory::create(QApplication::style()->name()));
    QApplication::setStyle(style); // the application owns it from here
    return *style;
}

// Calls visit for every item of the menus and of their submenus, the items that open a submenu
// included.
template <typename Visit> void forEachItem(QList<QMenu*> pending, Visit&& visit)
{
    while (!pending.isEmpty()) {
        QMenu* menu = pending.takeFirst();
        for (QAction* item : menu->actions()) {
            if (QMenu* sub = item->menu())
                pending << sub;
            visit(item);
        }
    }
}

} // namespace

Appearance::Appearance(QMainWindow& window, TreePane& tree, QLabel& titleLabel, QLineEdit& title, TExtMemo& memo,
    ActionRegistry& actions, const MenuBuilder& menus)
    : QObject(&window)
    , m_window(window)
    , m_tree(tree)
    , m_titleLabel(titleLabel)
    , m_title(title)
    , m_memo(memo)
    , m_actions(actions)
    , m_menus(menus)
{
    // The edit area follows the memo pane's width through every resize: of the window, the
    // splitter, a maximised pane.
    m_memo.installEventFilter(this);
}

Appearance::~Appearance()
{
    qApp->removeEventFilter(this);
}

void Appearance::apply(const Settings& settings)
{
    m_tree.setImagesShown(!settings.get(key::NoTreeIcons));
    m_tree.setHotTrack(settings.get(key::HotTrack));
    m_tree.setRowSelect(settings.get(key::RowSelect));
    m_tree.setButtonsShown(!settings.get(key::NoButtons));
    m_tree.setTitleTips(!settings.get(key::NoChipHint));
    m_titleLabel.setVisible(!settings.get(key::NoTitle));
    applyFonts(settings);
    applyColours(settings);
    applyMemoOptions(settings);
    applyImeColours(settings);
    applyMenuIcons(settings);
    applyHints(settings);
    applyShortcuts(settings);
}

void Appearance::applyFonts(const Settings& settings)
{
    m_tree.setFont(fontFromSettings(
        QString::fromStdString(settings.get(key::TreeFontName)), settings.get(key::TreeFontSize), settings.get(key::TreeFontStyle)));
    m_title.setFont(fontFromSettings(
        QString::fromStdString(settings.get(key::TitleFontName)), settings.get(key::TitleFontSize), settings.get(key::TitleFontStyle)));
    m_memo.setFont(fontFromSettings(
        QString::fromStdString(settings.get(key::MemoFontName)), settings.get(key::MemoFontSize), settings.get(key::MemoFontStyle)));
    MemoCommands::adjustLineHeight(m_memo);
}

void Appearance::applyColours(const Settings& settings)
{
    auto paint = [](QWidget& widget, Colour text, Colour back) {
        QPalette palette = widget.palette();
        const QPalette base = QApplication::palette();
        palette.setColor(QPalette::Text, qColorFromColour(text, base));
        palette.setColor(QPalette::Base, qColorFromColour(back, base));
        widget.setPalette(palette);
    };
    paint(m_tree, settings.get(key::TreeFontColor), settings.get(key::TreeBackColor));
    paint(m_title, settings.get(key::TitleFontColor), settings.get(key::TitleBackColor));
    paint(m_memo, settings.get(key::MemoFontColor), settings.get(key::MemoBackColor));
}

void Appearance::applyMemoOptions(const Settings& settings)
{
    const QPalette base = QApplication::palette();
    // The caret line and the fixed edit area go together: off, the text wraps at the pane's edge.
    const bool caretLine = settings.get(key::ShowCaretLine);
    m_memo.CaretMarker().Enabled = caretLine;
    m_memo.CaretMarker().Color = qColorFromColour(settings.get(key::LineColor), base);
    if (caretLine)
        followMemoWidth();
    m_memo.EditArea().setEnabled(caretLine);
    // The line-end and end-of-text marks are always set alike.
    for (TEditMark* mark : { &m_memo.EditMarks().CrLf, &m_memo.EditMarks().Eot }) {
        mark->Enabled = settings.get(key::ShowReturn);
        mark->Color = qColorFromColour(settings.get(key::CRLFColor), base);
        mark->Reversed = settings.get(key::ReverseMarks);
    }
    m_memo.setTabWidth(settings.get(key::TabSize));
    // TabControl: the Tab key moves the focus instead of being typed.
    m_memo.setTabChangesFocus(settings.get(key::TabControl));
    m_memo.viewport()->update();
}

void Appearance::applyImeColours(const Settings& settings)
{
    const QPalette base = QApplication::palette();
    auto state = [&](Colour text, Colour back, bool underline) {
        TImeColor colour;
        colour.setIcText(qColorFromColour(text, base));
        colour.setIcBackground(qColorFromColour(back, base));
        colour.setStyle(underline ? fsUnderline : 0);
        return colour;
    };
    TImeColors colours;
    colours.WatchingUntransfered
        = state(settings.get(key::ImeWUText), settings.get(key::ImeWUBack), settings.get(key::ImeWULine));
    colours.Untransfered
        = state(settings.get(key::ImeUTText), settings.get(key::ImeUTBack), settings.get(key::ImeUTLine));
    colours.WatchingTransfered
        = state(settings.get(key::ImeWTText), settings.get(key::ImeWTBack), settings.get(key::ImeWTLine));
    colours.Transfered
        = state(settings.get(key::ImeTFText), settings.get(key::ImeTFBack), settings.get(key::ImeTFLine));
    m_memo.setImeColors(colours);
}

void Appearance::applyMenuIcons(const Settings& settings)
{
    // The main menu and the two pane pop-ups; the tool bars keep their glyphs.
    const bool shown = !settings.get(key::NoMenuIcons);
    QList<QMenu*> menus = m_menus.mainMenus();
    for (const char* popup : { "pmTree", "pmMemo" })
        if (QMenu* menu = m_menus.menu(QString::fromLatin1(popup)))
            menus << menu;
    forEachItem(menus, [shown](QAction* item) { item->setIconVisibleInMenu(shown); });
}

void Appearance::applyHints(const Settings& settings)
{
    // Tool tips are switched off for the whole program; only then does every event of the
    // program pass through here.
    const bool shown = settings.get(key::ShowHint);
    if (shown != m_hintsShown) {
        if (shown)
            qApp->removeEventFilter(this);
        else
            qApp->installEventFilter(this);
    }
    m_hintsShown = shown;
    hintStyle().setWakeUpDelay(qMax(0, settings.get(key::HintPauseTime)));
}

void Appearance::applyShortcuts(const Settings& settings)
{
    // Stored keys replace the defaults of every item of the main menu, a missing key meaning none;
    // Ctrl+0 to Ctrl+9 stay with the bookmarks whatever is stored.
    if (!settings.hasShortcuts())
        return;
    QHash<QString, QKeySequence> keys;
    forEachItem(m_menus.mainMenus(), [&](QAction* item) {
        if (item->menu() == nullptr && !item->objectName().isEmpty() && !item->isSeparator())
            keys.insert(item->objectName(), keySequenceFromShortcut(settings.shortcut(item->objectName().toStdString())));
    });
    m_actions.applyShortcuts(keys);
}

void Appearance::restoreToolBars(const Settings& settings)
{
    const std::string state = settings.ini().readString(kToolBarStateSection, kToolBarStateKey, "");
    if (!state.empty() && m_window.restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state))))
        return;
    placeToolBars(m_window, m_menus.toolBars(), settings);
}

void Appearance::followMemoWidth()
{
    m_memo.EditArea().setWidth(qMax(0, m_memo.width() - kEditAreaInset));
}

bool Appearance::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_hintsShown)
        return true;
    if (watched == &m_memo && event->type() == QEvent::Resize && m_memo.EditArea().Enabled())
        followMemoWidth();
    return QObject::eventFilter(watched, event);
}

} // namespace notarium
