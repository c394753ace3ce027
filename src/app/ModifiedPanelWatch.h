#pragma once

#include "app/StatusPanels.h"
#include "core/document/Document.h"
#include "core/document/DocumentObserver.h"

namespace notarium {

// Status panel 1 follows the document's modified flag. The window adds it to the document's
// observers and removes it before the document goes.
class ModifiedPanelWatch : public NullDocumentObserver {
public:
    ModifiedPanelWatch(StatusPanels& status, const Document& document)
        : m_status(status)
        , m_document(document)
    {
    }
    void modifiedChanged(bool) override { m_status.setModified(m_document.isModified()); }

private:
    StatusPanels& m_status;
    const Document& m_document;
};

} // namespace notarium
