#pragma once

#include "app/Services.h"


namespace notarium {

// Message boxes and the beep, shown with Qt.
class QtPromptService : public PromptService {
public:
    PromptAnswer ask(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons) override;
    PromptAnswer askAt(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons, QPoint offset) override;
    void beep() override;

private:
    PromptAnswer show(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons, const QPoint* offset);
};

} // namespace notarium
