// The search for the horizontal scroll target that belongs to a window: the
// window itself when it scrolls, or a scroll-bar control among its children
// and siblings.
#pragma once

#include <string>

#include "seams/desktop.h"

namespace mv {

class CFindScrollBar {
public:
    CFindScrollBar(DesktopSeam& desktop, Point cursor) : cursorPos(cursor), desktop_(desktop) {}

    WindowHandle FindScrollTarget(WindowHandle window);
    WindowHandle SearchSiblings(WindowHandle window);
    WindowHandle SearchChildren(WindowHandle window);
    bool IsScrollCandidate(WindowHandle window);

    // The pointer position in screen coordinates, set for one scroll.
    Point cursorPos;

private:
    // The wrapper test of both sibling passes: a horizontal "ScrollBar" first
    // child of an "AVL_AVScrollBar". `lastClass` becomes the class read last.
    WindowHandle WrappedScrollBar(WindowHandle sibling, std::u16string& lastClass);

    DesktopSeam& desktop_;
};

// The child enumeration of FindScrollTarget: the bounds it matches against and
// the scroll bar it found.
extern Rect EnumScrollBarBounds;
extern WindowHandle EnumScrollBarFound;

// The EnumChildWindows callback; false stops the enumeration.
bool EnumScrollBarProc(WindowHandle window, CFindScrollBar& finder, DesktopSeam& desktop);

// False for a null window, the desktop window and the desktop's list view.
bool IsScrollableWindow(DesktopSeam& desktop, WindowHandle window);
// Whether a "Progman" window is among the parents of `window`.
bool IsDesktopListView(DesktopSeam& desktop, WindowHandle window);

}  // namespace mv
