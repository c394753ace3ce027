#include "search/SearchWindows.h"

#include "app/WidgetHint.h"
#include "app/WindowContext.h"
#include "core/search/FindWalk.h"
#include "editor/Cp932Chars.h"
#include "editor/TExtMemo.h"
#include "search/TWinRoller.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace notarium::search_windows {

QVBoxLayout* prepare(QDialog* window, QWidget* mainWindow, TWinRoller*& roller)
{
    window->setParent(mainWindow, Qt::Dialog);
    window->setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    window->setModal(false);
    // Closed is gone: a command opens a new window with fresh state.
    QObject::connect(window, &QDialog::finished, window, &QObject::deleteLater);
    QObject::connect(window, &QDialog::finished, mainWindow, [mainWindow] {
        mainWindow->raise();
        mainWindow->activateWindow();
    });

    roller = new TWinRoller(window);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(roller->titleArea());
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 6, 8, 8);
    body->setSpacing(6);
    outer->addLayout(body, 1);

    // Hidden commands of the window: roll up and roll down.
    auto* rollUp = new QAction(window);
    rollUp->setObjectName(QStringLiteral("RollUp1"));
    rollUp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    rollUp->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(rollUp, &QAction::triggered, roller, [roller] { roller->setRoller(true); });
    auto* rollDown = new QAction(window);
    rollDown->setObjectName(QStringLiteral("RollDn1"));
    rollDown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    rollDown->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(rollDown, &QAction::triggered, roller, [roller] { roller->setRoller(false); });
    window->addAction(rollUp);
    window->addAction(rollDown);
    return body;
}

QString selectedSearchText(const TExtMemo& memo)
{
    const QTextCursor cursor = memo.textCursor();
    if (!cursor.hasSelection())
        return {};
    return Cp932Chars::decode(searchTextFromSelection(Cp932Chars::encode(cursor.selectedText())));
}

void centreOn(QWidget* window, const QWidget* mainWindow)
{
    window->adjustSize();
    const QRect main = mainWindow->frameGeometry();
    QRect placed(QPoint(0, 0), window->frameGeometry().size());
    placed.moveCenter(main.center());
    // Kept on the screen the main window is on.
    if (const QScreen* screen = mainWindow->screen()) {
        const QRect area = screen->availableGeometry();
        placed.moveLeft(qBound(area.left(), placed.left(), qMax(area.left(), area.right() - placed.width())));
        placed.moveTop(qBound(area.top(), placed.top(), qMax(area.top(), area.bottom() - placed.height())));
    }
    window->move(placed.topLeft());
}

void bringBack(QWidget* window, TWinRoller* roller)
{
    roller->setRoller(false);
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->show();
    window->raise();
    window->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

QCheckBox* checkBox(const char* name, const char* caption, const char* hint)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromLatin1(name));
    setHint(box, hint);
    return box;
}

OptionBoxes optionBoxes()
{
    return {
        checkBox("cbMatchCase", "大文字/小文字を区別する(&C)", "大文字/小文字を区別して検索|大文字/小文字を区別して検索します"),
        checkBox("cbMatchByte", "全角/半角を区別しない(&S)", "全角/半角を区別せずに検索|全角/半角を区別せずに検索します"),
        checkBox("cbIgnoreCRLF", "改行/スペースを無視する(&L)", "改行/スペースを無視して検索|改行/スペースを無視して検索します"),
        checkBox("cbWholeWord", "単語単位で探す(&O)", "単語単位で検索|単語単位で検索します"),
    };
}

QRadioButton* radioButton(const char* name, const char* caption, const char* hint)
{
    auto* button = new QRadioButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    setHint(button, hint);
    return button;
}

void moveBelow(QWidget* window, int globalY)
{
    window->move(window->frameGeometry().left(), globalY);
}

int lineHeight(const TExtMemo& memo)
{
    const QFont font = memo.font();
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / memo.logicalDpiY();
    return qRound(points * memo.logicalDpiY() / 72.0);
}

void saveHistory(const WindowContext& context, Settings::History which, const std::vector<std::string>& entries)
{
    if (entries != context.settings.history(which))
        context.host.updateSettings([&](Settings& s) { s.setHistory(which, entries); });
}

void moveAboveBy(QWidget* window, int pixels)
{
    const QRect frame = window->frameGeometry();
    window->move(frame.left(), frame.top() - pixels);
}

} // namespace notarium::search_windows
