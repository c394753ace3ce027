#include "loader/LoaderTray.h"

#include "app/Services.h"
#include "app/ShortcutNumber.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "platform/AppPaths.h"
#include "platform/LocalPath.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace notarium {

namespace {

const QString kProgramName = QStringLiteral("notarium");
// As the program's own open dialog says it.
const QString kOpenTitle = QStringLiteral("Notarium文書を開く");
const QString kFilter = QStringLiteral("Notarium File (*.nmd)");

} // namespace

LoaderTray::LoaderTray(QString executableFolder, QString settingsFile, Services services, QObject* parent)
    : QObject(parent)
    , m_executableFolder(std::move(executableFolder))
    , m_settingsFile(std::move(settingsFile))
    , m_services(services)
    , m_menu(new QMenu)
    , m_icon(new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/notarium.svg")), this))
{
    m_menu->setObjectName(QStringLiteral("pmTray"));
    QAction* newWindow = m_menu->addAction(QStringLiteral("新規作成(&N)"));
    connect(newWindow, &QAction::triggered, this, [this] { startProgram({}); });
    QAction* open = m_menu->addAction(QStringLiteral("開く(&O)..."));
    connect(open, &QAction::triggered, this, &LoaderTray::openFile);
    m_menu->addSeparator();
    m_recentEnd = m_menu->addSeparator();
    QAction* quit = m_menu->addAction(QStringLiteral("終了(&X)"));
    connect(quit, &QAction::triggered, this, &LoaderTray::quitRequested);
    // The recent files change while the loader runs: each window writes them.
    connect(m_menu, &QMenu::aboutToShow, this, &LoaderTray::fillRecentFiles);
    fillRecentFiles();

    m_icon->setContextMenu(m_menu);
    m_icon->setToolTip(toolTipFor(GlobalHotKey::State::NoKey, {}));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            startProgram({});
    });
}

LoaderTray::~LoaderTray()
{
    delete m_icon;
    delete m_menu;
}

QString LoaderTray::toolTipFor(GlobalHotKey::State state, const QString& keyText)
{
    QString text = QStringLiteral("Notarium");
    switch (state) {
    case GlobalHotKey::State::NoKey:
    case GlobalHotKey::State::Active:
        break;
    case GlobalHotKey::State::Unsupported:
        text += QStringLiteral("\nこのデスクトップではショートカットキーを使えません");
        break;
    case GlobalHotKey::State::Taken:
        text += QStringLiteral("\nショートカットキー %1 はほかのプログラムが使っています").arg(keyText);
        break;
    case GlobalHotKey::State::NotOnKeyboard:
        text += QStringLiteral("\nショートカットキー %1 はこのキーボードでは使えません").arg(keyText);
        break;
    }
    return text;
}

void LoaderTray::setHotKey(GlobalHotKey::State state, int shortcut)
{
    const QString keyText = keySequenceFromShortcut(shortcut).toString(QKeySequence::NativeText);
    m_icon->setToolTip(toolTipFor(state, keyText.isEmpty() ? QString::number(shortcut) : keyText));
}

QString LoaderTray::toolTip() const
{
    return m_icon->toolTip();
}

void LoaderTray::show()
{
    // On X11 the icon waits for a tray that starts later (the panel of a login session); elsewhere
    // an icon without a tray has nowhere to go.
    if (QSystemTrayIcon::isSystemTrayAvailable() || QGuiApplication::platformName() == QLatin1String("xcb"))
        m_icon->show();
}

void LoaderTray::popUpMenu()
{
    if (m_menu->isVisible())
        return;
    m_menu->popup(QCursor::pos());
    m_menu->activateWindow();
}

void LoaderTray::fillRecentFiles()
{
    qDeleteAll(m_recentItems);
    m_recentItems.clear();
    IniFile ini;
    ini.load(localPath(m_settingsFile));
    const Settings settings(ini, PlatformDefaults {});
    int number = 1;
    for (const std::string& file : settings.recentFiles()) {
        const QString path = QString::fromStdString(file);
        auto* item = new QAction(QStringLiteral("&%1 %2").arg(number++).arg(path), m_menu);
        connect(item, &QAction::triggered, this, [this, path] { startProgram({ path }); });
        m_recentItems.append(item);
    }
    if (m_recentItems.isEmpty()) {
        auto* none = new QAction(QStringLiteral("(最近使ったファイルはありません)"), m_menu);
        none->setEnabled(false);
        m_recentItems.append(none);
    }
    m_menu->insertActions(m_recentEnd, m_recentItems);
}

void LoaderTray::startProgram(const QStringList& arguments)
{
    const QString program = QDir(m_executableFolder).filePath(kProgramName);
    if (m_services.launcher->startDetached(program, arguments))
        return;
    m_services.prompt->tell(nullptr, QStringLiteral("%1 を起動できませんでした。").arg(QDir::toNativeSeparators(program)),
        QStringLiteral("Notarium"), MessageIcon::Error);
}

void LoaderTray::openFile()
{
    IniFile ini;
    ini.load(localPath(m_settingsFile));
    const Settings settings(ini, AppPaths::platformDefaults());
    bool readOnly = false;
    const QString path = m_services.files->openFileName(
        nullptr, kOpenTitle, QString::fromStdString(settings.get(key::DefaultFolder)), kFilter, &readOnly);
    if (path.isEmpty())
        return;
    if (readOnly)
        startProgram({ QStringLiteral("-R"), path });
    else
        startProgram({ path });
}

} // namespace notarium
