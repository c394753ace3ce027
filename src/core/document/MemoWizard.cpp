#include "core/document/MemoWizard.h"

#include "core/document/Node.h"
#include "core/document/TreeOperations.h"

namespace notarium {

Node* createWizardNode(TreeOperations& operations, Node* target, WizardPlacement placement, bool atEnd,
    std::string title)
{
    if (target == nullptr)
        return nullptr;
    auto sameLevel = [&](int kind) {
        if (!target->isUserNode())
            return operations.addChildNode(target, kind, std::move(title));
        return atEnd ? operations.appendSiblingNode(target, kind, std::move(title))
                     : operations.insertNodeAfter(target, kind, std::move(title));
    };
    switch (placement) {
    case WizardPlacement::Category:
        return sameLevel(KindCategory);
    case WizardPlacement::ChildCategory:
        return operations.addChildNode(target, KindCategory, std::move(title));
    case WizardPlacement::Memo:
        return sameLevel(KindMemo);
    case WizardPlacement::ChildMemo:
        return operations.addChildNode(target, KindMemo, std::move(title));
    case WizardPlacement::Result:
        return target->isUserNode() ? operations.addChildNode(target, KindResult, std::move(title)) : nullptr;
    }
    return nullptr;
}

} // namespace notarium
