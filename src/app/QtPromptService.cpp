#include "app/QtPromptService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace notarium {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Closing the box without a button (Esc, the window's close box) gives the answer that changes
// least: Cancel where there is one, else No, else Ok.
PromptAnswer closedAnswer(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::YesNo:
        return PromptAnswer::No;
    case PromptButtons::OkCancel:
    case PromptButtons::YesNoCancel:
        break;
    }
    return PromptAnswer::Cancel;
}

} // namespace

PromptAnswer QtPromptService::ask(
    QWidget* parent, const QString& text, const QString& caption, MessageIcon icon, PromptButtons buttons)
{
    return show(parent, text, caption, icon, buttons, nullptr);
}

PromptAnswer QtPromptService::askAt(QWidget* parent, const QString& text, const QString& caption,
    MessageIcon icon, PromptButtons buttons, QPoint offset)
{
    return show(parent, text, caption, icon, buttons, &offset);
}

PromptAnswer QtPromptService::show(QWidget* parent, const QString& text, const QString& caption,
    MessageIcon icon, PromptButtons buttons, const QPoint* offset)
{
    // The program's texts break lines with CR LF; a lone CR would show as a second break.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(qtIcon(icon), caption, shown, qtButtons(buttons), parent);
    // Paths and memo text may hold "<" or "&"; they must show as written, not as markup.
    box.setTextFormat(Qt::PlainText);
    // The first button is the default, as in the program's message boxes: Enter answers Ok or Yes.
    box.setDefaultButton(buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel
            ? QMessageBox::Ok
            : QMessageBox::Yes);
    if (buttons == PromptButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    // The program's own button texts, whatever language the toolkit speaks.
    static const std::pair<QMessageBox::StandardButton, const char*> kTexts[] = {
        { QMessageBox::Ok, "OK" },
        { QMessageBox::Cancel, "キャンセル" },
        { QMessageBox::Yes, "はい(&Y)" },
        { QMessageBox::No, "いいえ(&N)" },
    };
    for (const auto& [button, text] : kTexts)
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QString::fromUtf8(text));
    if (offset != nullptr && parent != nullptr)
        box.move(parent->window()->frameGeometry().topLeft() + *offset);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        return closedAnswer(buttons);
    }
}

void QtPromptService::beep()
{
    QApplication::beep();
}

} // namespace notarium
