#include "support/fake_platform.h"

#include <cstdio>

namespace mv::test {

std::string Hex(std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void FakePlatform::setGeneration(int generation) {
    static const VersionInfo kVersions[] = {{2, 6, 3}, {1, 4, 10}, {1, 4, 90}, {2, 5, 0},
                                            {2, 5, 1}, {2, 6, 0},  {2, 6, 1},  {2, 6, 2}};
    version = kVersions[generation];
}

void FakePlatform::keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extra) {
    std::string line = "key " + Hex(vk) + " " + std::to_string(flags);
    if (scan != 0 || extra != 0) line += " scan=" + Hex(scan) + " extra=" + Hex(extra);
    log.push_back(line);
}

void FakePlatform::mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                              std::uintptr_t extra) {
    std::string line = "mouse " + Hex(flags) + " data=" + std::to_string(data) + " extra=" + Hex(extra);
    if (dx != 0 || dy != 0) line += " dx=" + std::to_string(dx) + " dy=" + std::to_string(dy);
    log.push_back(line);
}

std::uint32_t FakePlatform::mapVirtualKey(std::uint32_t code, std::uint32_t mapType) {
    // A deterministic stand-in for the keyboard layout; the high byte checks masking.
    return mapType == 0 ? 0x100 + (code & 0x7F) : 0;
}

bool FakePlatform::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
    log.push_back("post " + Hex(window) + " " + Hex(message) + " " + Hex(wParam) + " " +
                  Hex(static_cast<std::uint32_t>(lParam)));
    return true;
}

std::intptr_t FakePlatform::sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
    log.push_back("send " + Hex(window) + " " + Hex(message) + " " + Hex(wParam) + " " +
                  Hex(static_cast<std::uint32_t>(lParam)));
    return 0;
}

void FakePlatform::sleep(std::uint32_t ms) {
    log.push_back("sleep " + std::to_string(ms));
    now += ms;
}

bool FakePlatform::setCursorPos(Point where) {
    log.push_back("setcursor " + std::to_string(where.x) + " " + std::to_string(where.y));
    cursor = where;
    return true;
}

WindowHandle FakePlatform::windowFromPoint(Point where) {
    const auto it = windowAt.find({where.x, where.y});
    return it != windowAt.end() ? it->second : defaultWindowAtPoint;
}

std::u16string FakePlatform::className(WindowHandle window) {
    const auto it = classNames.find(window);
    return it != classNames.end() ? it->second : std::u16string();
}

std::uint32_t FakePlatform::windowStyle(WindowHandle window) {
    const auto it = styles.find(window);
    return it != styles.end() ? it->second : 0;
}

void FakePlatform::shellOpen(const std::u16string& target) { log.push_back("shell " + Utf8(target)); }

ModuleHandle FakePlatform::loadLibrary(const std::u16string& name) {
    log.push_back("loadlib " + Utf8(name));
    const auto it = libraries.find(Utf8(name));
    return it != libraries.end() ? it->second : kernel32;
}

void FakePlatform::freeLibrary(ModuleHandle module) { log.push_back("freelib " + Hex(module)); }

bool FakePlatform::disableFsRedirection(ModuleHandle module, std::uintptr_t& oldValue) {
    if (!hasDisableRedirection) return false;
    log.push_back("disable-redir " + Hex(module));
    oldValue = 0x5A5A;
    return true;
}

bool FakePlatform::revertFsRedirection(ModuleHandle module, std::uintptr_t oldValue) {
    if (!hasRevertRedirection) return false;
    log.push_back("revert-redir " + Hex(module) + " " + Hex(oldValue));
    return true;
}

std::uintptr_t FakePlatform::procAddress(ModuleHandle module, const char* name) {
    log.push_back("proc " + Hex(module) + " " + name);
    const auto it = exports.find(name);
    return it != exports.end() ? it->second : 0;
}

void FakePlatform::callWindowEntry(std::uintptr_t entry, WindowHandle window) {
    log.push_back("call " + Hex(entry) + " " + Hex(window));
}

void FakePlatform::addWindow(WindowHandle window, WindowHandle parent, const std::u16string& className, Rect rect,
                             std::uint32_t style) {
    parents[window] = parent;
    children[parent].push_back(window);
    classNames[window] = className;
    rects[window] = rect;
    if (style != 0) styles[window] = style;
}

WindowHandle FakePlatform::parent(WindowHandle window) {
    const auto it = parents.find(window);
    return it != parents.end() ? it->second : 0;
}

WindowHandle FakePlatform::firstChild(WindowHandle window) {
    if (window == 0) return 0;
    const auto it = children.find(window);
    return it != children.end() && !it->second.empty() ? it->second.front() : 0;
}

namespace {
// The sibling `offset` places away from `window` in its parent's z-order.
WindowHandle Sibling(FakePlatform& p, WindowHandle window, int offset) {
    const auto up = p.parents.find(window);
    if (window == 0 || up == p.parents.end()) return 0;
    const auto& list = p.children[up->second];
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] != window) continue;
        const auto j = static_cast<std::ptrdiff_t>(i) + offset;
        return j >= 0 && j < static_cast<std::ptrdiff_t>(list.size()) ? list[j] : 0;
    }
    return 0;
}

bool Contains(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool VisitDescendants(FakePlatform& p, WindowHandle window, const std::function<bool(WindowHandle)>& visit) {
    const auto it = p.children.find(window);
    if (it == p.children.end()) return true;
    for (const WindowHandle child : it->second) {
        if (!visit(child)) return false;
        if (!VisitDescendants(p, child, visit)) return false;
    }
    return true;
}
}  // namespace

WindowHandle FakePlatform::nextSibling(WindowHandle window) { return Sibling(*this, window, +1); }
WindowHandle FakePlatform::previousSibling(WindowHandle window) { return Sibling(*this, window, -1); }

WindowHandle FakePlatform::childAfter(WindowHandle parent, WindowHandle after) {
    if (after == 0) return firstChild(parent);
    return this->parent(after) == parent ? nextSibling(after) : 0;
}

bool FakePlatform::windowRect(WindowHandle window, Rect& rect) {
    const auto it = rects.find(window);
    if (it == rects.end()) return false;
    rect = it->second;
    return true;
}

WindowHandle FakePlatform::childWindowFromPoint(WindowHandle window, Point screenPoint) {
    Rect r;
    if (!windowRect(window, r) || !Contains(r, screenPoint)) return 0;
    for (const WindowHandle child : children[window])
        if (windowRect(child, r) && Contains(r, screenPoint)) return child;
    return window;
}

bool FakePlatform::enumChildWindows(WindowHandle window, const std::function<bool(WindowHandle)>& visit) {
    if (window == 0) {  // EnumWindows: the top-level windows only
        for (const WindowHandle top : children[0])
            if (!visit(top)) break;
        return true;
    }
    VisitDescendants(*this, window, visit);
    return true;
}

std::u16string FakePlatform::windowText(WindowHandle window) {
    const auto it = titles.find(window);
    return it != titles.end() ? it->second : std::u16string();
}

WindowHandle FakePlatform::findWindow(const std::u16string& className) {
    for (const WindowHandle top : children[0])
        if (this->className(top) == className) return top;
    return 0;
}

void FakePlatform::debugOutput(const std::u16string& text) {
    std::string line = "debug ";
    for (const char c : Utf8(text)) line += c == '\n' ? std::string("\\n") : std::string(1, c);
    log.push_back(line);
}

bool FakePlatform::comInitialize() {
    log.push_back("coinit");
    return comInitializes;
}

std::uint32_t FakePlatform::registerWindowMessage(const std::u16string& name) {
    log.push_back("register " + Utf8(name));
    return registeredMessage;
}

bool FakePlatform::sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam, std::uint32_t flags, std::uint32_t timeoutMs,
                                      std::uintptr_t& result) {
    log.push_back("sendtimeout " + Hex(window) + " " + Hex(message) + " " + Hex(wParam) + " " +
                  Hex(static_cast<std::uint32_t>(lParam)) + " flags=" + Hex(flags) +
                  " timeout=" + std::to_string(timeoutMs));
    if (!sendTimeoutSucceeds) return false;
    result = htmlObjectResult;
    return true;
}

DocumentScroll FakePlatform::scrollHtmlDocument(ModuleHandle oleacc, std::uintptr_t lresult, std::int32_t dx,
                                                std::int32_t dy) {
    log.push_back("scrollby " + Hex(oleacc) + " " + Hex(lresult) + " " + std::to_string(dx) + " " +
                  std::to_string(dy));
    return documentScroll;
}

}  // namespace mv::test
