// window-bench: the main window on a large document, on the offscreen platform. Times opening the
// file until the window has painted, selecting another node, jumping into closed branches (by
// selection and by a bookmark), saving, saving as text, the find window (a search without a hit, a
// hit deep inside collapsed branches), the search-and-replace window (listing every hit, replacing
// them all), a tree template of 1,000 pages applied, the character count of the whole document,
// a key typed and a page scrolled in a 1 MB memo, with and without the edit marks, and the recovery
// copy of the modified document with keys typed while it is made. Every figure is the wall time of
// the whole step as the person waits for it, painting included.
#include "app/Appearance.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"
#include "memo/TCountResult.h"
#include "recovery/RecoveryCommands.h"
#include "search/FindCommands.h"
#include "search/HistoryComboBox.h"
#include "search/SeekCommands.h"
#include "search/SeekResultModel.h"
#include "search/TFindForm1.h"
#include "search/TSeekDialog.h"
#include "settings/TOptionDialog.h"
#include "support/WindowFixture.h"
#include "templates/TemplateCommands.h"
#include "textio/TTextOutOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

using namespace notarium;

namespace {

double ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Runs what is queued (the deferred layouts and updates) and paints the widget at once.
void paint(QWidget* widget)
{
    QApplication::processEvents();
    widget->repaint();
}

void printStep(const std::string& label, double time, const char* goal)
{
    std::printf("%-44s %8.1f ms   (goal %s)\n", label.c_str(), time, goal);
}

// A check of what a step left behind; on stdout, next to the figures.
void printError(const std::string& text)
{
    std::printf("error: %s\n", text.c_str());
}

// ---- Opening, selecting, saving ----------------------------------------------------------------

double openUntilPainted(TMainForm1& window, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    window.fileCommands().openDocument(path, false);
    paint(&window);
    return ms(timer);
}

double selectAndPaint(TMainForm1& window, Node* node)
{
    QElapsedTimer timer;
    timer.start();
    window.treePane()->setSelectedNode(node);
    paint(&window);
    return ms(timer);
}

// A click: the next node the tree shows; the worst of five.
double selectNextNodes(TMainForm1& window)
{
    double worst = 0;
    Node* shown = window.treePane()->selectedNode();
    for (int i = 0; i < 5; ++i) {
        Node* target = Document::nextVisible(shown);
        if (target == nullptr)
            break;
        worst = std::max(worst, selectAndPaint(window, target));
        shown = target;
    }
    return worst;
}

// A jump: a node deep inside collapsed branches, which the tree opens on the way; the worst of
// five.
double jumpIntoClosedTree(TMainForm1& window)
{
    const Document& doc = window.document();
    double worst = 0;
    for (int i = 0; i < 5; ++i) {
        Node* target
            = doc.nodeAt(static_cast<long long>(doc.nodeCount() / 2 + static_cast<std::size_t>(i) * 997));
        worst = std::max(worst, selectAndPaint(window, target));
    }
    return worst;
}

// Ctrl+3 to a bookmark on a deep node inside collapsed branches, from a node at the top; the worst
// of five such nodes.
double jumpToBookmark(WindowFixture& fixture)
{
    TMainForm1& window = fixture.window();
    Document& doc = window.document();
    double worst = 0;
    for (int i = 0; i < 5; ++i) {
        // The deepest hidden node of a stretch in the last quarter of the document.
        Node* target = nullptr;
        const std::size_t from = doc.nodeCount() * 3 / 4 + static_cast<std::size_t>(i) * 1499;
        for (std::size_t k = from; k < from + 400 && k < doc.nodeCount(); ++k) {
            Node* n = doc.nodeAt(static_cast<long long>(k));
            if (n->isUserNode() && !Document::isVisible(n)
                && (target == nullptr || n->level() > target->level()))
                target = n;
        }
        if (target == nullptr)
            break;
        doc.setBookmark(3, target);
        window.treePane()->setSelectedNode(doc.nodeAt(1));
        paint(&window);
        QElapsedTimer timer;
        timer.start();
        fixture.trigger("N31");
        paint(&window);
        worst = std::max(worst, ms(timer));
        if (window.treePane()->selectedNode() != target)
            printError("the jump to the bookmark did not select its node");
    }
    return worst;
}

double save(TMainForm1& window)
{
    QElapsedTimer timer;
    timer.start();
    window.fileCommands().save();
    return ms(timer);
}

// Save as text of the whole document, from OK in the options window until the file is written
// (synced and renamed into place, the progress bar shown meanwhile); the best of three.
double saveAsText(WindowFixture& fixture, const QString& out)
{
    fixture.settings().set(key::NoConfirm, true);
    double best = -1;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        bool shown = false;
        QTimer::singleShot(0, &fixture.window(), [&] {
            if (auto* options = qobject_cast<TTextOutOptions*>(QApplication::activeModalWidget())) {
                shown = true;
                timer.start();
                options->okButton()->click();
            }
        });
        fixture.services().files.scriptSave(out);
        fixture.trigger("SaveAsText");
        const double time = ms(timer);
        if (!shown || !QFileInfo::exists(out))
            printError("save as text wrote no file");
        best = best < 0 ? time : std::min(best, time);
    }
    return best;
}

// ---- The find window ---------------------------------------------------------------------------

// Opens the find window through its menu item and puts the text into it.
TFindForm1* openFindWindow(WindowFixture& fixture, const QString& text)
{
    fixture.trigger("Find1");
    TFindForm1* find = fixture.window().findChild<FindCommands*>()->findWindow();
    find->findEdit()->setEditText(text);
    paint(find);
    return find;
}

QPushButton* findButton(const TFindForm1* find)
{
    return find->findChild<QPushButton*>(QStringLiteral("FindButton"));
}

// From the first node to the end of the document without a hit: the clock stops as the question
// whether to go on from the top is asked. No ends the search (and closes the find window).
double findNothing(WindowFixture& fixture)
{
    TMainForm1& window = fixture.window();
    window.treePane()->setSelectedNode(window.document().nodeAt(1));
    paint(&window);
    TFindForm1* find = openFindWindow(fixture, QStringLiteral("該当なしの語句"));

    RecordingPromptService& prompt = fixture.prompt();
    if (prompt.remainingAnswers() == 0)
        prompt.scriptAnswer(PromptAnswer::No);
    const int before = prompt.count();
    QElapsedTimer timer;
    double atQuestion = -1;
    prompt.whileAsking = [&] {
        if (atQuestion < 0)
            atQuestion = ms(timer);
    };
    timer.start();
    findButton(find)->click();
    prompt.whileAsking = nullptr;

    if (prompt.count() != before + 1)
        printError("find next without a hit asked " + std::to_string(prompt.count() - before) + " questions, not one");
    if (window.findChild<FindCommands*>()->findWindow() != nullptr)
        printError("the find window stayed open after the answer No");
    return atQuestion;
}

bool occursAnywhere(const Document& doc, std::string_view word)
{
    for (const Node* node : doc.nodesInOrder()) {
        if (node->title().find(word) != std::string::npos)
            return true;
        if (const TNodeData* data = node->data(); data != nullptr && data->MemoStr.find(word) != std::string::npos)
            return true;
    }
    return false;
}

// The deepest node with a body among the last tenth of the document that the tree does not show:
// some branch above it is collapsed.
Node* deepNodeInClosedBranch(const Document& doc)
{
    const std::vector<Node*>& nodes = doc.nodesInOrder();
    Node* deepest = nullptr;
    int depth = -1;
    for (std::size_t i = nodes.size() - nodes.size() / 10; i < nodes.size(); ++i) {
        Node* node = nodes[i];
        if (node->data() == nullptr || node->data()->MemoStr.empty() || Document::isVisible(node))
            continue;
        if (const int level = node->level(); level > depth) {
            deepest = node;
            depth = level;
        }
    }
    return deepest;
}

// Puts word on a line of its own in the middle of the body (at a line start, so no double-byte
// character is split).
void insertLine(Node* node, const std::string& word)
{
    std::string& body = node->data()->MemoStr;
    const std::size_t lineEnd = body.find("\r\n", body.size() / 2);
    if (lineEnd == std::string::npos)
        body += "\r\n" + word;
    else
        body.insert(lineEnd + 2, word + "\r\n");
}

// Find next from a node some thousands of nodes before the hit: the walk through their bodies, the
// tree opening the way to the hit and the memo pane selecting it, until painted.
double findDeepHit(WindowFixture& fixture)
{
    TMainForm1& window = fixture.window();
    Document& doc = window.document();
    const std::string word = "zqxwvbenchmark";
    if (occursAnywhere(doc, word)) {
        printError("the word of the deep hit occurs in the document already");
        return -1;
    }
    Node* target = deepNodeInClosedBranch(doc);
    if (target == nullptr) {
        printError("no node with a body inside a collapsed branch near the end");
        return -1;
    }
    insertLine(target, word);
    Node* from = doc.nodeAt(std::max(2, doc.absoluteIndex(target) - 3000));
    window.treePane()->setSelectedNode(from);
    paint(&window);
    TFindForm1* find = openFindWindow(fixture, QString::fromLatin1(word));

    QElapsedTimer timer;
    timer.start();
    findButton(find)->click();
    paint(&window);
    const double time = ms(timer);

    if (window.treePane()->selectedNode() != target)
        printError("find next did not select the node of the deep hit");
    else if (window.memoPane()->SelLen() <= 0)
        printError("the deep hit is not selected in the memo pane");
    if (QWidget* open = window.findChild<FindCommands*>()->findWindow())
        open->close();
    QApplication::processEvents();
    return time;
}

// ---- The search-and-replace window -------------------------------------------------------------

struct SeekStep {
    double time = 0;
    int rows = 0;
};

// Searches the whole document from the window, until the list has painted.
SeekStep seekAll(TSeekDialog* dialog, const SeekResultModel& results, const QString& text, bool ignoreWidth)
{
    dialog->findEdit()->setEditText(text);
    dialog->findChild<QCheckBox*>(QStringLiteral("cbMatchByte"))->setChecked(ignoreWidth);
    paint(dialog);

    QElapsedTimer timer;
    timer.start();
    dialog->seekButton()->click();
    QCoreApplication::processEvents();
    dialog->resultList()->viewport()->repaint();
    return { ms(timer), results.rowCount() };
}

// Replaces every listed hit, until the memo pane has painted the node it shows.
double replaceAll(TSeekDialog* dialog, TMainForm1& window, const QString& replacement)
{
    dialog->replEdit()->setEditText(replacement);
    paint(dialog);
    if (!dialog->replAllButton()->isEnabled()) {
        printError("the replace-all button is disabled");
        return -1;
    }

    QElapsedTimer timer;
    timer.start();
    dialog->replAllButton()->click();
    QCoreApplication::processEvents();
    window.memoPane()->viewport()->repaint();
    const double time = ms(timer);

    if (dialog->statusLabel()->text() != QStringLiteral("すべてを置き換えました"))
        printError("replace all reports: " + dialog->statusLabel()->text().toStdString());
    return time;
}

// ---- Templates ---------------------------------------------------------------------------------

// A tree template of 1,000 pages, three levels, each with a short body, applied under a node in
// the middle of the document: from the menu item until the tree has painted.
double applyTreeTemplate(TMainForm1& window, const QString& folder)
{
    std::string bytes = "Notarium Template File\r\nVersion 1.10\r\n";
    for (int i = 0; i < 1000; ++i) {
        const int level = i % 10 == 0 ? 1 : (i % 10 < 4 ? 2 : 3);
        bytes += "\r\n::Page::\r\n" + std::to_string(level) + "\r\npage " + std::to_string(i) + "\r\n2\r\n2\r\n"
            + "begin{{\r\n\x96\x7b\x95\xb6\x82\xcc\x88\xea\x8d\x73\r\n}}end\r\n";
    }
    const QString path = folder + QStringLiteral("/bench.nmt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0)
        printError("cannot write the template");
    file.close();
    const std::size_t before = window.document().nodeCount();
    window.treePane()->setSelectedNode(window.document().nodeAt(50000));
    paint(&window);
    TemplateCommands& templates = *window.findChild<TemplateCommands*>();
    QElapsedTimer timer;
    timer.start();
    templates.apply(TemplateEntry { "bench", 1, path.toStdString() });
    paint(&window);
    const double time = ms(timer);
    if (window.document().nodeCount() != before + 1000)
        printError("the template added " + std::to_string(window.document().nodeCount() - before) + " pages");
    return time;
}

// ---- The memo pane -----------------------------------------------------------------------------

// Lines of Japanese and ASCII text with a space each.
const std::string kPlainLine
    = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67 sample text line\r\n";
// Lines with something for every edit mark: a tab, half- and full-width spaces, a control
// character and the line end.
const std::string kMarkedLine = "\t\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x81\x40\x83\x65\x83\x4c\x83\x58\x83\x67"
                                " sample\x01 text line\r\n";

// Shows a body of about 1 MB, made of the line repeated (or of one line without a break), in the
// memo pane with the caret in the middle and the focus in the memo.
TExtMemo* showLargeMemo(TMainForm1& window, const std::string& line, bool oneLine = false)
{
    Document& doc = window.document();
    Node* memoNode = doc.nodeAt(1);
    // Away first: leaving the node stores what the memo pane holds into it.
    window.treePane()->setSelectedNode(doc.nodeAt(2));
    std::string body;
    const std::string repeated = oneLine ? line.substr(0, line.size() - 2) : line;
    while (body.size() < (1 << 20))
        body += repeated;
    memoNode->data()->MemoStr = body;
    window.treePane()->setSelectedNode(memoNode);
    QApplication::processEvents();
    TExtMemo* memo = window.memoPane();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        printError("the main window did not become active");
    memo->setFocus();
    if (!memo->hasFocus())
        printError("the memo pane has no focus: the caret marker would not follow the caret");
    memo->setSelPos(static_cast<int>(body.size() / 2));
    memo->ScrollCaret();
    paint(memo->viewport());
    return memo;
}

// Every edit mark, the caret marker and the word-wrap marker on (in the edit area, as wide as the
// program makes it), or all off.
void showEveryMark(TExtMemo* memo, bool on)
{
    TEditMarks& marks = memo->EditMarks();
    for (TEditMark* mark : { &marks.CrLf, &marks.Ctrl, &marks.DSp, &marks.SSp, &marks.Tab, &marks.Eot })
        mark->Enabled = on;
    memo->CaretMarker().Enabled = on;
    memo->WordWrapMarker().Enabled = on;
    if (on)
        memo->EditArea().setWidth(memo->width() - Appearance::kEditAreaInset);
    memo->EditArea().setEnabled(on);
    paint(memo->viewport());
}

// One key typed, until painted; the worst of ten.
double typeKeys(TExtMemo* memo)
{
    double worst = 0;
    QElapsedTimer timer;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        QTest::keyClick(memo, Qt::Key_A);
        memo->viewport()->repaint();
        worst = std::max(worst, ms(timer));
    }
    return worst;
}

// One page down, until painted; the worst of ten.
double scrollPages(TExtMemo* memo)
{
    double worst = 0;
    QElapsedTimer timer;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        memo->Scroll(TExtMemo::ScrollAction::PageDown);
        paint(memo->viewport());
        worst = std::max(worst, ms(timer));
    }
    return worst;
}

struct MemoSteps {
    double key = 0;
    double keyMarked = 0;
    double page = 0;
    double pageMarked = 0;
    double pageOneLine = 0;
};

// Typing and scrolling in a 1 MB memo without marks, then with every mark and both markers on;
// last, scrolling through one line of 1 MB wrapped into thousands of display lines.
MemoSteps largeMemo(TMainForm1& window)
{
    MemoSteps steps;
    TExtMemo* memo = showLargeMemo(window, kPlainLine);
    showEveryMark(memo, false);
    steps.key = typeKeys(memo);
    steps.page = scrollPages(memo);

    // As at start-up: the marks are set before a text is loaded.
    showEveryMark(memo, true);
    memo = showLargeMemo(window, kMarkedLine);
    steps.keyMarked = typeKeys(memo);
    steps.pageMarked = scrollPages(memo);

    memo = showLargeMemo(window, kMarkedLine, true);
    steps.pageOneLine = scrollPages(memo);
    if (memo->document()->blockCount() != 1 || memo->LineCount() < 1000)
        printError("the one-line memo is not one long wrapped line");
    showEveryMark(memo, false);
    return steps;
}

// ---- The recovery copy ---------------------------------------------------------------------------

struct RecoverySteps {
    double whole = 0; // from the command until the copy is on disk
    double start = 0; // the first step on the window's thread (storing the memo, the page list)
    double longestSlice = 0;
    double worstKey = 0; // the longest a key typed meanwhile waited for the window
    int keys = 0;
};

// Notes when each key reaches the memo pane.
class KeyArrival : public QObject {
public:
    QElapsedTimer clock;
    double postedAt = -1;
    double worst = 0;
    int keys = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && postedAt >= 0) {
            worst = std::max(worst, ms(clock) - postedAt);
            postedAt = -1;
            ++keys;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The copy of the whole modified document; a key is typed every 8 ms while it is made, and each
// one's wait for the window is timed. The worst of three copies.
RecoverySteps recoveryCopy(TMainForm1& window)
{
    RecoveryCommands& recovery = window.recovery();
    TExtMemo* memo = window.memoPane();
    window.treePane()->setSelectedNode(window.document().nodeAt(7));
    paint(&window);
    memo->setFocus();
    RecoverySteps worst;
    KeyArrival arrival;
    memo->installEventFilter(&arrival);
    for (int round = 0; round < 3; ++round) {
        QTest::keyClick(memo, Qt::Key_A); // a change, for the copy to be due
        bool written = false;
        bool ok = false;
        const QMetaObject::Connection done = QObject::connect(
            &recovery, &RecoveryCommands::copyWritten, [&](bool good) { written = true; ok = good; });
        arrival.clock.start();
        arrival.worst = 0;
        QElapsedTimer timer;
        timer.start();
        recovery.writeCopyNow();
        const double start = ms(timer);
        double lastKey = -1000;
        while (!written && timer.elapsed() < 10000) {
            if (arrival.postedAt < 0 && ms(timer) - lastKey >= 8) {
                lastKey = ms(timer);
                arrival.postedAt = ms(arrival.clock);
                QCoreApplication::postEvent(memo, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b")));
                QCoreApplication::postEvent(memo, new QKeyEvent(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QStringLiteral("b")));
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        QObject::disconnect(done);
        if (!written || !ok)
            printError("the recovery copy was not written");
        const double whole = ms(timer);
        worst.whole = std::max(worst.whole, whole);
        worst.start = std::max(worst.start, start);
        worst.longestSlice = std::max(worst.longestSlice, static_cast<double>(recovery.longestSliceMs()));
        worst.worstKey = std::max(worst.worstKey, arrival.worst);
    }
    worst.keys = arrival.keys;
    memo->removeEventFilter(&arrival);
    return worst;
}

// The character count with the document node selected (its branch is the whole document), from
// the command until the count window has painted; the worst of three.
double countCharacters(WindowFixture& fixture)
{
    TMainForm1& window = fixture.window();
    window.treePane()->setSelectedNode(window.document().documentNode());
    paint(&window);
    double worst = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        double shown = -1;
        QTimer::singleShot(0, &window, [&] {
            if (auto* result = qobject_cast<TCountResult*>(QApplication::activeModalWidget())) {
                result->repaint();
                shown = ms(timer);
                result->accept();
            }
        });
        timer.start();
        fixture.trigger("CountChar");
        if (shown < 0)
            printError("the count window did not open");
        worst = std::max(worst, shown);
    }
    return worst;
}

// The options dialog, from the command until its first page has painted (it reads every key and
// fills twelve pages); the worst of three, the first one included.
double openOptions(WindowFixture& fixture)
{
    TMainForm1& window = fixture.window();
    double worst = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        double shown = -1;
        QTimer::singleShot(0, &window, [&] {
            if (auto* dialog = qobject_cast<TOptionDialog*>(QApplication::activeModalWidget())) {
                dialog->repaint();
                shown = ms(timer);
                dialog->reject();
            }
        });
        timer.start();
        fixture.trigger("Option1");
        if (shown < 0)
            printError("the options dialog did not open");
        worst = std::max(worst, shown);
    }
    return worst;
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
    fixture.useRecoveryFolder(dir.filePath(QStringLiteral("recovery")));
    fixture.prompt().scriptAnswers(QList<PromptAnswer>(1000, PromptAnswer::No));
    fixture.start();
    TMainForm1& window = fixture.window();
    window.resize(1000, 700);
    QApplication::processEvents();

    const double open = openUntilPainted(window, copy);
    const double step = selectNextNodes(window);
    const double jump = jumpIntoClosedTree(window);
    const double bookmarkJump = jumpToBookmark(fixture);
    const double saved = save(window);
    const double exported = saveAsText(fixture, dir.filePath(QStringLiteral("large.txt")));

    const double findMiss = findNothing(fixture);
    const double findDeep = findDeepHit(fixture);

    fixture.trigger("Replace1");
    SeekCommands& seek = *window.findChild<SeekCommands*>();
    TSeekDialog* dialog = seek.seekDialog();
    const SeekStep listed = seekAll(dialog, seek.results(), QStringLiteral("メモ"), true);
    const SeekStep toReplace = seekAll(dialog, seek.results(), QStringLiteral("メモ"), false);
    const double replaced = replaceAll(dialog, window, QStringLiteral("めも"));
    dialog->close();
    QApplication::processEvents();

    const double applied = applyTreeTemplate(window, dir.path());
    const double counted = countCharacters(fixture);
    const double options = openOptions(fixture);
    const MemoSteps memo = largeMemo(window);
    const RecoverySteps recoveryCopied = recoveryCopy(window);

    std::printf("document: %zu nodes\n", window.document().nodeCount());
    printStep("open until painted", open, "500");
    printStep("select the next node", step, "50");
    printStep("jump into closed tree", jump, "50");
    printStep("jump to a bookmark in a closed branch", bookmarkJump, "50");
    printStep("save", saved, "200");
    printStep("save as text (UTF-8), from OK to the file", exported, "4 x cp of the file");
    printStep("key in a 1 MB memo", memo.key, "16, worst of 10");
    printStep("key in a 1 MB memo, every mark on", memo.keyMarked, "16, worst of 10");
    printStep("page down in a 1 MB memo", memo.page, "16, worst of 10");
    printStep("page down in a 1 MB memo, every mark on", memo.pageMarked, "16, worst of 10");
    printStep("page down in one 1 MB line, every mark on", memo.pageOneLine, "16, worst of 10");
    printStep("find next, nothing found", findMiss, "300");
    printStep("find next to a hit deep in closed branches", findDeep, "50");
    printStep("search-and-replace window lists " + std::to_string(listed.rows) + " hits", listed.time, "500");
    printStep("replace all " + std::to_string(toReplace.rows) + " hits", replaced, "1000");
    printStep("apply a tree template of 1,000 pages", applied, "50");
    printStep("character count of the whole document", counted, "200, worst of 3");
    printStep("open the options dialog", options, "150, worst of 3");
    printStep("recovery copy, from the command to the disk", recoveryCopied.whole, "150, worst of 3");
    printStep("  its first step on the window's thread", recoveryCopied.start, "16");
    printStep("  its longest slice on the window's thread", recoveryCopied.longestSlice, "16");
    printStep("  a key typed meanwhile, until it reaches the memo (" + std::to_string(recoveryCopied.keys) + " keys)",
        recoveryCopied.worstKey, "16, worst");
    return 0;
}
