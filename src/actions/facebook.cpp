#include "actions/facebook.h"

namespace mv {

void CFaceBookFunction::Call(const char* exportName) {
    const WindowHandle foreground = desktop_.foregroundWindow();
    if (module != 0) entry = system_.procAddress(module, exportName);
    if (entry != 0) system_.callWindowEntry(entry, foreground);
}

}  // namespace mv
