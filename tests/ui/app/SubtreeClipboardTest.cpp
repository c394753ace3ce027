// Subtrees on the system clipboard: within one program, and from one running program to another.
#include "app/SubtreeClipboard.h"
#include "core/document/Document.h"
#include "core/transfer/ContainerStream.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QTest>

#include <cstdio>
#include <string>

using namespace notarium;

namespace {

// A memo "Plan" with the body "p" and two children (a result "Step 1" with a child of its own,
// and a memo "Step 2"), deep under a category so that the absolute levels differ from where it
// lands.
Node* buildPlan(Document& doc)
{
    doc.newDocument();
    Node* outer = doc.appendNode(doc.documentNode(), "Outer", KindCategory);
    Node* inner = doc.appendNode(outer, "Inner", KindCategory);
    Node* plan = doc.appendNode(inner, "Plan", KindMemo);
    plan->data()->MemoStr = "p\r\n\x95\x5C\r\n";
    Node* step1 = doc.appendNode(plan, "Step 1", KindResult);
    step1->data()->MemoStr = "one";
    doc.appendNode(step1, "Detail", KindMemo)->data()->MemoStr = "d";
    doc.appendNode(plan, "Step 2", KindMemo);
    return plan;
}

// The subtree below node as "title(kind)[body]" in pre-order, with levels relative to node.
std::string describe(const Node* node)
{
    std::string out;
    const int base = node->level();
    const Node* end = node->lastDescendant()->next();
    for (const Node* n = node; n != end; n = n->next())
        out += std::to_string(n->level() - base) + ":" + n->title() + "(" + std::to_string(n->imageIndex()) + ")["
            + (n->data() ? n->data()->MemoStr : std::string()) + "] ";
    return out;
}

QString mimeType()
{
    return QString::fromLatin1(kTreeNodeMimeType.data(), static_cast<qsizetype>(kTreeNodeMimeType.size()));
}

} // namespace

class SubtreeClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void copyAndPasteKeepShapeKindsAndText();
    void clipboardWithoutASubtree();
    void twoProcesses();
};

void SubtreeClipboardTest::copyAndPasteKeepShapeKindsAndText()
{
    Document source;
    const Node* plan = buildPlan(source);
    SubtreeClipboard clipboard;
    clipboard.copy(plan);
    QVERIFY(clipboard.holdsSubtree());

    // Pasted under a level-1 category of another document: the copy's first node is at level 2.
    Document target;
    target.newDocument();
    Node* category = target.appendNode(target.documentNode(), "Target", KindCategory);
    target.appendNode(category, "Existing", KindMemo);
    QString error;
    Node* pasted = clipboard.paste(category, target, &error);
    QVERIFY(pasted != nullptr);
    QVERIFY(error.isEmpty());
    QCOMPARE(pasted->parent(), category);
    QCOMPARE(category->lastChild(), pasted);
    QCOMPARE(pasted->level(), 2);
    QCOMPARE(describe(pasted), describe(plan));
    // The source is left as it was, and the clipboard still holds the subtree for another paste.
    QCOMPARE(source.nodeCount(), 8u);
    QVERIFY(clipboard.paste(target.paperFolderNode(), target) != nullptr);
}

void SubtreeClipboardTest::clipboardWithoutASubtree()
{
    Document doc;
    Node* plan = buildPlan(doc);
    const auto count = doc.nodeCount();
    SubtreeClipboard clipboard;
    QString error = QStringLiteral("stale");

    QApplication::clipboard()->setText(QStringLiteral("plain text"));
    QVERIFY(!clipboard.holdsSubtree());
    QCOMPARE(clipboard.paste(plan, doc, &error), nullptr);
    QVERIFY(error.isEmpty());

    // Bytes under the program's type that are not a subtree stream are refused with a reason.
    for (const QByteArray& bytes : { QByteArray("TPF0"), QByteArray("garbage"), QByteArray() }) {
        auto* data = new QMimeData;
        data->setData(mimeType(), bytes);
        QApplication::clipboard()->setMimeData(data);
        QVERIFY(clipboard.holdsSubtree());
        QCOMPARE(clipboard.paste(plan, doc, &error), nullptr);
        QVERIFY(!error.isEmpty());
    }
    QCOMPARE(doc.nodeCount(), count);

    // Nothing is copied from a missing node or the hidden root.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    clipboard.copy(nullptr);
    clipboard.copy(doc.root());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

// Run as the peer: copy the plan to the clipboard, say so, and keep serving it until told to go.
static int runPeer()
{
    Document doc;
    SubtreeClipboard().copy(buildPlan(doc));
    std::puts("ready");
    std::fflush(stdout);
    QTimer::singleShot(20000, qApp, &QCoreApplication::quit);
    QFile input;
    (void)input.open(stdin, QIODevice::ReadOnly);
    auto* notifier = new QSocketNotifier(0, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}

void SubtreeClipboardTest::twoProcesses()
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        QSKIP("needs a display server shared by two processes");
    QProcess peer;
    peer.setProgram(QCoreApplication::applicationFilePath());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NOTARIUM_CLIPBOARD_PEER"), QStringLiteral("1"));
    peer.setProcessEnvironment(env);
    peer.start();
    QVERIFY(peer.waitForStarted(10000));
    QVERIFY(peer.waitForReadyRead(20000));
    QCOMPARE(peer.readLine().trimmed(), QByteArray("ready"));

    SubtreeClipboard clipboard;
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsSubtree(), 5000);
    Document doc;
    doc.newDocument();
    Node* category = doc.appendNode(doc.paperFolderNode(), "Here", KindCategory);
    Node* pasted = clipboard.paste(category, doc);
    QVERIFY(pasted != nullptr);
    Document expected;
    QCOMPARE(describe(pasted), describe(buildPlan(expected)));

    peer.closeWriteChannel();
    QVERIFY(peer.waitForFinished(10000));
    QCOMPARE(peer.exitCode(), 0);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("NOTARIUM_CLIPBOARD_PEER"))
        return runPeer();
    SubtreeClipboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SubtreeClipboardTest.moc"
