#pragma once

#include <QWidget>
#include <vector>

class QAbstractButton;
class QKeyEvent;

namespace korvel {

// Keyboard use of the skinned windows: every control is a Tab stop (a click leaves the focus
// where it is, so that the mouse works as before), Enter presses the focused button as Space
// does, the control that Tab reached wears a frame in the skin's accent colour and shows its
// tooltip at once.

// Makes `control` reachable by Tab and Shift+Tab.
void MakeTabStop(QWidget& control);
// A picture that only shows something (an indicator, a backdrop): it takes neither clicks nor
// the focus, and assistive technology is told it is a picture, not a button.
void MakeShowOnly(QWidget& control);

// The Tab stops among `dialog`'s own children as the dialog reads: row by row from the top, left
// to right within a row (controls whose tops lie within a few pixels share a row).
std::vector<QWidget*> TabStopsByPlace(const QWidget& dialog);
// Makes Tab follow `order` (Shift+Tab the other way).
void ApplyTabOrder(const std::vector<QWidget*>& order);

// Enter and Return on a focused button: clicks it and returns true.
bool PressOnEnter(QAbstractButton& button, QKeyEvent* event);

// Watches focus changes application-wide (installed once, by the first skinned window): a
// control that takes the focus from the keyboard inside a window marked with
// MarkForFocusRing gets the ring and its tooltip.
void EnsureKeyboardFocusAid();
void MarkForFocusRing(QWidget& window);

// The frame around the control that has the keyboard's focus: a child of its window, above
// every control, letting every click through.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget& window);
    // Around `control`, a descendant of the ring's window.
    void Surround(const QWidget& control);
    const QWidget* Surrounded() const { return m_control; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QWidget* m_control = nullptr;
};

// The ring of `window`, null when it never showed one.
FocusRing* FocusRingOf(const QWidget& window);

}  // namespace korvel
