// Horizontal scrolling of the window under the pointer, by one of four
// treatments chosen from its window class, with horizontal wheel notches as the last
// resort when none of them finds a target.
#include <array>
#include <cstdlib>
#include <string_view>

#include "actions/cfunction.h"
#include "actions/find_scroll_bar.h"
#include "actions/input_codes.h"

namespace mv {

namespace {

enum Treatment { kScrollBarMessages, kArrowClicks, kBrowserKeys, kWindowMessages };

struct ClassTreatment {
    std::u16string_view className;
    Treatment treatment;
};

constexpr std::array<ClassTreatment, 14> kClassTable = {{
    {u"_WwG", kScrollBarMessages},
    {u"paneClassDC", kScrollBarMessages},
    {u"VISIOG", kScrollBarMessages},
    {u"PSViewC", kScrollBarMessages},
    {u"EditControl", kScrollBarMessages},
    {u"FrontPageEditorDocumentView", kScrollBarMessages},
    {u"EXCEL7", kArrowClicks},
    {u"AVL_AVView", kScrollBarMessages},
    {u"OGrid", kScrollBarMessages},
    {u"OFormSub", kScrollBarMessages},
    {u"OPrtPrevPage", kScrollBarMessages},
    {u"MozillaWindowClass", kBrowserKeys},
    {u"Chrome_RenderWidgetHostHWND", kBrowserKeys},
    {u"OperaWindowClass", kBrowserKeys},
}};

Treatment TreatmentFor(const std::u16string& className) {
    for (const auto& row : kClassTable)
        if (className == row.className) return row.treatment;
    return kWindowMessages;
}

constexpr std::u16string_view kIeServer = u"Internet Explorer_Server";

// Fixed LPARAMs of the browser arrow keys: scan 0x4B / 0x4D, extended.
constexpr std::intptr_t kLeftDown = 0x014B0001;
constexpr std::intptr_t kLeftUp = static_cast<std::int32_t>(0xC14B0001u);
constexpr std::intptr_t kRightDown = 0x014D0001;
constexpr std::intptr_t kRightUp = static_cast<std::int32_t>(0xC14D0001u);

constexpr std::int32_t kArrowInset = 5;
constexpr std::int32_t kDocumentStep = 10;
constexpr std::uint32_t kHtmlObjectTimeoutMs = 1000;

}  // namespace

void CFunction::ScrollHorizontal(int count) {
    if (count == 0) return;
    Point cursor;
    ctx_.input.cursorPos(cursor);
    const WindowHandle pointerWindow = ctx_.desktop.windowFromPoint(cursor);
    const std::u16string name = ctx_.desktop.className(pointerWindow);
    ctx_.system.debugOutput(u"ClassName:" + name);

    if (name == u"SysListView32" && IsDesktopListView(ctx_.desktop, pointerWindow)) return;
    if (pointerWindow == ctx_.desktop.desktopWindow()) return;

    const Treatment treatment = TreatmentFor(name);
    WindowHandle target = pointerWindow;
    if (treatment != kBrowserKeys) {
        CFindScrollBar finder(ctx_.desktop, cursor);
        target = finder.FindScrollTarget(pointerWindow);
        if (target == 0) {
            ctx_.system.debugOutput(u"No scroll bar found\n");
            horizontalWheel(count);
            return;
        }
    }

    const bool left = count > 0;
    const auto steps = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(count)));
    if (treatment == kArrowClicks) {
        clickArrows(target, left, steps, cursor);
        return;
    }
    const bool ieServer = name == kIeServer;
    for (std::uint32_t i = 0; i < steps; ++i) scrollStep(treatment, pointerWindow, target, left, ieServer);
}

void CFunction::scrollStep(int treatment, WindowHandle pointerWindow, WindowHandle target, bool left,
                           bool ieServer) {
    const std::uintptr_t line = left ? kSbLineLeft : kSbLineRight;
    switch (treatment) {
        case kScrollBarMessages: {
            // A target without a parent would turn the post into a message to our own thread.
            const WindowHandle owner = ctx_.desktop.parent(target);
            if (owner != 0) ctx_.input.postMessage(owner, kWmHScroll, line, static_cast<std::intptr_t>(target));
            break;
        }
        case kBrowserKeys:
            ctx_.input.postMessage(target, kWmKeyDown, left ? kVkLeft : kVkRight, left ? kLeftDown : kRightDown);
            ctx_.input.postMessage(target, kWmKeyUp, left ? kVkLeft : kVkRight, left ? kLeftUp : kRightUp);
            break;
        default:
            if (ieServer)
                ScrollBrowserDocument(left);
            else if (left)
                ctx_.input.postMessage(pointerWindow, kWmHScroll, kSbLineLeft, 0);
            else
                ctx_.input.sendMessage(pointerWindow, kWmHScroll, kSbLineRight, 0);
            break;
    }
}

// The last resort when nothing above found a target: horizontal wheel notches, which every
// window since Windows Vista understands (or passes on to its parent). Positive is rightwards.
void CFunction::horizontalWheel(int count) {
    const bool left = count > 0;
    const auto steps = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(count)));
    for (std::uint32_t i = 0; i < steps; ++i) mouse(kMouseHWheel, left ? -kWheelDelta : kWheelDelta);
}

void CFunction::clickArrows(WindowHandle target, bool left, std::uint32_t steps, Point home) {
    Rect r;
    if (!ctx_.desktop.windowRect(target, r)) return;  // gone: there is no arrow to click
    const Point at{left ? r.left + kArrowInset : r.right - kArrowInset, r.top + kArrowInset};
    ctx_.input.setCursorPos(at);
    const bool swapped = ctx_.desktop.mouseButtonsSwapped();
    const std::uint32_t down = kMouseAbsolute | (swapped ? kMouseRightDown : kMouseLeftDown);
    const std::uint32_t up = kMouseAbsolute | (swapped ? kMouseRightUp : kMouseLeftUp);
    for (std::uint32_t i = 0; i < steps; ++i) {
        ctx_.input.mouseEvent(down, at.x, at.y, 0, 0);
        ctx_.input.mouseEvent(up, at.x, at.y, 0, 0);
    }
    ctx_.input.setCursorPos(home);
}

void CFunction::ScrollBrowserDocument(bool left) {
    Point cursor;
    ctx_.input.cursorPos(cursor);
    const WindowHandle window = ctx_.desktop.windowFromPoint(cursor);
    const std::u16string name = ctx_.desktop.className(window);

    const bool com = ctx_.system.comInitialize();
    const ModuleHandle oleacc = ctx_.system.loadLibrary(u"OLEACC.DLL");
    if (oleacc == 0) {
        if (com) ctx_.system.comUninitialize();
        return;
    }
    // The document comes from the window's process as an object to call: only a process at
    // our integrity level or above may hand us one.
    if (name == kIeServer && ctx_.desktop.windowAtOurIntegrity(window)) {
        const std::uint32_t message = ctx_.system.registerWindowMessage(u"WM_HTML_GETOBJECT");
        std::uintptr_t lresult = 0;
        if (message != 0) ctx_.system.sendMessageTimeout(window, message, 0, 0, kSmtoAbortIfHung, kHtmlObjectTimeoutMs, lresult);
        const DocumentScroll scrolled =
            ctx_.system.scrollHtmlDocument(oleacc, lresult, left ? -kDocumentStep : kDocumentStep, 0);
        if (scrolled == DocumentScroll::Refused)
            ctx_.input.sendMessage(window, kWmHScroll, left ? kSbLineLeft : kSbLineRight, 0);
    }
    ctx_.system.freeLibrary(oleacc);
    if (com) ctx_.system.comUninitialize();
}

}  // namespace mv
