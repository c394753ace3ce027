#include "settings/TCustomizeForm.h"

#include "app/ActionRegistry.h"
#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/Services.h"
#include "app/ShortcutNumber.h"
#include "app/WidgetHint.h"
#include "platform/LocalPath.h"
#include "settings/THotKeyEdit.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <initializer_list>

namespace notarium {

namespace {

constexpr const char* kShortcutSection = "ShortCutKeys";

// Ctrl+0 … Ctrl+9 and Ctrl+Shift+0 … Ctrl+Shift+9 belong to the bookmarks.
bool isReserved(int shortcut)
{
    return (shortcut >= 0x4030 && shortcut <= 0x4039) || (shortcut >= 0x6030 && shortcut <= 0x6039);
}

// A caption as the tree shows it: without its accelerator, whether written as a "(&F)" after the
// text or as an "&" inside it; "&&" stands for one "&".
QString withoutAccelerator(QString caption)
{
    static const QRegularExpression bracketed(QStringLiteral("\\(&[^&)]\\)"));
    caption.remove(bracketed);
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                plain += caption[++i];
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

// The image of a menu node: a small menu, drawn, as no item of the program has one.
QIcon menuIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x24, 0x5a, 0x96));
    painter.setBrush(Qt::white);
    painter.drawRect(2, 1, 11, 13);
    painter.fillRect(3, 2, 10, 3, QColor(0x2f, 0x74, 0xc0));
    painter.setPen(QColor(0x3c, 0x4a, 0x5c));
    for (int y : { 7, 9, 11 })
        painter.drawLine(5, y, 10, y);
    return QIcon(pixmap);
}

QIcon blankIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

int levelOf(const QTreeWidgetItem* item)
{
    int level = 0;
    for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
        ++level;
    return level;
}

} // namespace

TCustomizeForm::TCustomizeForm(const QList<QMenu*>& mainMenus, bool ctrlAltAllowed,
    const QString& defaultKeyFile, PromptService& prompt, HelpService& help, QWidget* mainWindow)
    : QDialog(mainWindow)
    , m_prompt(prompt)
    , m_defaultKeyFile(defaultKeyFile)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TCustomizeForm"));
    setWindowTitle(QStringLiteral("キーカスタマイズ"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("MenuTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setUniformRowHeights(true);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setMinimumWidth(210);
    auto* menuLabel = dialogLabel("Label1", "メニュー(&M)", m_tree);

    auto* currentLabel = dialogLabel("Label2", "現在の設定");
    m_currentKey = new QLineEdit;
    m_currentKey->setObjectName(QStringLiteral("CurrentKey"));
    m_currentKey->setReadOnly(true); // a read-only box takes no input method
    setHint(m_currentKey,
        "現在メニューに設定されている\nショートカットキーが表示されます|"
        "現在メニューに設定されているショートカットキーが表示されます");

    m_newKey = new THotKeyEdit;
    m_newKey->setObjectName(QStringLiteral("NewHotKey"));
    m_newKey->setCtrlAltAllowed(ctrlAltAllowed);
    setHint(m_newKey,
        "ショートカットキーとして定義したい\n組み合わせのキーを押します|"
        "ショートカットキーとして定義したい組み合わせのキーを押します");
    m_newKeyLabel = dialogLabel("Label3", "割り当てるキー(&K)", m_newKey);

    m_define = dialogButton("DefineButton", "割り当て(&D)", "指定したキーをメニューに割り当てます");
    m_remove = dialogButton("RemoveButton", "解除(&R)", "メニューのキー設定を解除します");
    auto* keyButtons = new QHBoxLayout;
    keyButtons->setSpacing(6);
    keyButtons->addWidget(m_define);
    keyButtons->addWidget(m_remove);
    keyButtons->addStretch(1);

    m_warning = dialogLabel("WarningLabel", "指定のキーは使われています");
    QPalette warningPalette = m_warning->palette();
    warningPalette.setColor(QPalette::WindowText, Qt::red);
    m_warning->setPalette(warningPalette);
    QFont underlined = m_warning->font();
    underlined.setUnderline(true);
    m_warning->setFont(underlined);
    // Shown and hidden without moving the controls below it.
    QSizePolicy keepsPlace = m_warning->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    m_warning->setSizePolicy(keepsPlace);
    m_warning->hide();

    auto* infoBox = new QGroupBox(QStringLiteral(" メニューの説明 "));
    infoBox->setObjectName(QStringLiteral("GroupBox1"));
    m_info = new QLabel;
    m_info->setObjectName(QStringLiteral("MenuInfo"));
    m_info->setWordWrap(true);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The longest hints take three lines.
    m_info->setMinimumHeight(3 * m_info->fontMetrics().lineSpacing() + 2);
    auto* infoLayout = new QVBoxLayout(infoBox);
    infoLayout->setContentsMargins(8, 4, 8, 6);
    infoLayout->addWidget(m_info, 1);

    auto* side = new QVBoxLayout;
    side->setSpacing(3);
    side->addWidget(currentLabel);
    side->addWidget(m_currentKey);
    side->addSpacing(6);
    side->addWidget(m_newKeyLabel);
    side->addWidget(m_newKey);
    side->addSpacing(3);
    side->addLayout(keyButtons);
    side->addWidget(m_warning);
    side->addSpacing(3);
    side->addWidget(infoBox, 1);

    auto* menuSide = new QVBoxLayout;
    menuSide->setSpacing(3);
    menuSide->addWidget(menuLabel);
    menuSide->addWidget(m_tree, 1);

    // Wide enough for the key names and a hint line of some length.
    const int sideWidth = qMax(200, 16 * m_info->fontMetrics().horizontalAdvance(QChar(0x3042)));
    m_currentKey->setFixedWidth(sideWidth);
    m_newKey->setFixedWidth(sideWidth);
    infoBox->setFixedWidth(sideWidth);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addLayout(menuSide, 1);
    top->addLayout(side);

    auto* defaults
        = dialogButton("DefaultButton", "標準に戻す(&F)", "ショートカットキーの設定を標準に戻します");
    auto* ok = dialogButton("OKButton", "&OK", "キーカスタマイズ設定を登録します");
    ok->setDefault(true);
    auto* cancel = dialogButton("CancelButton", "&Cancel", "キーカスタマイズをキャンセルします");
    auto* helpButton = dialogButton("HelpButton", "&Help", "キーカスタマイズのヘルプを表示します");
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(8);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* current) { selectionChanged(current); });
    connect(m_define, &QPushButton::clicked, this, &TCustomizeForm::defineButtonClick);
    connect(m_remove, &QPushButton::clicked, this, &TCustomizeForm::removeButtonClick);
    connect(defaults, &QPushButton::clicked, this, &TCustomizeForm::defaultButtonClick);
    connect(ok, &QPushButton::clicked, this, &TCustomizeForm::okButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [&help] { help.showContext(HelpWindow::KeyCustomizeContext); });
    new ContextHelp(this, help, HelpWindow::KeyCustomizeContext);

    buildTree(mainMenus);
    setFixedSize(sizeHint().expandedTo(QSize(436, 247)));
    m_tree->setFocus();
}

TCustomizeForm::~TCustomizeForm() = default;

void TCustomizeForm::buildTree(const QList<QMenu*>& mainMenus)
{
    auto* root = new QTreeWidgetItem(m_tree, { QStringLiteral("Notarium") });
    root->setIcon(0, ActionRegistry::icon(QStringLiteral("notarium")));
    root->setData(0, RecordRole, -1);
    const QIcon menuImage = menuIcon();
    for (QMenu* menu : mainMenus) {
        auto* menuNode = new QTreeWidgetItem(root, { withoutAccelerator(menu->title()) });
        menuNode->setIcon(0, menuImage);
        menuNode->setData(0, RecordRole, -1);
        menuNode->setData(0, NameRole, menu->objectName());
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() || item->objectName().isEmpty())
                continue;
            QTreeWidgetItem* command = addCommand(menuNode, item);
            if (QMenu* submenu = item->menu())
                for (QAction* subItem : submenu->actions())
                    if (!subItem->isSeparator() && isCustomisableSubmenuItem(subItem->objectName()))
                        addCommand(command, subItem);
        }
    }
    m_tree->expandAll();
    // The root is selected, so the key controls start as they are for a node without a key.
    m_tree->setCurrentItem(root);
    selectionChanged(root);
    m_tree->scrollToTop();
}

QTreeWidgetItem* TCustomizeForm::addCommand(QTreeWidgetItem* parent, QAction* item)
{
    CommandRecord record;
    record.name = item->objectName();
    record.hint = item->statusTip();
    record.hasSubmenu = item->menu() != nullptr;
    record.shortcut = record.hasSubmenu ? 0 : shortcutFromKeySequence(item->shortcut());
    auto* node = new QTreeWidgetItem(parent, { withoutAccelerator(item->text()) });
    // Items without an image keep the image's place, so the captions of a menu line up.
    node->setIcon(0, item->icon().isNull() ? blankIcon() : item->icon());
    node->setData(0, RecordRole, static_cast<int>(m_records.size()));
    node->setData(0, NameRole, record.name);
    m_records.push_back(std::move(record));
    return node;
}

QTreeWidgetItem* TCustomizeForm::itemFor(const QString& name) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->data(0, RecordRole).toInt() >= 0 && (*it)->data(0, NameRole).toString() == name)
            return *it;
    return nullptr;
}

CommandRecord* TCustomizeForm::recordOf(const QTreeWidgetItem* item)
{
    if (item == nullptr)
        return nullptr;
    const int index = item->data(0, RecordRole).toInt();
    return index >= 0 && index < static_cast<int>(m_records.size()) ? &m_records[static_cast<std::size_t>(index)]
                                                                    : nullptr;
}

void TCustomizeForm::selectionChanged(QTreeWidgetItem* current)
{
    m_currentKey->clear();
    m_newKey->clearShortcut();
    m_info->clear();

    const CommandRecord* record = recordOf(current);
    const bool takesKey = current != nullptr && levelOf(current) >= 2 && record != nullptr && !record->hasSubmenu;
    for (QWidget* control : std::initializer_list<QWidget*> { m_newKeyLabel, m_newKey, m_define, m_remove })
        control->setEnabled(takesKey);
    // The key box looks like an edit box only while it takes a key.
    QPalette palette = m_newKey->palette();
    palette.setColor(
        QPalette::Base, QApplication::palette().color(takesKey ? QPalette::Base : QPalette::Button));
    m_newKey->setPalette(palette);
    m_warning->hide();
    showRecord(current);
}

void TCustomizeForm::showRecord(const QTreeWidgetItem* item)
{
    const CommandRecord* record = recordOf(item);
    if (record == nullptr)
        return;
    m_currentKey->setText(THotKeyEdit::displayText(record->shortcut));
    m_info->setText(record->hint);
}

void TCustomizeForm::refuse()
{
    m_warning->show();
    m_prompt.beep();
}

void TCustomizeForm::defineButtonClick()
{
    CommandRecord* selected = recordOf(m_tree->currentItem());
    if (selected == nullptr || selected->hasSubmenu)
        return;
    const int key = m_newKey->shortcut();
    if (isReserved(key)) {
        m_newKey->clearShortcut();
        refuse();
        return;
    }
    // An empty box assigns nothing: taking a key away is Remove's. (Searched for like a key, it
    // would find some command without one and call the "key" used.)
    if (key == 0) {
        m_prompt.beep();
        return;
    }
    // A key is one command's.
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].shortcut != key)
            continue;
        m_tree->setCurrentItem(itemFor(m_records[i].name));
        refuse();
        return;
    }
    selected->shortcut = key;
    selected->changed = true;
    showRecord(m_tree->currentItem());
}

void TCustomizeForm::removeButtonClick()
{
    CommandRecord* selected = recordOf(m_tree->currentItem());
    if (selected == nullptr || selected->hasSubmenu)
        return;
    m_newKey->clearShortcut();
    selected->shortcut = 0;
    selected->changed = true;
    showRecord(m_tree->currentItem());
}

void TCustomizeForm::okButtonClick()
{
    m_outcome = Outcome::Saved;
    accept();
}

void TCustomizeForm::defaultButtonClick()
{
    if (m_prompt.ask(this, QStringLiteral("キー定義をデフォルトに戻しますか？"), QStringLiteral("キー定義を標準に戻す"),
            MessageIcon::Question, PromptButtons::YesNo)
        != PromptAnswer::Yes)
        return;
    IniFile defaults;
    // A file that is there but cannot be read is as good as missing.
    if (!QFileInfo(m_defaultKeyFile).isFile() || !defaults.load(localPath(m_defaultKeyFile))) {
        m_prompt.tell(this,
            QStringLiteral("デフォルトのキー設定ファイル \"Default.key\" が見つかりません。\r\n"
                           "このファイルは Notariumの配布アーカイブに含まれています。"),
            QStringLiteral("エラー"), MessageIcon::Error);
        return;
    }
    m_defaultKeys = defaults.values(kShortcutSection);
    m_outcome = Outcome::DefaultsRestored;
    accept();
}

void TCustomizeForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_placed || m_mainWindow == nullptr)
        return;
    m_placed = true;
    QRect placed(QPoint(0, 0), frameGeometry().size());
    placed.moveCenter(m_mainWindow->frameGeometry().center());
    if (const QScreen* screen = m_mainWindow->screen()) {
        const QRect area = screen->availableGeometry();
        placed.moveLeft(qBound(area.left(), placed.left(), qMax(area.left(), area.right() - placed.width())));
        placed.moveTop(qBound(area.top(), placed.top(), qMax(area.top(), area.bottom() - placed.height())));
    }
    move(placed.topLeft());
}

} // namespace notarium
