#pragma once

#include "editor/TImeColor.h"

#include <QInputMethodEvent>
#include <QList>

namespace notarium {

// The four colour states of a composition. The input method reports its pre-edit formats in its
// own style; rewrite() turns them into these four states.
class TImeColors {
public:
    TImeColor Untransfered; // composition text not yet converted
    TImeColor WatchingTransfered; // the converted clause being worked on
    TImeColor Transfered; // converted text
    TImeColor WatchingUntransfered; // the clause being worked on, not yet converted

    bool operator==(const TImeColors& other) const = default;
    void assign(const TImeColors& other) { *this = other; }

    // The attributes of an input method event with every text format replaced. Input methods
    // mark the clause being converted with a background (ibus, fcitx5: the highlight colours) and
    // the rest with an underline; they do not say whether a clause was converted, so: without a
    // highlighted range the whole pre-edit is still being typed (Untransfered); with one, the
    // highlighted range is WatchingTransfered and the rest Transfered. Other attributes (cursor,
    // selection) pass unchanged. WatchingUntransfered cannot be told apart and is not produced.
    QList<QInputMethodEvent::Attribute> rewrite(
        const QList<QInputMethodEvent::Attribute>& attributes, int preeditLength) const;
};

} // namespace notarium
