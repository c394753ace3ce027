#include "support/WindowFixture.h"

#include "app/ActionRegistry.h"
#include "app/TreePane.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QtTest>

namespace notarium {

namespace {

PlatformDefaults testDefaults(const QTemporaryDir& dir)
{
    PlatformDefaults platform;
    platform.documentsFolder = dir.path().toStdString();
    return platform;
}

} // namespace

WindowFixture::WindowFixture()
    : m_store(std::make_unique<SettingsStore>(std::string(), testDefaults(m_dir)))
{
}

void WindowFixture::useSettingsFile(const QString& path)
{
    m_store = std::make_unique<SettingsStore>(QFile::encodeName(path).toStdString(), testDefaults(m_dir));
    m_store->load();
}

WindowFixture::~WindowFixture()
{
    stop();
}

MainWindowContext WindowFixture::context()
{
    MainWindowContext context;
    context.settings = m_store.get();
    context.services = m_services.services();
    context.configFolder = m_dir.path();
    context.tempFolder = m_dir.filePath(QStringLiteral("Temp"));
    context.programFolder = m_programFolder;
    context.recoveryFolder = m_recoveryFolder;
    if (m_prompt != nullptr)
        context.services.prompt = m_prompt;
    return context;
}

void WindowFixture::start(bool activate)
{
    m_window = std::make_unique<TMainForm1>(context());
    m_window->show();
    if (activate) {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    } else {
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
}

void WindowFixture::stop()
{
    m_window.reset();
}

QAction* WindowFixture::action(const char* name) const
{
    return m_window->actions().action(QString::fromLatin1(name));
}

bool WindowFixture::isEnabled(const char* name) const
{
    const QAction* a = action(name);
    return a != nullptr && a->isEnabled();
}

void WindowFixture::trigger(const char* name)
{
    QAction* a = action(name);
    QVERIFY2(a, name);
    QVERIFY2(a->isEnabled(), name);
    a->trigger();
}

Node* WindowFixture::node(int index) const
{
    return m_window->document().nodeAt(index);
}

Node* WindowFixture::find(const std::string& title) const
{
    for (Node* n : m_window->document().nodesInOrder())
        if (n->title() == title)
            return n;
    return nullptr;
}

void WindowFixture::select(const std::string& title)
{
    m_window->treePane()->setSelectedNode(find(title));
}

QString WindowFixture::writeSampleFile(const QString& name) const
{
    Document doc;
    doc.newDocument();
    Node* a = doc.appendNode(doc.documentNode(), "A", KindMemo);
    a->data()->MemoStr = "first line\r\n\x95\x5C second\r\n";
    Node* b = doc.appendNode(doc.documentNode(), "B", KindCategory);
    doc.appendNode(b, "C", KindResult)->data()->MemoStr = "c\r\n";
    doc.appendNode(doc.paperFolderNode(), "D", KindMemo)->data()->MemoStr = "d\r\n";
    doc.setExpanded(doc.documentNode(), true);
    const QString file = path(name);
    const bool written = writeDataFile(QFile::encodeName(file).toStdString(), doc, 1).ok;
    Q_ASSERT(written);
    (void)written;
    return file;
}

void WindowFixture::close(QDialog& dialog, const char* closeWith)
{
    if (dialog.isVisible() && closeWith != nullptr) {
        auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(closeWith));
        QVERIFY2(button != nullptr, closeWith);
        button->click();
    }
    if (dialog.isVisible())
        dialog.reject();
}

} // namespace notarium
