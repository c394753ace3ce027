#include "support/RecordingPromptService.h"

namespace notarium {

namespace {

bool offers(PromptButtons buttons, PromptAnswer answer)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return answer == PromptAnswer::Ok;
    case PromptButtons::OkCancel:
        return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
    case PromptButtons::YesNo:
        return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
    case PromptButtons::YesNoCancel:
        return answer != PromptAnswer::Ok;
    }
    return false;
}

PromptAnswer firstButton(PromptButtons buttons)
{
    return buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel ? PromptAnswer::Ok
                                                                              : PromptAnswer::Yes;
}

} // namespace

PromptAnswer RecordingPromptService::ask(
    QWidget*, const QString& text, const QString& caption, MessageIcon icon, PromptButtons buttons)
{
    m_prompts.append({ text, caption, icon, buttons });
    if (whileAsking)
        whileAsking();
    // A plain notice takes no scripted answer: only questions use up the script.
    if (buttons == PromptButtons::Ok || m_answers.isEmpty())
        return firstButton(buttons);
    const PromptAnswer answer = m_answers.dequeue();
    if (!offers(buttons, answer)) {
        ++m_badAnswers;
        return firstButton(buttons);
    }
    return answer;
}

void RecordingPromptService::scriptAnswers(const QList<PromptAnswer>& answers)
{
    for (PromptAnswer answer : answers)
        m_answers.enqueue(answer);
}

void RecordingPromptService::clear()
{
    m_prompts.clear();
    m_beeps = 0;
    m_badAnswers = 0;
}

} // namespace notarium
