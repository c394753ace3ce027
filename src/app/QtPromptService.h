#pragma once

#include "app/Services.h"

namespace notarium {

// Message boxes and the beep, shown with Qt.
class QtPromptService : public PromptService {
public:
    PromptAnswer ask(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons) override;
    void beep() override;
};

} // namespace notarium
