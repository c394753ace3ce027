#include "app/StatusPanels.h"

#include "platform/CapsLockWatch.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace notarium {

StatusPanels::StatusPanels(QStatusBar* bar)
    : QObject(bar)
{
    static constexpr int kWidths[] = { 392, 50, 50, 50, 60, 19 };
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i <= Grip; ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setAlignment(i == Message ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        if (i != Grip)
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == Message) {
            panel->setMinimumWidth(60);
            bar->addWidget(panel, 1);
        } else {
            panel->setFixedWidth(kWidths[i]);
            bar->addPermanentWidget(panel);
        }
        m_panels << panel;
    }
    setInsertMode(QStringLiteral("挿入"));
    setCaret(0, 0);
    auto* caps = new CapsLockWatch(CapsLockWatch::platformLockBit(), this);
    connect(caps, &CapsLockWatch::changed, this, &StatusPanels::setCapsLock);
    m_progress = new QProgressBar;
    m_progress->setFixedWidth(200);
    m_progress->setTextVisible(false);
    m_progress->hide();
    bar->insertWidget(0, m_progress);
}

StatusPanels::~StatusPanels() = default;

void StatusPanels::setMessage(const QString& text)
{
    m_panels[Message]->setText(text);
}

void StatusPanels::setModified(bool modified)
{
    m_panels[Modified]->setText(modified ? QStringLiteral("変更") : QString());
}

void StatusPanels::setCapsLock(bool on)
{
    m_panels[CapsLock]->setText(on ? QStringLiteral("CAPS") : QString());
}

void StatusPanels::setInsertMode(const QString& text)
{
    m_panels[InsertMode]->setText(text);
}

QString StatusPanels::caretText(int line, int column)
{
    return QStringLiteral("%1：%2").arg(line + 1, 3).arg(column + 1, 3);
}

void StatusPanels::setCaret(int line, int column)
{
    m_panels[Caret]->setText(caretText(line, column));
}

QString StatusPanels::text(Panel panel) const
{
    return m_panels[panel]->text();
}

QLabel* StatusPanels::label(Panel panel) const
{
    return m_panels[panel];
}

void StatusPanels::showProgress(quint64 done, quint64 total)
{
    if (total == 0) {
        if (m_progressPercent >= 0)
            QApplication::restoreOverrideCursor();
        m_progress->hide();
        m_progressPercent = -1;
        return;
    }
    if (m_progressPercent < 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_progress->setRange(0, 100);
        m_progress->show();
    }
    const int percent = static_cast<int>(qMin<quint64>(100, done * 100 / total));
    if (percent != m_progressPercent) {
        m_progressPercent = percent;
        m_progress->setValue(percent);
        m_progress->repaint();
    }
}

} // namespace notarium
