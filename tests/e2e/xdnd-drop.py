#!/usr/bin/env python3
"""Drops files on an X window through the XDND protocol, as a file manager does.

Usage: xdnd-drop.py WINDOW X Y PATH...
WINDOW is the target's X window id, X and Y the drop point on the screen. Offers the paths as
text/uri-list, hands them over when the target asks, and exits 0 once the target reports the
drop finished, 1 when it refuses or does not answer. Uses libX11 through ctypes alone.
"""
import ctypes
import ctypes.util
import os
import sys
import time
import urllib.parse
from ctypes import POINTER, Structure, Union, byref, c_char_p, c_int, c_long, c_ulong, c_void_p

CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
HEAD = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p)]


class ClientMessage(Structure):
    _fields_ = HEAD + [("window", c_ulong), ("message_type", c_ulong), ("format", c_int),
                       ("l", c_long * 5)]


class SelectionRequest(Structure):
    _fields_ = HEAD + [(name, c_ulong) for name in
                       ("owner", "requestor", "selection", "target", "property", "time")]


class SelectionNotify(Structure):
    _fields_ = HEAD + [(name, c_ulong) for name in
                       ("requestor", "selection", "target", "property", "time")]


class Event(Union):
    _fields_ = [("type", c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("notify", SelectionNotify), ("pad", c_long * 24)]


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    target, x, y = int(argv[1], 0), int(argv[2]), int(argv[3])
    uris = "".join("file://%s\r\n" % urllib.parse.quote(os.path.abspath(p)) for p in argv[4:])
    uris = uris.encode()

    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    window, atom_ = c_ulong, c_ulong
    for name, result, args in (
            ("XOpenDisplay", c_void_p, [c_char_p]),
            ("XDefaultRootWindow", window, [c_void_p]),
            ("XCreateSimpleWindow", window, [c_void_p, window] + [c_int] * 5 + [c_ulong] * 2),
            ("XInternAtom", atom_, [c_void_p, c_char_p, c_int]),
            ("XSetSelectionOwner", c_int, [c_void_p, atom_, window, c_ulong]),
            ("XSendEvent", c_int, [c_void_p, window, c_int, c_long, c_void_p]),
            ("XChangeProperty", c_int, [c_void_p, window, atom_, atom_, c_int, c_int, c_char_p,
                                        c_int]),
            ("XGetWindowProperty", c_int, [c_void_p, window, atom_, c_long, c_long, c_int,
                                           atom_] + [c_void_p] * 5),
            ("XFlush", c_int, [c_void_p]), ("XPending", c_int, [c_void_p]),
            ("XNextEvent", c_int, [c_void_p, c_void_p])):
        getattr(x11, name).restype, getattr(x11, name).argtypes = result, args
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("xdnd-drop: cannot open the display")
    atom = lambda name: x11.XInternAtom(display, name.encode(), 0)
    source = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), 0, 0, 1, 1, 0,
                                     0, 0)
    uri_list = atom("text/uri-list")

    # The target ignores a protocol version newer than the one it announces.
    kind, fmt, count, rest, data = c_ulong(), c_int(), c_ulong(), c_ulong(), POINTER(c_long)()
    x11.XGetWindowProperty(display, target, atom("XdndAware"), 0, 1, 0, 0, byref(kind),
                           byref(fmt), byref(count), byref(rest), byref(data))
    if not count.value:
        sys.exit("xdnd-drop: window 0x%x takes no drops" % target)
    version = min(5, data[0])

    def send(window, event):
        x11.XSendEvent(display, window, 0, 0, byref(event))
        x11.XFlush(display)

    def message(name, *values):
        event = Event()
        event.client.type, event.client.window = CLIENT_MESSAGE, target
        event.client.message_type, event.client.format = atom(name), 32
        for i, value in enumerate(values):
            event.client.l[i] = value
        send(target, event)

    def answer(request):
        reply = Event()
        reply.notify.type = SELECTION_NOTIFY
        for name in ("requestor", "selection", "target", "time"):
            setattr(reply.notify, name, getattr(request, name))
        if request.target == uri_list:
            x11.XChangeProperty(display, request.requestor, request.property, uri_list, 8, 0,
                                uris, len(uris))
            reply.notify.property = request.property
        send(request.requestor, reply)

    def wait_for(name):
        event, deadline = Event(), time.monotonic() + 10
        while time.monotonic() < deadline:
            if not x11.XPending(display):
                time.sleep(0.01)
                continue
            x11.XNextEvent(display, byref(event))
            if event.type == SELECTION_REQUEST:
                answer(event.request)
            elif event.type == CLIENT_MESSAGE and event.client.message_type == atom(name):
                return list(event.client.l)
        return None

    x11.XSetSelectionOwner(display, atom("XdndSelection"), source, 0)
    message("XdndEnter", source, version << 24, uri_list)
    message("XdndPosition", source, 0, (x << 16) | y, 0, atom("XdndActionCopy"))
    status = wait_for("XdndStatus")
    if not status or not status[1] & 1:
        message("XdndLeave", source)
        sys.exit("xdnd-drop: the window refused the drop at %d,%d" % (x, y))
    message("XdndDrop", source, 0, 0)
    if wait_for("XdndFinished") is None:
        sys.exit("xdnd-drop: the window never finished the drop")


if __name__ == "__main__":
    main(sys.argv)
