// The template menus of the main window: built from Template.ini, their twin in the memo pane's
// pop-up, their enabling, and applying text and tree templates through them, with the messages
// for files that are missing or broken.
#include "templates/TemplateCommands.h"
#include "app/DocumentTreeModel.h"
#include "app/MainWindow.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace notarium;

class TemplateCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    Node* memo = nullptr;

    TMainForm1& win() { return f->window(); }
    QMenu* menu(const char* name) { return win().menus().menu(QString::fromLatin1(name)); }
    QList<QAction*> items(const char* name)
    {
        QList<QAction*> found;
        for (QAction* action : menu(name)->actions())
            if (!action->isSeparator() && action->objectName().isEmpty())
                found << action;
        return found;
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        write(f->path(QStringLiteral("greeting.nmt")), "Dear \x82\xa0\r\nRegards\r\n");
        write(f->path(QStringLiteral("week.nmt")),
            "Notarium Template File\r\nVersion 1.10\r\n"
            "\r\n::Page::\r\n1\r\nMonday\r\n1\r\n1\r\nbegin{{\r\n}}end\r\n"
            "\r\n::Page::\r\n2\r\nplan\r\n2\r\n2\r\nbegin{{\r\nto do\r\n}}end\r\n");
        write(f->path(QStringLiteral("broken.nmt")),
            "Notarium Template File\r\nVersion 1.10\r\n"
            "\r\n::Page::\r\n1\r\nfine\r\n2\r\n2\r\nbegin{{\r\n}}end\r\n"
            "\r\n::Page::\r\nnot a level\r\n");
        write(f->path(QStringLiteral("Template.ini")),
            "[Templates]\nGreeting=0^greeting.nmt\nWeek=1^" + f->path(QStringLiteral("week.nmt")).toUtf8()
                + "\nBroken=1^broken.nmt\nGone=0^gone.nmt\n");
        f->start();
        Document& doc = win().document();
        memo = doc.createUserNode(doc.documentNode(), 0, KindMemo, "memo");
        doc.setModified(false);
        win().treePane()->setSelectedNode(memo);
    }
    void cleanup() { f.reset(); }

    void theMenusFollowTheStoreAndTheSelection()
    {
        const QList<QAction*> templates = items("Template1");
        QCOMPARE(templates.size(), 4);
        QCOMPARE(templates[0]->text(), QStringLiteral("Greeting"));
        QCOMPARE(templates[1]->statusTip(), f->path(QStringLiteral("week.nmt")));
        QVERIFY(templates[0]->isEnabled());

        // The pop-up's twin is filled as it opens.
        emit menu("pmMemo")->aboutToShow();
        QCOMPARE(items("Template2").size(), 4);
        QCOMPARE(items("Template2")[1]->text(), QStringLiteral("Week"));

        // A text template needs a page; a tree template goes under a top-level node too.
        win().treePane()->setSelectedNode(win().document().documentNode());
        QVERIFY(!templates[0]->isEnabled());
        QVERIFY(templates[1]->isEnabled());
        emit menu("pmMemo")->aboutToShow();
        QVERIFY(!items("Template2")[0]->isEnabled());

        win().document().setReadOnly(true);
        win().treePane()->setSelectedNode(memo);
        QVERIFY(!menu("Template1")->menuAction()->isEnabled());
        QVERIFY(!f->isEnabled("TemplateReg"));
    }

    void textAtTheCaretAndTreesUnderTheSelection()
    {
        TExtMemo& pane = *win().memoPane();
        pane.setBytes("ab");
        pane.setSelPos(1);
        items("Template1")[0]->trigger();
        QCOMPARE(pane.bytes(), std::string("aDear \x82\xa0\r\nRegards\r\nb"));

        items("Template1")[1]->trigger();
        QCOMPARE(memo->childCount(), 1);
        Node* monday = memo->firstChild();
        QCOMPARE(monday->title(), std::string("Monday"));
        QCOMPARE(monday->firstChild()->data()->MemoStr, std::string("to do\r\n"));
        QCOMPARE(win().treePane()->selectedNode(), monday);
        // The new branch shows open, as the template's pages with children are.
        const QModelIndex shown = win().treePane()->documentModel()->indexFromNode(monday);
        QVERIFY(win().treePane()->isExpanded(shown));
        QVERIFY(win().document().isModified());
        QCOMPARE(f->prompt().count(), 0);
    }

    void theListRewritesTheStoreAndTheMenuAfterAChange()
    {
        // The person moves the first template down and closes the list.
        QTimer::singleShot(0, this, [] {
            auto* list = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(list);
            auto* view = list->findChild<QTreeWidget*>();
            view->setCurrentItem(view->topLevelItem(0));
            list->findChild<QAbstractButton*>(QStringLiteral("sbDataDn"))->click();
            list->findChild<QAbstractButton*>(QStringLiteral("CloseButton"))->click();
        });
        f->trigger("TemplateReg");
        QCOMPARE(items("Template1")[0]->text(), QStringLiteral("Week"));
        QCOMPARE(items("Template1")[1]->text(), QStringLiteral("Greeting"));
        QFile store(f->path(QStringLiteral("Template.ini")));
        QVERIFY(store.open(QIODevice::ReadOnly));
        store.seek(0);
        const QByteArray text = store.readAll();
        QVERIFY(text.indexOf("Week=") < text.indexOf("Greeting="));
    }

    void missingAndBrokenFilesChangeNothing()
    {
        items("Template1")[3]->trigger();
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(f->prompt().last().text, QStringLiteral("テンプレートファイル gone.nmt が見つかりません。"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイルエラー"));

        items("Template1")[2]->trigger();
        QCOMPARE(f->prompt().count(), 2);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("テンプレートファイルの読み込み中にエラーが発生しました。\r\nファイルが壊れている可能性があります。"));
        QCOMPARE(memo->childCount(), 0);
        QVERIFY(!win().document().isModified());
    }
};

QTEST_MAIN(TemplateCommandsTest)
#include "TemplateCommandsTest.moc"
