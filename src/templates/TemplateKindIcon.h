#pragma once

#include "app/ActionRegistry.h"

#include <QIcon>

namespace notarium {

// The image of a template's kind, by its include-tree flag: a text-only template (0) or a tree
// template (anything else). The template list, its legend and the template menus show these.
inline QIcon templateKindIcon(int includeTree)
{
    return ActionRegistry::icon(
        includeTree != 0 ? QStringLiteral("template-tree") : QStringLiteral("template-text"));
}

} // namespace notarium
