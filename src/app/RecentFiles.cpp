#include "app/RecentFiles.h"

#include "core/document/Document.h"

namespace notarium {

void RecentFiles::add(const QString& path)
{
    if (path == QString::fromUtf8(kUntitledTitle.data(), static_cast<qsizetype>(kUntitledTitle.size()))) {
        m_headIsOpenFile = false;
        return;
    }
    m_paths.removeAll(path);
    m_paths.prepend(path);
    m_headIsOpenFile = true;
}

void RecentFiles::remove(const QString& path)
{
    if (m_paths.removeAll(path) > 0)
        m_headIsOpenFile = false;
}

void RecentFiles::clear()
{
    m_paths.clear();
    m_headIsOpenFile = false;
}

QStringList RecentFiles::menuEntries() const
{
    const qsizetype first = m_headIsOpenFile ? 1 : 0;
    return m_paths.mid(first, kMenuSize);
}

} // namespace notarium
