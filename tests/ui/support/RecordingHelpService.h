#pragma once

#include "app/Services.h"

#include <QList>

namespace notarium {

// Stands in for the help window in tests: keeps every request and opens nothing.
class RecordingHelpService : public HelpService {
public:
    // A context number; the contents and the search are kContents and kSearch.
    static constexpr int kContents = -1;
    static constexpr int kSearch = -2;

    void showContext(int context) override { m_shown.append(context); }
    void showContents() override { m_shown.append(kContents); }
    void showSearch() override { m_shown.append(kSearch); }

    const QList<int>& shown() const { return m_shown; }
    int count() const { return static_cast<int>(m_shown.size()); }
    int last() const { return m_shown.isEmpty() ? 0 : m_shown.constLast(); }
    void clear() { m_shown.clear(); }

private:
    QList<int> m_shown;
};

} // namespace notarium
