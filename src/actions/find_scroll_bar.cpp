#include "actions/find_scroll_bar.h"

#include "actions/input_codes.h"

namespace mv {

Rect EnumScrollBarBounds;
WindowHandle EnumScrollBarFound = 0;

namespace {

constexpr std::u16string_view kScrollBar = u"ScrollBar";
constexpr std::u16string_view kNuiScrollBar = u"NUIScrollbar";
constexpr std::u16string_view kScrollBarWrapper = u"AVL_AVScrollBar";
constexpr std::u16string_view kIeServer = u"Internet Explorer_Server";
constexpr int kEnumSlack = 25;

bool IsScrollBarClass(const std::u16string& name) { return name == kScrollBar || name == kNuiScrollBar; }

// Windows tree depth is bounded by the system; this only guards against a
// tree that changes into a loop while it is walked.
constexpr int kMaxWalk = 4096;

}  // namespace

bool IsDesktopListView(DesktopSeam& desktop, WindowHandle window) {
    int depth = 0;
    for (WindowHandle w = desktop.parent(window); w != 0 && depth < kMaxWalk; w = desktop.parent(w), ++depth)
        if (desktop.className(w) == u"Progman") return true;
    return false;
}

bool IsScrollableWindow(DesktopSeam& desktop, WindowHandle window) {
    if (window == 0 || window == desktop.desktopWindow()) return false;
    if (desktop.className(window) == u"SysListView32" && IsDesktopListView(desktop, window)) return false;
    return true;
}

bool CFindScrollBar::IsScrollCandidate(WindowHandle window) {
    const std::u16string name = desktop_.className(window);
    if (name == kIeServer) return true;
    if (!IsScrollBarClass(name)) return (desktop_.windowStyle(window) & kWsHScroll) != 0;
    Rect r;
    if (!desktop_.windowRect(window, r)) return false;
    return r.width() > r.height() && cursorPos.x < r.right;
}

WindowHandle CFindScrollBar::WrappedScrollBar(WindowHandle sibling, std::u16string& lastClass) {
    lastClass = desktop_.className(sibling);
    if (lastClass != kScrollBarWrapper) return 0;
    const WindowHandle child = desktop_.firstChild(sibling);
    if (child == 0) return 0;
    lastClass = desktop_.className(child);
    if (lastClass == kScrollBar && (desktop_.windowStyle(child) & (kSbsVert | kSbsSizeBox)) == 0) return child;
    return 0;
}

WindowHandle CFindScrollBar::SearchSiblings(WindowHandle window) {
    if (window == 0) return 0;
    std::u16string name;
    int walked = 0;
    for (WindowHandle s = desktop_.nextSibling(window); s != 0 && walked < kMaxWalk;
         s = desktop_.nextSibling(s), ++walked) {
        if (const WindowHandle bar = WrappedScrollBar(s, name)) return bar;
        if (IsScrollBarClass(name) && IsScrollCandidate(s)) return s;
    }
    walked = 0;
    for (WindowHandle s = desktop_.previousSibling(window); s != 0 && walked < kMaxWalk;
         s = desktop_.previousSibling(s), ++walked) {
        if (const WindowHandle bar = WrappedScrollBar(s, name)) return bar;
        if (IsScrollBarClass(name) && IsScrollCandidate(s)) return s;
        if (name == u"AfxWnd70" || name == u"AfxWnd42")
            if (const WindowHandle found = SearchChildren(s)) return found;
    }
    return 0;
}

WindowHandle CFindScrollBar::SearchChildren(WindowHandle window) {
    const WindowHandle child = desktop_.firstChild(window);
    if (child == 0) return 0;
    if (IsScrollCandidate(child)) return child;
    return SearchSiblings(child);
}

WindowHandle CFindScrollBar::FindScrollTarget(WindowHandle window) {
    if (!IsScrollableWindow(desktop_, window)) return 0;
    WindowHandle hit = desktop_.childWindowFromPoint(window, cursorPos);
    if (hit == 0) hit = window;

    WindowHandle result = IsScrollCandidate(hit) ? hit : 0;
    const std::u16string name = desktop_.className(hit);
    if (name == u"MozillaWindowClass") result = desktop_.parent(hit);
    if (name == u"DirectUIHWND") {
        const WindowHandle first = desktop_.firstChild(hit);
        if (result == 0) result = SearchChildren(first);
        const WindowHandle second = first ? desktop_.childAfter(hit, first) : 0;
        if (result == 0) result = SearchChildren(second);
    }
    if (name != kScrollBar) {
        if (result != 0) return result;
        if (const WindowHandle found = SearchChildren(hit)) return found;
        if (const WindowHandle found = SearchSiblings(hit)) return found;
    }
    if (result == 0 && (name == u"paneClassDC" || name == u"VISIOG")) {
        EnumScrollBarFound = 0;
        if (!desktop_.windowRect(hit, EnumScrollBarBounds)) return 0;  // gone: no bounds to match
        const WindowHandle parent = desktop_.parent(hit);
        desktop_.enumChildWindows(parent, [&](WindowHandle w) { return EnumScrollBarProc(w, *this, desktop_); });
        return EnumScrollBarFound;
    }
    return result;
}

bool EnumScrollBarProc(WindowHandle window, CFindScrollBar& finder, DesktopSeam& desktop) {
    if (!IsScrollBarClass(desktop.className(window)) || !finder.IsScrollCandidate(window)) return true;
    Rect r;
    if (!desktop.windowRect(window, r)) return true;
    if (r.left >= EnumScrollBarBounds.left - kEnumSlack && r.right <= EnumScrollBarBounds.right + kEnumSlack) {
        EnumScrollBarFound = window;
        return false;
    }
    return true;
}

}  // namespace mv
