#!/usr/bin/env python3
"""The settings window and the custom-function editors as run-custom.sh drives them with real
pointer input (xdotool) on the Xvfb display: where the windows are, where their controls
are, and the way through the function menu.

    settings_ui.py where WINDOW            "X Y" of the window on screen; exit 1 when none
    settings_ui.py wait WINDOW             the same, waiting up to 30 s for it
    settings_ui.py gone WINDOW             waits up to 20 s for the window to go; exit 1 if it stays
    settings_ui.py focus WINDOW [SECONDS]  waits for it, rests the pointer on its header and
                                           waits (default 0.5 s)
    settings_ui.py click CONTROL [SECONDS] clicks a control, then waits (default 0.8 s)
    settings_ui.py custom-entry N          opens the function menu's custom category and picks
                                           its entry N (0 key chord, 1 program, 2 web page, 3 macro)

WINDOW is one of the names of WINDOWS, CONTROL one of CONTROLS. Windows are found by their
size, as the program makes them.
"""
import os
import re
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
STATE_EXE = os.path.join(ROOT, 'build', 'windows', 'window_state.exe')
TITLE = 'Morvi Corvel Config'

WINDOWS = {
    'settings': '709x477',
    'chord': '360x220',
    'program': '400x200',   # the program editor and the web-page editor
    'macro': '560x400',
}

# Points in a window's own coordinates: (window, x, y).
CONTROLS = {
    'tab1': ('settings', 100, 85),
    'tab3': ('settings', 363, 85),
    'slot1': ('settings', 226, 185),     # page 1: the two-finger click
    'slot4': ('settings', 226, 295),     # page 1: scroll left
    'slot5': ('settings', 344, 295),     # page 1: scroll right
    'slot11': ('settings', 108, 185),    # page 3: the three-finger click
    'function': ('settings', 160, 378),
    'apply': ('settings', 612, 445),
    'chord.clear': ('chord', 308, 81),
    'macro.new': ('macro', 60, 319),
    'macro.start': ('macro', 258, 331),
    'macro.end': ('macro', 348, 331),
    'macro.ok': ('macro', 447, 372),
}

# The function menu's first level, in the settings window's coordinates, and its rows.
MENU_X, MENU_Y, ITEM = 41, 395, 18
CUSTOM_CATEGORY = 5


def xdotool(*args):
    subprocess.run(['xdotool'] + [str(a) for a in args], check=False)


def where(window):
    """(x, y) of the first mapped window of that size, one with a name preferred; None if none."""
    size = WINDOWS[window] + '+'
    tree = subprocess.run(['xwininfo', '-root', '-tree'], capture_output=True, text=True).stdout.splitlines()
    ids = [line.split()[0] for line in tree if size in line and 'has no name' not in line]
    ids = ids or [line.split()[0] for line in tree if size in line]
    if not ids:
        return None
    info = subprocess.run(['xwininfo', '-id', ids[0]], capture_output=True, text=True).stdout
    x = re.search(r'Absolute upper-left X:\s*(-?\d+)', info)
    y = re.search(r'Absolute upper-left Y:\s*(-?\d+)', info)
    return (int(x.group(1)), int(y.group(1))) if x and y else None


def wait(window, tries=60):
    for _ in range(tries):
        at = where(window)
        if at:
            return at
        time.sleep(0.5)
    return None


def gone(window):
    for _ in range(40):
        if not where(window):
            return True
        time.sleep(0.5)
    return False


def focus(window, seconds=0.5):
    # Xvfb has no window manager: the X keyboard focus follows the pointer, so the pointer
    # rests on an editor's header while keys are typed into it.
    at = wait(window)
    if not at:
        return False
    xdotool('mousemove', at[0] + 120, at[1] + 12)
    time.sleep(seconds)
    return True


def click_at(x, y, seconds=0.8):
    xdotool('mousemove', x, y, 'click', 1)
    time.sleep(seconds)


def click(control, seconds=0.8):
    window, x, y = CONTROLS[control]
    at = where(window)
    if not at:
        return False
    click_at(at[0] + x, at[1] + y, seconds)
    return True


def second_level():
    """The open menu's second level, "x y w h" (window_state lists the top of the z-order first)."""
    out = subprocess.run(['wine', STATE_EXE, TITLE], capture_output=True, text=True, errors='replace').stdout
    for line in out.splitlines():
        if line.startswith('popup='):
            return [int(v) for v in line[len('popup='):].split()]
    return []


def custom_entry(n):
    if not click('function', 1.5):
        return False
    sx, sy = where('settings')
    xdotool('mousemove', sx + MENU_X + 60, sy + MENU_Y + CUSTOM_CATEGORY * ITEM + 8)
    time.sleep(0.4)
    xdotool('mousemove', sx + MENU_X + 70, sy + MENU_Y + CUSTOM_CATEGORY * ITEM + 9)
    time.sleep(1.5)
    level = second_level()
    if len(level) != 4:
        return False
    click_at(level[0] + 80, level[1] + n * ITEM + 8, 2)
    return True


def main(args):
    if len(args) == 2 and args[0] in ('where', 'wait') and args[1] in WINDOWS:
        at = where(args[1]) if args[0] == 'where' else wait(args[1])
        if at:
            print(at[0], at[1])
        return at is not None
    if len(args) == 2 and args[0] == 'gone' and args[1] in WINDOWS:
        return gone(args[1])
    if len(args) in (2, 3) and args[0] == 'focus' and args[1] in WINDOWS:
        return focus(args[1], float(args[2]) if len(args) == 3 else 0.5)
    if len(args) in (2, 3) and args[0] == 'click' and args[1] in CONTROLS:
        return click(args[1], float(args[2]) if len(args) == 3 else 0.8)
    if len(args) == 2 and args[0] == 'custom-entry' and args[1] in ('0', '1', '2', '3'):
        return custom_entry(int(args[1]))
    sys.exit(__doc__)


if __name__ == '__main__':
    sys.exit(0 if main(sys.argv[1:]) else 1)
