#pragma once

#include <QStringList>

namespace notarium {

// The recently used files, most recent first, and the entries the reopen menu offers.
class RecentFiles {
public:
    static constexpr int kMenuSize = 9;

    RecentFiles() = default;
    explicit RecentFiles(QStringList paths)
        : m_paths(std::move(paths))
    {
    }

    const QStringList& paths() const { return m_paths; }

    // Moves path to the head of the list ("Untitled" is never added). The open file itself is
    // then not offered for reopening.
    void add(const QString& path);
    // Forgets path; every entry is then offered again from the first.
    void remove(const QString& path);
    void clear();

    // The paths the reopen menu shows, at most nine.
    QStringList menuEntries() const;

private:
    QStringList m_paths;
    bool m_headIsOpenFile = false;
};

} // namespace notarium
