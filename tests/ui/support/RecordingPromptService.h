#pragma once

#include "app/Services.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace notarium {

// Stands in for the message boxes in tests: keeps every message and answers from a script.
class RecordingPromptService : public PromptService {
public:
    struct Prompt {
        QString text;
        QString caption;
        MessageIcon icon = MessageIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
    };

    PromptAnswer ask(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons) override;
    void beep() override { ++m_beeps; }

    // The next questions get these answers, in order; once the script is used up every question
    // gets the first button (Ok or Yes). An answer the box does not offer is counted in
    // badAnswers() and replaced by the first button.
    void scriptAnswers(const QList<PromptAnswer>& answers);
    void scriptAnswer(PromptAnswer answer) { m_answers.enqueue(answer); }

    const QList<Prompt>& prompts() const { return m_prompts; }
    int count() const { return static_cast<int>(m_prompts.size()); }
    const Prompt& last() const { return m_prompts.constLast(); }
    int beeps() const { return m_beeps; }
    int remainingAnswers() const { return static_cast<int>(m_answers.size()); }
    int badAnswers() const { return m_badAnswers; }
    // Forgets the messages and beeps (not the scripted answers).
    void clear();

    // Runs as each message is shown, so a test can look at the window while it is open.
    std::function<void()> whileAsking;

private:
    QList<Prompt> m_prompts;
    QQueue<PromptAnswer> m_answers;
    int m_beeps = 0;
    int m_badAnswers = 0;
};

} // namespace notarium
