#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace notarium {

// Gives a top-level tool window a roll-up button: rolled up, the window shrinks to its caption
// strip (plus RemainHeight pixels and a 3-pixel bottom edge); rolled down, it gets its old height
// back. The window manager's caption cannot take a button, so the roller provides a slim title
// area that the owner puts at the very top of its layout, with no margin above it; the button sits
// at its right end.
//
// Rolling only resizes the window (its top-left stays), fixes its height while rolled up and gives
// its own height limits back on rolling down. While rolled up the owner's layout is held at the
// full height, so the controls below the title area are cut off rather than squeezed; the width
// still follows the window. The roller is a child of its owner and lives as long as the owner.
class TWinRoller : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int RemainHeight READ RemainHeight WRITE setRemainHeight)
    Q_PROPERTY(bool Roller READ Roller WRITE setRoller NOTIFY OnRoller)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)

public:
    // owner must be a top-level window; anything else throws std::invalid_argument.
    explicit TWinRoller(QWidget* owner);
    ~TWinRoller() override;

    QWidget* owner() const { return m_owner; }
    // The strip for the top of the owner's layout (a child of the owner until the layout takes
    // it). Its button is the child named "RollerButton".
    QWidget* titleArea() const { return m_titleArea; }

    // The button takes presses. While false the button is drawn disabled and setRoller does
    // nothing.
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Pixels of the window that stay visible below the title area while rolled up (>= 0).
    int RemainHeight() const { return m_remainHeight; }
    void setRemainHeight(int pixels);

    // The window is rolled up. A change (only while Enabled and Visible) resizes the window, then
    // emits OnRoller, then redraws the button.
    bool Roller() const { return m_rolled; }
    void setRoller(bool rolled);

    // The button is shown and rolling works. Hiding it rolls a rolled-up window down first, so
    // that it is not left without a way back.
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);

    // The window's height while rolled up: the bottom of the title area + RemainHeight + 3.
    int rolledHeight() const;

signals:
    void OnRoller(bool rolled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rollUp();
    void rollDown();
    void applyRolledHeight();
    void layOutRolled();
    void refreshTitleArea();

    QWidget* m_owner;
    QPointer<QWidget> m_titleArea;
    QPointer<QWidget> m_bottomEdge;
    bool m_enabled = true;
    int m_remainHeight = 0;
    bool m_rolled = false;
    bool m_visible = true;

    // What rolling up changed, given back on rolling down.
    int m_fullHeight = 0;
    int m_minHeight = 0;
    int m_maxHeight = 0;
    bool m_layoutEnabled = true;
};

} // namespace notarium
