#include "search/TSeekDialog.h"

#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/Services.h"
#include "app/WidgetHint.h"
#include "search/HistoryComboBox.h"
#include "search/SearchWindows.h"
#include "search/SeekResultModel.h"
#include "search/TWinRoller.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace notarium {

using namespace search_windows;

TSeekDialog::TSeekDialog(QWidget* mainWindow, HelpService& help, SeekResultModel& results)
    : m_results(results)
{
    setObjectName(QStringLiteral("TSeekDialog"));
    setWindowTitle(QStringLiteral("検索・置換"));
    QVBoxLayout* body = prepare(this, mainWindow, m_roller);

    m_findEdit = new HistoryComboBox;
    m_findEdit->setObjectName(QStringLiteral("FindEdit"));
    setHint(m_findEdit, "検索するキーワードを入力|検索するキーワードを入力してください");
    m_replEdit = new HistoryComboBox;
    m_replEdit->setObjectName(QStringLiteral("ReplEdit"));
    setHint(m_replEdit, "検索したキーワードを置き換える文字列を指定|検索したキーワードを置き換える文字列を指定してください");

    const OptionBoxes boxes = optionBoxes();
    m_matchCase = boxes.matchCase;
    m_matchByte = boxes.matchByte;
    m_ignoreCrLf = boxes.ignoreCrLf;
    m_wholeWord = boxes.wholeWord;

    auto* range = new QGroupBox(QStringLiteral(" 対象 "));
    range->setObjectName(QStringLiteral("GroupBox1"));
    m_wholePage = radioButton("rbWholePage", "すべてのページ(&W)",
        "すべてのページ（メモ）を対象に検索・置換を実行|すべてのページ（メモ）を対象に検索・置換を実行します");
    m_currentTree = radioButton("rbCurrentTree", "選択したツリー(&E)",
        "選択されているツリーを対象に検索・置換を実行|選択されているツリーを対象に検索・置換を実行します");
    m_currentPage = radioButton("rbCurrentPage", "表示ページのみ(&U)",
        "現在のページ（メモ）を対象に検索・置換を実行|現在のページ（メモ）を対象に検索・置換を実行します");
    m_wholePage->setChecked(true);
    auto* rangeLayout = new QHBoxLayout(range);
    rangeLayout->addWidget(m_wholePage);
    rangeLayout->addWidget(m_currentTree);
    rangeLayout->addWidget(m_currentPage);
    rangeLayout->addStretch();

    m_status = dialogLabel("StatusLabel", "");
    QPalette maroon = m_status->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    m_status->setPalette(maroon);
    m_status->setTextInteractionFlags(Qt::NoTextInteraction);

    m_resultList = new QTreeView;
    m_resultList->setObjectName(QStringLiteral("ResultList"));
    m_resultList->setModel(&m_results);
    m_resultList->setRootIsDecorated(false);
    m_resultList->setItemsExpandable(false);
    m_resultList->setUniformRowHeights(true);
    m_resultList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_resultList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_resultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_resultList->setAllColumnsShowFocus(true);
    m_resultList->setTextElideMode(Qt::ElideRight);
    m_resultList->header()->setStretchLastSection(false);
    m_resultList->header()->setSectionsMovable(false);
    m_resultList->setColumnWidth(SeekResultModel::TitleColumn, 122);
    m_resultList->installEventFilter(this);

    m_seekButton = dialogButton("SeekButton", "検索(&F)", "指定された条件で検索を実行|指定された条件で検索を実行します");
    m_seekButton->setDefault(true);
    m_replaceButton = dialogButton("ReplaceButton", "選択を置換(&R)",
        "選択された検索結果を置換文字で置き換え|選択された検索結果を置換文字で置き換えます");
    m_replAllButton = dialogButton("ReplAllButton", "すべて置換(&A)",
        "すべての検索結果を置換文字で置き換え|すべての検索結果を置換文字で置き換えます");
    m_viewButton = dialogButton("ViewButton", "選択を表示(&V)",
        "選択された検索結果のページを表示|選択された検索結果のページを表示します");
    m_initButton = dialogButton("InitButton", "検索初期化(&I)", "検索条件をクリアして初期化|検索条件をクリアして初期化します");
    m_cancelButton = dialogButton("CancelButton", "閉じる", "検索・置換を終了|検索・置換を終了します");
    m_helpButton = dialogButton("HelpButton", "ヘルプ(&H)", "検索・置換に関するヘルプを表示|検索・置換に関するヘルプを表示します");
    for (QPushButton* b : { m_seekButton, m_replaceButton, m_replAllButton, m_viewButton, m_initButton })
        b->setEnabled(false);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    fields->addWidget(dialogLabel("Label1", "検索文字列(&K)", m_findEdit), 0, 0);
    fields->addWidget(m_findEdit, 0, 1);
    fields->addWidget(dialogLabel("Label2", "置換文字列(&P)", m_replEdit), 1, 0);
    fields->addWidget(m_replEdit, 1, 1);
    auto* options = new QGridLayout;
    options->setHorizontalSpacing(12);
    options->setVerticalSpacing(0);
    options->addWidget(m_matchCase, 0, 0);
    options->addWidget(m_matchByte, 0, 1);
    options->addWidget(m_ignoreCrLf, 1, 0);
    options->addWidget(m_wholeWord, 1, 1);
    fields->addWidget(dialogLabel("Label4", "検索条件："), 2, 0, Qt::AlignTop);
    fields->addLayout(options, 2, 1);
    fields->addWidget(range, 3, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    buttons->addWidget(m_seekButton, 0, 0);
    buttons->addWidget(m_replaceButton, 1, 0);
    buttons->addWidget(m_replAllButton, 2, 0);
    buttons->addWidget(m_viewButton, 0, 1);
    buttons->addWidget(m_initButton, 1, 1);
    buttons->addWidget(m_cancelButton, 2, 1);
    buttons->addWidget(m_helpButton, 3, 1);
    buttons->setRowStretch(4, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addSpacing(6);
    top->addLayout(buttons);
    body->addLayout(top);

    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(dialogLabel("Label3", "検索結果(&T)", m_resultList));
    resultRow->addSpacing(12);
    resultRow->addWidget(m_status, 1);
    body->addLayout(resultRow);
    body->addWidget(m_resultList, 1);

    connect(m_findEdit, &QComboBox::editTextChanged, this, &TSeekDialog::updateButtons);
    connect(m_seekButton, &QPushButton::clicked, this, &TSeekDialog::seekRequested);
    connect(m_replaceButton, &QPushButton::clicked, this, &TSeekDialog::replaceRequested);
    connect(m_replAllButton, &QPushButton::clicked, this, &TSeekDialog::replaceAllRequested);
    connect(m_viewButton, &QPushButton::clicked, this, &TSeekDialog::viewRequested);
    connect(m_resultList, &QTreeView::doubleClicked, this, &TSeekDialog::viewRequested);
    connect(m_initButton, &QPushButton::clicked, this, &TSeekDialog::clearAll);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_helpButton, &QPushButton::clicked, this, [&help] { help.showContext(HelpWindow::SeekDialogContext); });
    connect(m_resultList->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TSeekDialog::updateButtons);
    connect(&m_results, &QAbstractItemModel::modelReset, this, &TSeekDialog::updateButtons);

    new ContextHelp(this, help, HelpWindow::SeekDialogContext);
    const int titleHeight = m_roller->titleArea()->sizeHint().height();
    setMinimumSize(qMax(546, minimumSizeHint().width()), 240 + titleHeight);
    resize(qMax(546, sizeHint().width()), 340 + titleHeight);
}

TSeekDialog::~TSeekDialog() = default;

void TSeekDialog::setOptions(const SeekOptions& options)
{
    m_matchCase->setChecked(options.matchCase);
    m_matchByte->setChecked(options.ignoreWidth);
    m_ignoreCrLf->setChecked(options.skipBreaksAndSpaces);
    m_wholeWord->setChecked(options.wholeWord);
}

SeekOptions TSeekDialog::options() const
{
    return { m_matchCase->isChecked(), m_matchByte->isChecked(), m_ignoreCrLf->isChecked(), m_wholeWord->isChecked() };
}

TSeekDialog::Range TSeekDialog::range() const
{
    if (m_currentTree->isChecked())
        return Range::SelectedTree;
    if (m_currentPage->isChecked())
        return Range::ShownPage;
    return Range::WholeDocument;
}

void TSeekDialog::setNodeRangesEnabled(bool enabled)
{
    if (!enabled)
        m_wholePage->setChecked(true);
    m_currentTree->setEnabled(enabled);
    m_currentPage->setEnabled(enabled);
}

void TSeekDialog::setReplaceAllowed(bool allowed)
{
    m_replEdit->setEnabled(allowed);
    // A box that cannot take text looks like the window around it.
    QPalette palette = m_replEdit->palette();
    palette.setColor(QPalette::Base, allowed ? QPalette().color(QPalette::Base) : palette.color(QPalette::Button));
    m_replEdit->setPalette(palette);
    updateButtons();
}

bool TSeekDialog::replaceAllowed() const
{
    return m_replEdit->isEnabled();
}

QList<int> TSeekDialog::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_resultList->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TSeekDialog::updateButtons()
{
    const bool selected = m_resultList->selectionModel()->hasSelection();
    const bool rows = m_results.rowCount() > 0;
    m_seekButton->setEnabled(!m_findEdit->currentText().isEmpty());
    m_replaceButton->setEnabled(selected && replaceAllowed());
    m_viewButton->setEnabled(selected);
    m_replAllButton->setEnabled(rows && replaceAllowed());
    m_initButton->setEnabled(rows || !m_status->text().isEmpty());
}

void TSeekDialog::clearAll()
{
    m_findEdit->setCurrentIndex(-1);
    m_findEdit->clearEditText();
    m_replEdit->setCurrentIndex(-1);
    m_replEdit->clearEditText();
    m_status->clear();
    m_results.clear();
    updateButtons();
    m_findEdit->setFocus();
}

void TSeekDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    fitTextColumn();
}

void TSeekDialog::fitTextColumn()
{
    m_resultList->setColumnWidth(SeekResultModel::TextColumn, qMax(40, m_resultList->width() - 151));
}

bool TSeekDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_resultList)
        return QDialog::eventFilter(watched, event);
    // An empty list passes the focus on to the search button, or to the close button.
    if (event->type() == QEvent::FocusIn && m_results.rowCount() == 0) {
        (m_seekButton->isEnabled() ? m_seekButton : m_cancelButton)->setFocus();
        return false;
    }
    // Enter on a row shows its hit, as a double click does; it does not search again.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_results.rowCount() > 0) {
            if (m_resultList->selectionModel()->hasSelection())
                emit viewRequested();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace notarium
