#pragma once

#include <QObject>

class QWidget;

namespace notarium {

class HelpService;

// Context help for a dialog or window: F1 opens the help at the context of the focused control,
// and a right click on a control that has no pop-up menu of its own offers "ヘルプ(&W)", which
// opens the help at that control's context. A control's context is the nearest one set on it or
// on a widget that holds it; the dialog's own context is the fallback.
class ContextHelp : public QObject {
    Q_OBJECT

public:
    ContextHelp(QWidget* dialog, HelpService& help, int dialogContext);

    static void setHelpContext(QWidget* widget, int context);
    // The context of widget, or fallback when neither it nor a widget holding it has one.
    static int helpContextOf(const QWidget* widget, int fallback);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_dialog;
    HelpService& m_help;
    int m_context;
};

} // namespace notarium
