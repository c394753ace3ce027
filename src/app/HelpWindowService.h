#pragma once

#include "app/HelpWindow.h"
#include "app/Services.h"

#include <QPointer>

namespace notarium {

// The help service of the running program: one help window, made when help is first asked for.
// It is a window of its own that does not keep the program running once the main window closes.
class HelpWindowService : public HelpService {
public:
    HelpWindowService();
    ~HelpWindowService() override;
    HelpWindowService(const HelpWindowService&) = delete;
    HelpWindowService& operator=(const HelpWindowService&) = delete;

    void showContext(int context) override;
    void showContents() override;
    void showSearch() override;

    // Null until help was first shown.
    HelpWindow* window() const { return m_window; }

private:
    HelpWindow& ensureWindow();

    QPointer<HelpWindow> m_window;
};

} // namespace notarium
