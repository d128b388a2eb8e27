#!/usr/bin/python3
"""Walks the AT-SPI tree a screen reader sees of one window of the running
program and prints every control that has no name: buttons, boxes, fields,
lists, sliders, spin fields and menu items (those of closed menus too).
Scroll bars and the entries inside a drop-down list are not controls of
their own. Retries for a few seconds, as the tree follows the window.
Usage: accessible_names.py APPLICATION WINDOW_TITLE
Exit 0 when every control is named, 1 otherwise, 2 when the window is not
found."""
import sys
import time

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_LIST, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PAGE_TAB,
}
MENUS = {pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU}
BOUND_SECONDS = 10


def find_window(application, title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != application:
            continue
        for window in app:
            if window is not None and window.name == title:
                return window
    return None


def walk(node, found, counted):
    role = node.getRole()
    showing = node.getState().contains(pyatspi.STATE_SHOWING)
    if not showing and role not in MENUS:
        return
    if role in CONTROLS:
        counted.append(node)
        if not node.name.strip():
            found.append("%s in %s" % (node.getRoleName(), node.parent.getRoleName()))
    if role == pyatspi.ROLE_COMBO_BOX:
        return
    for child in node:
        if child is not None:
            walk(child, found, counted)


def main():
    application, title = sys.argv[1], sys.argv[2]
    deadline = time.monotonic() + BOUND_SECONDS
    while True:
        window = find_window(application, title)
        found, counted = [], []
        if window is not None:
            walk(window, found, counted)
        if window is not None and counted and not found:
            print("%d controls of '%s', every one named" % (len(counted), title))
            return 0
        if time.monotonic() > deadline:
            if window is None:
                print("no window '%s' of %s in the accessibility tree" % (title, application))
                return 2
            print("unnamed controls of '%s': %s" % (title, "; ".join(found)))
            return 1
        time.sleep(0.2)


sys.exit(main())
