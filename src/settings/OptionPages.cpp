#include "settings/TOptionDialog.h"

#include "settings/DateTimePage.h"
#include "settings/DefaultTitlePage.h"
#include "settings/FolderPage.h"
#include "settings/FontPage.h"
#include "settings/GeneralPage.h"
#include "settings/HelperListPage.h"
#include "settings/ImeColourPage.h"
#include "settings/MemoOptionsPage.h"
#include "settings/OtherPage.h"
#include "settings/TextExportPage.h"
#include "settings/ToolPage.h"
#include "settings/TreeOptionsPage.h"

namespace notarium {

OptionPage* createOptionPage(int position, OptionDialogState& state)
{
    switch (position) {
    case TOptionDialog::GeneralPage:
        return new GeneralPage(state);
    case TOptionDialog::FolderPage:
        return new FolderPage(state);
    case TOptionDialog::FontPage:
        return new FontPage(state);
    case TOptionDialog::TreePage:
        return new TreeOptionsPage(state);
    case TOptionDialog::MemoPage:
        return new MemoOptionsPage(state);
    case TOptionDialog::DefaultTitlePage:
        return new DefaultTitlePage(state);
    case TOptionDialog::DateTimePage:
        return new DateTimePage(state);
    case TOptionDialog::HelperListPage:
        return new HelperListPage(state);
    case TOptionDialog::TextExportPage:
        return new TextExportPage(state);
    case TOptionDialog::ToolPage:
        return new ToolPage(state);
    case TOptionDialog::ImeColourPage:
        return new ImeColourPage(state);
    default:
        return new OtherPage(state);
    }
}

} // namespace notarium
