#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace notarium {

// The six panels of the main window's status bar and the progress bar shown in it while a file
// is read or written.
class StatusPanels : public QObject {
    Q_OBJECT

public:
    enum Panel {
        Message = 0, // hints, notices and the window size
        Modified = 1, // "変更" while the document has unsaved changes
        CapsLock = 2, // "CAPS" while Caps Lock is on
        InsertMode = 3, // "挿入" or "上書き"
        Caret = 4, // line and column of the caret
        Grip = 5,
    };

    explicit StatusPanels(QStatusBar* bar);
    ~StatusPanels() override;

    void setMessage(const QString& text);
    void setModified(bool modified);
    void setCapsLock(bool on);
    void setInsertMode(const QString& text);
    // Line and column counted from 0; shown from 1, each right-aligned in three places.
    void setCaret(int line, int column);
    // Reading and writing report their progress; total 0 ends it. The wait cursor is shown
    // meanwhile.
    void showProgress(quint64 done, quint64 total);

    QString text(Panel panel) const;
    QLabel* label(Panel panel) const;
    QProgressBar* progressBar() const { return m_progress; }

    // The text of the caret panel for a line and column counted from 0.
    static QString caretText(int line, int column);

private:
    QList<QLabel*> m_panels;
    QProgressBar* m_progress = nullptr;
    int m_progressPercent = -1;
};

} // namespace notarium
