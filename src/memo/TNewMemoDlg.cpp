#include "memo/TNewMemoDlg.h"

#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/WidgetHint.h"
#include "editor/TRetEdit.h"
#include "editor/TRetRadioButton.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace notarium {

namespace {

TRetRadioButton* radio(const char* name, const char* caption, const char* hint)
{
    auto* button = new TRetRadioButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    setHint(button, hint);
    return button;
}

bool isShiftEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
}

} // namespace

TNewMemoDlg::TNewMemoDlg(QWidget* mainWindow, HelpService& help)
    : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("TNewMemoDlg"));
    setWindowTitle(QStringLiteral("新規メモ連続作成"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    m_category = radio("cbCategory", "カテゴリ(&B)", "同じ階層にカテゴリーを作成します");
    m_childCategory = radio("cbChildCategory", "カテゴリ(&V)", "下の階層にカテゴリーを作成します");
    m_memo = radio("cbMemo", "メモ(&M)", "同じ階層にメモを作成します");
    m_childMemo = radio("cbChildMemo", "メモ(&N)", "下の階層にメモを作成します");
    m_result = radio("cbResult", "結論(&R)", "下の階層に結論を作成します");
    m_memo->setChecked(true);
    m_result->setEnabled(false);
    auto* group = new QButtonGroup(this);
    for (TRetRadioButton* button : { m_category, m_childCategory, m_memo, m_childMemo, m_result })
        group->addButton(button);

    m_titleBox = new TRetEdit;
    m_titleBox->setObjectName(QStringLiteral("TitleBox"));
    // Enter confirms the title: it reaches the default button.
    m_titleBox->setReturnNext(false);
    setHint(m_titleBox, "作成するメモのタイトルを入力します");
    auto* titleLabel = dialogLabel("TitleLabel", "タイトル(&T)", m_titleBox);

    m_ok = dialogButton("OKButton", "OK", "指定された条件でメモを作成します\n※[Shift]+[OK]：作成データに移動しない");
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_ok->setEnabled(false);
    auto* cancel = dialogButton("CancelButton", "Cancel", "メモの連続作成を終了します");
    auto* shiftNote = new QLabel(QStringLiteral("※[Shift] = 移動しない"));
    shiftNote->setObjectName(QStringLiteral("ShiftLabel"));
    setHint(shiftNote, "[OK]ボタンが押された時に[Shift]キーが押されていれば、作成したメモなどに移動しません");

    // Same level above, one level down below.
    auto* kinds = new QGridLayout;
    kinds->setHorizontalSpacing(12);
    kinds->setVerticalSpacing(2);
    kinds->addWidget(m_category, 0, 0);
    kinds->addWidget(m_memo, 0, 1);
    kinds->addWidget(m_result, 0, 2);
    kinds->addWidget(m_childCategory, 1, 0);
    kinds->addWidget(m_childMemo, 1, 1);
    kinds->setColumnStretch(3, 1);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(titleLabel);
    titleRow->addWidget(m_titleBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(shiftNote);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(6);
    outer->addLayout(kinds);
    outer->addLayout(titleRow);
    outer->addLayout(buttons);

    // Tab order: the kinds, the title, the buttons.
    setTabOrder(m_category, m_memo);
    setTabOrder(m_memo, m_result);
    setTabOrder(m_result, m_childCategory);
    setTabOrder(m_childCategory, m_childMemo);
    setTabOrder(m_childMemo, m_titleBox);
    setTabOrder(m_titleBox, m_ok);
    setTabOrder(m_ok, cancel);

    connect(m_titleBox, &QLineEdit::textChanged, this, [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this,
        [this] { confirm(QApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier)); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    // The window sees Shift+Enter before its controls do.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    new ContextHelp(this, help, HelpWindow::MemoWizardContext);
    setFixedSize(sizeHint().expandedTo(QSize(297, 114)));
    m_titleBox->setFocus();
}

WizardPlacement TNewMemoDlg::placement() const
{
    if (m_category->isChecked())
        return WizardPlacement::Category;
    if (m_childCategory->isChecked())
        return WizardPlacement::ChildCategory;
    if (m_childMemo->isChecked())
        return WizardPlacement::ChildMemo;
    if (m_result->isChecked())
        return WizardPlacement::Result;
    return WizardPlacement::Memo;
}

void TNewMemoDlg::setResultEnabled(bool enabled)
{
    // A checked result button stays checked when it is disabled: OK then beeps instead of making
    // another kind than the one chosen.
    m_result->setEnabled(enabled);
}

void TNewMemoDlg::readyForNext(bool resultEnabled)
{
    m_titleBox->clear();
    setResultEnabled(resultEnabled);
    activateWindow();
    m_titleBox->setFocus();
}

void TNewMemoDlg::confirm(bool keepSelection)
{
    if (m_titleBox->text().isEmpty())
        return;
    emit createRequested(placement(), keepSelection, m_titleBox->text());
}

bool TNewMemoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isShiftEnter(static_cast<QKeyEvent*>(event)) && m_ok->isEnabled()
        && !m_titleBox->isComposing()) {
        confirm(true);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace notarium
