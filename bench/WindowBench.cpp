// window-bench: the main window on a large document, on the offscreen platform. Times opening the
// file until the window has painted, selecting another node, saving, and a key typed into a
// 1 MB memo.
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace notarium;

namespace {

double ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window-bench FILE.nmd\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("large.nmd"));
    QFile::copy(QString::fromLocal8Bit(argv[1]), copy);

    // The window of the tests, answering every question with No and opening no dialog.
    WindowFixture fixture;
    fixture.prompt().scriptAnswers(QList<PromptAnswer>(1000, PromptAnswer::No));
    TMainForm1 window(fixture.context());
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.fileCommands().openDocument(copy, false);
    QApplication::processEvents();
    window.repaint();
    const double open = ms(timer);

    Document& doc = window.document();
    // A click: the next node the tree shows. A jump: a node deep inside collapsed branches, which
    // the tree opens on the way.
    double step = 0;
    Node* shown = window.treePane()->selectedNode();
    for (int i = 0; i < 5; ++i) {
        Node* target = Document::nextVisible(shown);
        if (target == nullptr)
            break;
        timer.restart();
        window.treePane()->setSelectedNode(target);
        QApplication::processEvents();
        window.repaint();
        step = std::max(step, ms(timer));
        shown = target;
    }
    double select = 0;
    for (int i = 0; i < 5; ++i) {
        Node* target
            = doc.nodeAt(static_cast<long long>(doc.nodeCount() / 2 + static_cast<std::size_t>(i) * 997));
        timer.restart();
        window.treePane()->setSelectedNode(target);
        QApplication::processEvents();
        window.repaint();
        select = std::max(select, ms(timer));
    }

    timer.restart();
    window.fileCommands().save();
    const double save = ms(timer);

    // A 1 MB memo, then one key.
    Node* memoNode = doc.nodeAt(1);
    std::string body;
    while (body.size() < (1 << 20))
        body += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67 sample text line\r\n";
    memoNode->data()->MemoStr = body;
    window.treePane()->setSelectedNode(doc.nodeAt(2));
    window.treePane()->setSelectedNode(memoNode);
    QApplication::processEvents();
    TExtMemo* memo = window.memoPane();
    memo->setFocus();
    memo->setSelPos(static_cast<int>(body.size() / 2));
    double key = 0;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        QTest::keyClick(memo, Qt::Key_A);
        memo->viewport()->repaint();
        key = std::max(key, ms(timer));
    }

    std::printf("document: %zu nodes\n", doc.nodeCount());
    std::printf("open until painted     %8.1f ms   (goal 500)\n", open);
    std::printf("select the next node   %8.1f ms   (goal 50)\n", step);
    std::printf("jump into closed tree  %8.1f ms   (goal 50)\n", select);
    std::printf("save                   %8.1f ms   (goal 200)\n", save);
    std::printf("key in a 1 MB memo     %8.1f ms   (goal 16, worst of 10)\n", key);
    return 0;
}
