#include "gesture/launch_target.h"

#include <algorithm>

#include "base/case_fold.h"

namespace mv {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

std::u16string Trim(const std::u16string& text) {
    std::size_t a = 0;
    std::size_t b = text.size();
    while (a < b && IsBlank(text[a])) ++a;
    while (b > a && IsBlank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

bool HasControl(const std::u16string& text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The length of a leading URL scheme with its colon ("https:" gives 6), 0 when there is none.
std::size_t SchemeLength(const std::u16string& text) {
    if (text.empty() || !IsAsciiLetter(text[0])) return 0;
    std::size_t i = 1;
    while (i < text.size() && (IsAsciiLetter(text[i]) || (text[i] >= u'0' && text[i] <= u'9') || text[i] == u'+' ||
                               text[i] == u'-' || text[i] == u'.'))
        ++i;
    // One letter before the colon is a drive.
    if (i < 2 || i >= text.size() || text[i] != u':') return 0;
    return i + 1;
}

LaunchTargetCheck Finish(std::u16string target) {
    LaunchTargetCheck check;
    check.units = target.size();
    if (target.empty()) check.error = LaunchTargetError::Empty;
    else if (HasControl(target)) check.error = LaunchTargetError::BadCharacter;
    else if (target.size() > kMaxLaunchUnits) check.error = LaunchTargetError::TooLong;
    check.target = std::move(target);
    return check;
}

}  // namespace

LaunchTargetCheck CheckProgramPath(const std::u16string& typed) {
    std::u16string path = Trim(typed);
    if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') path = Trim(path.substr(1, path.size() - 2));
    if (IsWebAddress(path)) return CheckWebAddress(path);
    return Finish(std::move(path));
}

LaunchTargetCheck CheckWebAddress(const std::u16string& typed) {
    std::u16string address = Trim(typed);
    if (!address.empty() && SchemeLength(address) == 0) address = u"http://" + address;
    LaunchTargetCheck check = Finish(std::move(address));
    if (check.error != LaunchTargetError::None) return check;
    const std::size_t scheme = SchemeLength(check.target);
    std::size_t host = scheme;
    if (check.target.compare(host, 2, u"//") == 0) host += 2;
    const std::size_t hostEnd = check.target.find_first_of(u"/?#", host);
    const std::u16string hostPart = check.target.substr(host, hostEnd == std::u16string::npos ? hostEnd : hostEnd - host);
    const std::u16string_view schemePart = std::u16string_view(check.target).substr(0, scheme);
    const bool mailto = EqualIgnoringAsciiCase(schemePart, u"mailto:");
    if (!mailto && !EqualIgnoringAsciiCase(schemePart, u"http:") && !EqualIgnoringAsciiCase(schemePart, u"https:")) {
        check.error = LaunchTargetError::NotAllowed;
        return check;
    }
    if (hostPart.empty() || hostPart.find(u' ') != std::u16string::npos || (mailto && hostPart.find(u'@') == std::u16string::npos))
        check.error = LaunchTargetError::NotAnAddress;
    return check;
}

bool IsWebAddress(const std::u16string& target) { return SchemeLength(target) != 0; }

std::u16string LaunchFileName(const std::u16string& path) {
    const std::size_t cut = path.find_last_of(u"\\/");
    if (cut == std::u16string::npos || cut + 1 == path.size()) return path;
    return path.substr(cut + 1);
}

bool StoreLaunchTarget(FunctionRecord& record, const std::u16string& target) {
    if (target.size() > kMaxLaunchUnits) return false;
    record.setProgramPath(target);
    return true;
}

}  // namespace mv
