#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;

namespace notarium {

// The program's help: bundled HTML pages shown in a browser, with a contents list and a topic
// search. Each help context number of the program (the focused control's, a dialog's) is an
// anchor in one of the pages.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // The help contexts of the main window's parts.
    enum Context {
        MainWindowContext = 9,
        TreePaneContext = 10,
        TitleBoxContext = 11,
        MemoPaneContext = 12,
        DockContext = 13,
        StatusBarContext = 14,
        FindWindowContext = 27,
        SeekDialogContext = 28,
        TemplateListContext = 30,
        TemplateEditorContext = 31,
        BookmarkListContext = 33,
        MemoWizardContext = 34,
        TextOutOptionsContext = 35,
        OptionPagesContext = 40, // the first of the options dialog's twelve pages, in page order
        KeyCustomizeContext = 52,
        CommandLineContext = 116,
    };

    struct Topic {
        QString title;
        QUrl url;
    };

    // The window has a parent only to close with it; it is a window of its own.
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window at the page of the context; a context without a page of its own opens the
    // contents.
    void showContext(int context);
    void showContents();
    // "トピックの検索": the search page, ready for typing.
    void showSearch();

    // The page and anchor of a context.
    static QUrl contextUrl(int context);
    // Every page, in the order of the contents.
    static QList<Topic> topics();
    // The pages that hold every word of the query (blank-separated, case ignored), in contents order.
    static QList<Topic> search(const QString& query);

    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchEdit() const { return m_searchEdit; }
    QListWidget* searchResults() const { return m_results; }

private:
    void runSearch();
    void openTopic(QListWidgetItem* item);
    void present();

    QTabWidget* m_tabs = nullptr;
    QListWidget* m_contents = nullptr;
    QLineEdit* m_searchEdit = nullptr;
    QListWidget* m_results = nullptr;
    QTextBrowser* m_browser = nullptr;
};

} // namespace notarium
