#include "app/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace notarium {

namespace {

// The pages in the order of the contents; the first is the contents page itself.
constexpr const char* kPages[] = {
    "index.html",
    "mainwindow.html",
    "treepane.html",
    "titlebox.html",
    "memopane.html",
    "search.html",
    "templates.html",
    "bookmarks.html",
    "memotools.html",
    "textexport.html",
    "toolbars.html",
    "statusbar.html",
    "options.html",
    "keys.html",
};

struct ContextPage {
    int context;
    const char* page;
    int count = 1; // contexts context .. context + count - 1 share the page
};

constexpr ContextPage kContextPages[] = {
    { HelpWindow::MainWindowContext, "mainwindow.html" },
    { HelpWindow::TreePaneContext, "treepane.html" },
    { HelpWindow::TitleBoxContext, "titlebox.html" },
    { HelpWindow::MemoPaneContext, "memopane.html" },
    { HelpWindow::DockContext, "toolbars.html" },
    { HelpWindow::FindWindowContext, "search.html" },
    { HelpWindow::SeekDialogContext, "search.html" },
    { HelpWindow::TemplateListContext, "templates.html" },
    { HelpWindow::TemplateEditorContext, "templates.html" },
    { HelpWindow::BookmarkListContext, "bookmarks.html" },
    { HelpWindow::MemoWizardContext, "memotools.html" },
    { HelpWindow::TextOutOptionsContext, "textexport.html" },
    { HelpWindow::StatusBarContext, "statusbar.html" },
    { HelpWindow::OptionPagesContext, "options.html", 12 },
    { HelpWindow::KeyCustomizeContext, "keys.html" },
    { HelpWindow::CommandLineContext, "mainwindow.html" },
};

QUrl pageUrl(const char* page)
{
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(page));
}

QString pageHtml(const char* page)
{
    QFile file(QStringLiteral(":/help/") + QLatin1String(page));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString pageTitle(const QString& html)
{
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return title.match(html).captured(1).trimmed();
}

// The text a reader sees, so that a search does not find tag names or attribute values.
QString pageText(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Notarium ヘルプ"));
    resize(820, 600);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);

    m_contents = new QListWidget(this);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    for (const Topic& topic : topics()) {
        auto* item = new QListWidgetItem(topic.title, m_contents);
        item->setData(Qt::UserRole, topic.url);
    }

    auto* searchPage = new QWidget(this);
    m_searchEdit = new QLineEdit(searchPage);
    m_searchEdit->setObjectName(QStringLiteral("HelpSearchEdit"));
    m_searchEdit->setPlaceholderText(QStringLiteral("探す言葉を入力してください"));
    auto* searchButton = new QPushButton(QStringLiteral("検索(&S)"), searchPage);
    m_results = new QListWidget(searchPage);
    m_results->setObjectName(QStringLiteral("HelpSearchResults"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchEdit);
    searchRow->addWidget(searchButton);
    auto* searchLabel = new QLabel(QStringLiteral("探す言葉(&W):"), searchPage);
    searchLabel->setBuddy(m_searchEdit);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(searchLabel);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_results);

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_contents, QStringLiteral("目次(&C)"));
    m_tabs->addTab(searchPage, QStringLiteral("トピックの検索(&F)"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 220, 600 });

    auto* toolBar = new QToolBar(this);
    toolBar->addAction(QStringLiteral("戻る"), m_browser, &QTextBrowser::backward);
    toolBar->addAction(QStringLiteral("進む"), m_browser, &QTextBrowser::forward);
    toolBar->addAction(QStringLiteral("目次"), this, &HelpWindow::showContents);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolBar);
    layout->addWidget(splitter);

    connect(m_contents, &QListWidget::itemActivated, this, &HelpWindow::openTopic);
    connect(m_contents, &QListWidget::itemClicked, this, &HelpWindow::openTopic);
    connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::openTopic);
    connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::openTopic);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::runSearch);

    m_browser->setSource(pageUrl(kPages[0]));
}

QUrl HelpWindow::contextUrl(int context)
{
    for (const ContextPage& entry : kContextPages) {
        if (context >= entry.context && context < entry.context + entry.count) {
            QUrl url = pageUrl(entry.page);
            url.setFragment(QStringLiteral("ctx%1").arg(context));
            return url;
        }
    }
    return pageUrl(kPages[0]);
}

QList<HelpWindow::Topic> HelpWindow::topics()
{
    QList<Topic> result;
    for (const char* page : kPages) {
        const QString html = pageHtml(page);
        if (!html.isEmpty())
            result.append({ pageTitle(html), pageUrl(page) });
    }
    return result;
}

QList<HelpWindow::Topic> HelpWindow::search(const QString& query)
{
    const QStringList words = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QList<Topic> result;
    if (words.isEmpty())
        return result;
    for (const char* page : kPages) {
        const QString html = pageHtml(page);
        const QString text = pageText(html);
        const bool all = std::all_of(words.cbegin(), words.cend(),
            [&text](const QString& word) { return text.contains(word, Qt::CaseInsensitive); });
        if (all)
            result.append({ pageTitle(html), pageUrl(page) });
    }
    return result;
}

void HelpWindow::showContext(int context)
{
    m_tabs->setCurrentIndex(0);
    m_browser->setSource(contextUrl(context));
    present();
}

void HelpWindow::showContents()
{
    m_tabs->setCurrentIndex(0);
    m_browser->setSource(pageUrl(kPages[0]));
    present();
}

void HelpWindow::showSearch()
{
    m_tabs->setCurrentIndex(1);
    present();
    m_searchEdit->setFocus();
    m_searchEdit->selectAll();
}

void HelpWindow::runSearch()
{
    m_results->clear();
    const QList<Topic> found = search(m_searchEdit->text());
    for (const Topic& topic : found) {
        auto* item = new QListWidgetItem(topic.title, m_results);
        item->setData(Qt::UserRole, topic.url);
    }
    if (found.isEmpty() && !m_searchEdit->text().trimmed().isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("見つかりませんでした。"), m_results);
        item->setFlags(Qt::NoItemFlags);
    }
}

void HelpWindow::openTopic(QListWidgetItem* item)
{
    const QUrl url = item ? item->data(Qt::UserRole).toUrl() : QUrl();
    if (!url.isValid())
        return;
    // A click and the activation that may follow it open the page once, not twice in the history.
    if (m_browser->source() != url)
        m_browser->setSource(url);
    // From the search page, show where the first word is.
    if (item->listWidget() == m_results) {
        const QString first = m_searchEdit->text()
                                  .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
                                  .value(0);
        if (!first.isEmpty())
            m_browser->find(first);
    }
}

void HelpWindow::present()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

} // namespace notarium
