#pragma once

#include "settings/OptionPage.h"

class QCheckBox;

namespace notarium {

// Page ツリーペイン: what is kept of the tree with the document, how the tree looks and moves.
class TreeOptionsPage : public OptionPage {
    Q_OBJECT

public:
    explicit TreeOptionsPage(OptionDialogState& state);

    void load(const Settings& settings) override;

private:
    void followTreeState();

    QCheckBox* m_saveTreeState = nullptr;
    QCheckBox* m_expandAll = nullptr;
};

} // namespace notarium
