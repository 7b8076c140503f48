#!/usr/bin/env python3
"""What acc_probe.exe read from the program, against what the language file says each control
must be called. Prints "ok   ..." / "FAIL ..." lines (harness.sh's tally counts them).

  accessibility_check.py LANGUAGE_XML main DUMP     the settings window at its start
  accessibility_check.py LANGUAGE_XML menus DUMP    the function menu, its media level open
  accessibility_check.py LANGUAGE_XML tray DUMP     the tray menu's MSAAMENUINFO texts
  accessibility_check.py LANGUAGE_XML pointer DUMP  the pointer speed dialog (acc_probe's menus mode)
  accessibility_check.py LANGUAGE_XML restore DUMP  the restore defaults dialog
  accessibility_check.py LANGUAGE_XML chord DUMP    the key chord editor
  accessibility_check.py LANGUAGE_XML program DUMP  the program or file editor
  accessibility_check.py LANGUAGE_XML macro DUMP    the macro editor
"""
import re
import sys
import xml.etree.ElementTree as ET

GESTURES = ["tc_gesture_push", "tc_gesture_doubleclick", "tc_gesture_scrollup", "tc_gesture_scrolldown",
            "tc_gesture_scrollleft", "tc_gesture_scrollwright", "tc_gesture_warechange", "tc_gesture_wcharmmenu",
            "tc_gesture_win8ware", "tc_gesture_threedown", "tc_gesture_threeup", "tc_gesture_threeclick",
            "tc_gesture_threeleft", "tc_gesture_threeright", "tc_gesture_fourup", "tc_gesture_fourdown",
            "tc_function_largenarrow"]
PAGE_OF_SLOT = [1] * 6 + [2] * 5 + [3] * 6
CATEGORIES = ["tc_basic_fun", "tc_mouse_fun", "tc_win8_fun", "tc_media_fun", "tc_advance_fun", "tc_custom_fun"]
MEDIA = ["tc_PL", "tc_stop", "tc_pre_media", "tc_next_media", "tc_vol_up", "tc_vol_dw", "tc_mute"]

failures = 0


def check(name, ok):
    global failures
    print(("ok   " if ok else "FAIL ") + name)
    if not ok:
        failures += 1


def texts(path):
    root = ET.parse(path).getroot()
    return {e.tag: (e.text or "") for e in root.iter()}


def plain(text):
    """A text as a screen reader gets it: no access-key marks."""
    text = re.sub(r"\(&(.)\)$", "", text)
    return re.sub(r"&(.)", r"\1", text)


def lines_of(path):
    with open(path, encoding="utf-8") as f:
        # The focus moves with the user; it is checked elsewhere.
        return [re.sub(r"\+?focused", "", l.rstrip("\r\n")).replace(" +", " ") for l in f if l.strip()]


def expect_lines(dump, wanted, what):
    for line in wanted:
        check(f"{what}: {line}", line in dump)


def main_window(t, dump):
    controls = [l for l in dump if not l.startswith("window ")]
    unnamed = [l for l in controls if l.endswith("|")]
    check(f"every control has a name ({len(controls)} controls, unnamed: {unnamed})", controls and not unnamed)
    unknown = [l for l in controls if l.split(" ")[0] in ("client", "other", "error")]
    check(f"every control has a role of its own ({unknown})", not unknown)
    wanted = [
        f"pushbutton focusable|{t['tc_acc_close']}",
        f"pushbutton focusable|{t['tc_acc_minimize']}",
        f"pushbutton focusable|{plain(t['btn_reset'])}",
        f"pushbutton focusable|{plain(t['btn_apply'])}",
        f"statictext -|{t['tc_version']}",
        "pushbutton unavailable+haspopup|" + t["tc_acc_function"].replace("%1", t["tc_function_push"]),
        f"pushbutton focusable|{t['tc_pointer_move']}",
        f"pagetab selected+selectable+focusable|{t['tc_mocli']}",
        f"pagetab selectable+focusable|{t['tc_win8']}",
        f"pagetab selectable+focusable|{t['tc_winctl']}",
        f"animation -|{t['tc_acc_animation']}",
        "pushbutton focusable+haspopup|" + t["tc_acc_profile"].replace("%1", t["tc_profile_all"]),
    ]
    for slot, key in enumerate(GESTURES):
        state = ("selected+" if slot == 0 else "") + "selectable+focusable" + \
            ("" if PAGE_OF_SLOT[slot] == 1 else "+invisible")
        wanted.append(f"listitem {state}|{t[key]}")
    expect_lines(controls, wanted, "settings window")


def menus(t, dump):
    wanted = ["popup menupopup -|" + t["tc_acc_functions"]]
    for key in CATEGORIES:
        hot = "+hottracked" if key == "tc_media_fun" else ""
        wanted.append(f"  menuitem haspopup{hot}|{t[key]}")
    wanted.append("popup menupopup -|" + t["tc_media_fun"])
    wanted += [f"  menuitem -|{t[key]}" for key in MEDIA]
    expect_lines(dump, wanted, "function menu")
    popups = [l for l in dump if l.startswith("popup ")]
    check(f"two menu levels open ({len(popups)})", len(popups) == 2)


def key_of(text):
    """The access key a marked text gives, as oleacc says it: "Alt+X"."""
    m = re.search(r"&([^&])", text.replace("&&", ""))
    return "Alt+" + m.group(1).upper() if m else None


def button(t, plain, marked, role="pushbutton", state="focusable"):
    return f"{role} {state}|{t[plain]}|key={key_of(t[marked])}"


def dialog(t, dump, wanted, what):
    popups = [l for l in dump if l.startswith("popup ")]
    check(f"{what}: one dialog open ({len(popups)})", len(popups) == 1)
    controls = [l.strip() for l in dump if l.startswith("  ")]
    # An empty message line says nothing until it has something to say.
    unnamed = [l for l in controls if l.split("|")[1:2] == [""] and not l.startswith("statictext")]
    check(f"{what}: every control has a name ({len(controls)} controls, unnamed: {unnamed})", controls and not unnamed)
    unknown = [l for l in controls if l.split(" ")[0] in ("client", "other", "error")]
    check(f"{what}: every control has a role of its own ({unknown})", not unknown)
    keys = [k for l in controls for k in re.findall(r"\|key=(Alt\+.)", l)]
    check(f"{what}: no two controls share an access key ({keys})", len(keys) == len(set(keys)))
    expect_lines(controls, wanted, what)


OK_CANCEL = [("btn_ok", "tc_access_ok"), ("btn_cancel", "tc_access_cancel")]


def pointer(t, dump):
    wanted = [button(t, *c) for c in OK_CANCEL] + [f"pushbutton focusable|{t['tc_acc_close']}"]
    dialog(t, dump, wanted, "pointer dialog")
    toggle = [l for l in dump if l.strip().startswith("checkbutton ")]
    check(f"pointer dialog: the toggle a check box with its key ({toggle})",
          len(toggle) == 1 and toggle[0].strip().endswith(
              f"|{t['tc_pointer_distinguish']}|key={key_of(t['tc_access_precise'])}"))
    slider = [l for l in dump if l.strip().startswith("slider ")]
    check(f"pointer dialog: the slider named with its notch as value ({slider})",
          len(slider) == 1 and re.fullmatch(rf"slider focusable\|{re.escape(t['tc_pointer_move'])}\|value=([1-9]|10)",
                                            slider[0].strip()) is not None)


def restore(t, dump):
    wanted = [button(t, *c) for c in OK_CANCEL] + [f"pushbutton focusable|{t['tc_acc_close']}",
                                                  f"statictext -|{t['tc_return_default']}"]
    dialog(t, dump, wanted, "restore dialog")


def chord(t, dump):
    wanted = [button(t, *c) for c in OK_CANCEL + [("tc_combo_clear", "tc_access_clear"), ("tc_click", "tc_access_left"),
                                                 ("tc_function_doubleclick", "tc_access_right"),
                                                 ("tc_middle", "tc_access_middle")]]
    wanted += [f"pushbutton focusable|{t['tc_acc_close']}", f"statictext unavailable|{t['tc_combo_tittle']}",
               f"hotkeyfield focusable|{t['tc_combo_tittle']}", f"statictext -|{t['tc_combo_tips']}",
               f"statictext -|{t['tc_combo_mouse']}"]
    dialog(t, dump, wanted, "key chord editor")


def buttons_with_keys(t, dump, pairs, what):
    """Each button of `pairs` present with its access key, in whatever state it is."""
    controls = [l.strip() for l in dump if l.startswith("  ")]
    for plain, marked in pairs:
        pattern = rf"(pushbutton|checkbutton) [^|]*\|{re.escape(t[plain])}\|key={re.escape(key_of(t[marked]))}"
        check(f"{what}: {t[plain]} with {key_of(t[marked])}", any(re.fullmatch(pattern, l) for l in controls))


def program(t, dump):
    wanted = [f"pushbutton focusable|{t['tc_acc_close']}", f"statictext unavailable|{t['tc_custom_program']}",
              f"statictext -|{t['tc_launch_tips']}"]
    dialog(t, dump, wanted, "program editor")
    check("program editor: the edit named as the editor", any(l.strip().startswith(f"text focusable|{t['tc_custom_program']}")
                                                             for l in dump))
    buttons_with_keys(t, dump, OK_CANCEL + [("tc_launch_browse", "tc_access_browse")], "program editor")


def macro(t, dump):
    wanted = [f"pushbutton focusable|{t['tc_acc_close']}", f"statictext unavailable|{t['tc_macro_editor']}",
              f"statictext -|{t['tc_macro_list']}"]
    dialog(t, dump, wanted, "macro editor")
    for role, key in (("list", "tc_macro_list"), ("list", "tc_macro_steps"), ("text", "tc_macro_name"),
                      ("text", "tc_macro_delay"), ("pane", "tc_macro_panel")):
        name = t[key].rstrip(":：")
        check(f"macro editor: a {role} named {name}",
              any(re.fullmatch(rf"{role} [^|]*\|{re.escape(name)}(\|value=.*)?", l.strip()) for l in dump))
    buttons_with_keys(t, dump, OK_CANCEL + [(c, "tc_access_" + m) for c, m in (
        ("tc_macro_new", "new"), ("tc_macro_del", "delete"), ("tc_macro_rename", "rename"),
        ("tc_macro_step_del", "step_delete"), ("tc_macro_set", "set"), ("tc_macro_loop", "repeat"),
        ("tc_macro_start", "start"), ("tc_macro_end", "end"))], "macro editor")


def tray(t, dump):
    wanted = [f"item 0x6001|{t['tc_access_exit']}", f"item 0x6000|{t['tc_access_config']}"]
    expect_lines(dump, wanted, "tray menu")
    items = [l for l in dump if l.startswith("item ")]
    bad = [l for l in items if "<" in l]
    check(f"every owner-drawn item carries its text ({len(items)} items, without: {bad})", len(items) == 4 and not bad)


if __name__ == "__main__":
    language, mode, path = sys.argv[1:4]
    t = texts(language)
    {"main": main_window, "menus": menus, "tray": tray, "pointer": pointer, "restore": restore,
     "chord": chord, "program": program, "macro": macro}[mode](t, lines_of(path))
    sys.exit(1 if failures else 0)
