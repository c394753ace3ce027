#include "app/HelpWindowService.h"

#include "app/HelpWindow.h"

namespace notarium {

HelpWindowService::HelpWindowService() = default;

HelpWindowService::~HelpWindowService()
{
    delete m_window;
}

HelpWindow& HelpWindowService::ensureWindow()
{
    if (m_window == nullptr) {
        m_window = new HelpWindow;
        m_window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return *m_window;
}

void HelpWindowService::showContext(int context)
{
    ensureWindow().showContext(context);
}

void HelpWindowService::showContents()
{
    ensureWindow().showContents();
}

void HelpWindowService::showSearch()
{
    ensureWindow().showSearch();
}

} // namespace notarium
