#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QKeyEvent;
class QListWidgetItem;

namespace notarium {

class ImeLineEdit;
class MenuBuilder;
class TExtMemo;
class TRetListBox;

// The input helper list: Ctrl+Space opens a pick list of stock phrases (HelpList.dat in the
// settings folder) just below the memo pane's caret; Enter or a double click puts the chosen
// phrase in place of the memo pane's selection, Escape closes the list. The list closes when it
// loses the focus and when a menu of the menu bar opens; the focus then goes back to the memo
// pane. While it is open, keys other than those that move in it and Enter and Escape do nothing,
// the window's shortcuts included.
class HelperListCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    HelperListCommands(const WindowContext& context, ImeLineEdit& title, TExtMemo& memo, const MenuBuilder& menus,
        QObject* parent = nullptr);
    ~HelperListCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

    // HelperList1Click: opens the list below the caret. The phrases are read from the file the
    // first time the list opens while it holds none; a missing file or an empty list is reported
    // by a beep and a status text instead.
    void open();
    // Hides the list and gives the focus back to the memo pane.
    void close();
    bool isOpen() const;
    TRetListBox* list() const;
    // Replaces the phrases (as the options dialog does), sorted when sorted is true.
    void setPhrases(const QStringList& phrases, bool sorted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // False when the file was refused as too large; the person has been told.
    bool readFile(const QString& path);
    void notDefined();
    void placeBelowCaret();
    void choose(const QListWidgetItem* item);
    bool listKeyPress(QKeyEvent* event);
    // The list loses the focus: it closes, and the focus goes back to the memo pane once the
    // focus change is over.
    void focusLost();

    WindowContext m_context;
    ImeLineEdit& m_title;
    TExtMemo& m_memo;
    ActionRegistry* m_actions = nullptr;
    QPointer<TRetListBox> m_list;
    bool m_closing = false;
};

} // namespace notarium
