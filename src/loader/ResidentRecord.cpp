#include "loader/ResidentRecord.h"

#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "platform/LoaderControl.h"
#include "platform/LocalPath.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace notarium {

ResidentRecord::ResidentRecord(QString settingsFile, QString lockFile)
    : m_settingsFile(localPath(settingsFile))
    , m_lockFile(localPath(lockFile))
    , m_pid(static_cast<qint64>(::getpid()))
{
}

ResidentRecord::~ResidentRecord()
{
    release();
}

ResidentRecord::Claim ResidentRecord::claim(QString* error)
{
    if (m_lockFd >= 0)
        return Claim::Claimed;
    m_lockFd = ::open(m_lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(::strerror(errno));
        return Claim::Failed;
    }
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        release();
        return Claim::OtherRuns;
    }

    // A loader of another runtime folder (a second login of the same user) holds another lock but
    // writes the same record; a record whose process has gone, or is no loader, is stale.
    IniFile ini;
    ini.load(m_settingsFile);
    const Settings onDisk(ini, PlatformDefaults {});
    if (loaderRecordIsLive(onDisk.get(key::Loaded), onDisk.get(key::Handle), &LoaderControl::isLoaderProcess, m_pid)) {
        release();
        return Claim::OtherRuns;
    }
    return Claim::Claimed;
}

bool ResidentRecord::publish(QString* error)
{
    if (m_lockFd < 0)
        return false;
    m_published = true;
    SettingsStore store(m_settingsFile, PlatformDefaults {});
    const int pid = static_cast<int>(m_pid);
    const SettingsUpdateResult written = store.update([pid](Settings& settings) {
        settings.set(key::Loaded, true);
        settings.set(key::Handle, pid);
    });
    if (!written.ok && error)
        *error = QString::fromStdString(written.error);
    return written.ok;
}

void ResidentRecord::release()
{
    if (m_published) {
        m_published = false;
        SettingsStore store(m_settingsFile, PlatformDefaults {});
        const int pid = static_cast<int>(m_pid);
        store.update([pid](Settings& settings) {
            if (settings.get(key::Handle) != pid)
                return;
            settings.set(key::Loaded, false);
            settings.set(key::Handle, 0);
        });
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

} // namespace notarium
