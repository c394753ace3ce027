#include "quickmemo/TClipboardMonitor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <optional>
#include <string>

namespace notarium {

namespace {

// The clipboard's text, or nothing when it holds none.
std::optional<std::string> clipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

} // namespace

TClipboardMonitor::TClipboardMonitor(QObject* parent)
    : QObject(parent)
    , m_onlyWhileFocused(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
{
    m_clock.start();
    // dataChanged is the clipboard's own signal; the primary selection has another.
    connect(
        QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TClipboardMonitor::clipboardChanged);
}

TClipboardMonitor::~TClipboardMonitor() = default;

void TClipboardMonitor::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_pauses = 0;
    if (enabled)
        rememberCurrent();
    else
        m_last = {};
}

void TClipboardMonitor::pause()
{
    ++m_pauses;
}

void TClipboardMonitor::resume()
{
    if (m_pauses == 0 || --m_pauses > 0)
        return;
    // The program's own text: a clipboard manager taking it over, or Wayland's echo of it, is no
    // clip either.
    if (m_enabled)
        rememberCurrent();
}

void TClipboardMonitor::recheck()
{
    if (m_enabled && m_pauses == 0)
        report(true);
}

void TClipboardMonitor::clipboardChanged()
{
    if (m_enabled && m_pauses == 0)
        report(false);
}

void TClipboardMonitor::report(bool recheck)
{
    const std::optional<std::string> text = clipboardText();
    if (!text) {
        // A picture or a file list: no clip, and the next text is new whatever it says.
        m_last = {};
        return;
    }
    const std::int64_t now = m_clock.elapsed();
    if (isRepeatedClip(m_last, *text, now))
        return;
    // Seen already: the focus came back (Wayland), or the window was activated after a change
    // that was reported while it was away.
    if ((recheck || m_onlyWhileFocused) && m_last.known && m_last.text == *text)
        return;
    m_last = LastClip { *text, now, true };
    emit changed();
}

void TClipboardMonitor::rememberCurrent()
{
    const std::optional<std::string> text = clipboardText();
    m_last = text ? LastClip { *text, m_clock.elapsed(), true } : LastClip {};
}

} // namespace notarium
