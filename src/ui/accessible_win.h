// What the owner-drawn controls tell assistive technology. Every skinned control is a BUTTON
// (or a dialog), whose standard accessible object says "client" or "push button" whatever it
// shows; a window that answers WM_GETOBJECT through AnswerGetObject gets an object of its own:
// its name is its window text (without the access-key marks), its role and extra states are
// what the window answers to WM_ACCESSIBLE_TRAITS, and place, parent and navigation are the
// standard object's.
#pragma once

#include <windows.h>

#include <string>

namespace mv {

// Sent by the accessible object to its window on the window's own thread; lParam points to an
// AccessibleTraits to fill. A window that does not answer (returns 0) reads as a client area.
inline constexpr UINT WM_ACCESSIBLE_TRAITS = WM_APP + 0x3A1;

struct AccessibleTraits {
    long role = 0;            // ROLE_SYSTEM_*; 0: ROLE_SYSTEM_CLIENT
    unsigned long state = 0;  // STATE_SYSTEM_* beyond what the window's styles and focus say
    bool focusable = false;
    std::wstring name;        // empty: the window text
    std::wstring value;       // a slider's position, an edit's text, a list's selected row
};

// The answer to WM_ACCESSIBLE_TRAITS (its lParam) of a focusable control with a role and name
// of its own and, where it shows one, a value; 1 when answered.
LRESULT AnswerFocusableTraits(LPARAM lParam, long role, const std::wstring& name, const std::wstring& value = {});

// The answer to WM_GETOBJECT for the client object (OBJID_CLIENT); 0 for any other object,
// which the default processing then answers. Loads oleacc from the system folder once.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

// Tells assistive technology that the window's name changed (a label whose text speaks).
void RaiseNameChange(HWND window);

}  // namespace mv
