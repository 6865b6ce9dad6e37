"""Drops files onto an X window the way a Linux file manager does: as the
source of an XDND drag (version 5) that offers a text/uri-list.

Wine turns such a drop into the WM_DROPFILES a window with accept-files gets
from the shell, inside the receiving program's own process. It talks to
libX11 through ctypes, so the suite needs no extra Python package.

    drop(window_id, x, y, paths) -> the action the target performed, or None
"""
import ctypes
import ctypes.util
import select
import time
import urllib.parse

_X = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")

Window = Atom = Time = ctypes.c_ulong
ClientMessage, SelectionRequest, SelectionNotify = 33, 30, 31
PropModeReplace, CurrentTime, NoEventMask = 0, 0, 0
XA_ATOM = 4


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class XSelectionRequestEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom), ("time", Time)]


class XSelectionEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", Time)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessageEvent),
                ("xselectionrequest", XSelectionRequestEvent), ("xselection", XSelectionEvent),
                ("pad", ctypes.c_long * 24)]


_X.XOpenDisplay.restype = ctypes.c_void_p
_X.XOpenDisplay.argtypes = [ctypes.c_char_p]
_X.XDefaultRootWindow.restype = Window
_X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_X.XInternAtom.restype = Atom
_X.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_X.XCreateSimpleWindow.restype = Window
_X.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                   ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
_X.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, Time]
_X.XGetSelectionOwner.restype = Window
_X.XGetSelectionOwner.argtypes = [ctypes.c_void_p, Atom]
_X.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
_X.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int,
                               ctypes.c_char_p, ctypes.c_int]
_X.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long,
                                  ctypes.c_int, Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                  ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                  ctypes.POINTER(ctypes.c_void_p)]
_X.XFree.argtypes = [ctypes.c_void_p]
_X.XPending.argtypes = [ctypes.c_void_p]
_X.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
_X.XFlush.argtypes = [ctypes.c_void_p]
_X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_X.XConnectionNumber.argtypes = [ctypes.c_void_p]
_X.XDestroyWindow.argtypes = [ctypes.c_void_p, Window]
_X.XCloseDisplay.argtypes = [ctypes.c_void_p]

XDND_VERSION = 5


def uri_list(paths):
    """text/uri-list of local files: one file: URI per line, CR LF ended."""
    return "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in paths).encode()


def _aware_version(display, window, atom):
    kind, fmt = Atom(), ctypes.c_int()
    count, rest, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
    if _X.XGetWindowProperty(display, window, atom, 0, 1, 0, XA_ATOM, ctypes.byref(kind), ctypes.byref(fmt),
                             ctypes.byref(count), ctypes.byref(rest), ctypes.byref(data)) != 0:
        return None
    try:
        if count.value < 1 or not data.value:
            return None
        return ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0]
    finally:
        if data.value:
            _X.XFree(data)


def drop(window_id, x, y, paths, timeout=10.0):
    """Drags paths onto the X window window_id and drops them at root (x, y).
    Returns the name of the action the target says it performed (for example
    "XdndActionCopy"), or None when the target refused or never answered."""
    display = _X.XOpenDisplay(None)
    if not display:
        raise RuntimeError("no X display")
    try:
        return _drop(display, window_id, x, y, uri_list(paths), timeout)
    finally:
        _X.XCloseDisplay(display)


def _drop(display, target, x, y, data, timeout):
    atom = {name: _X.XInternAtom(display, name.encode(), 0) for name in (
        "XdndAware", "XdndSelection", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop",
        "XdndFinished", "XdndLeave", "XdndActionCopy", "text/uri-list")}
    names = {value: name for name, value in atom.items()}
    version = _aware_version(display, target, atom["XdndAware"])
    if version is None:
        raise RuntimeError("window 0x%x does not take drops" % target)
    version = min(version, XDND_VERSION)
    source = _X.XCreateSimpleWindow(display, _X.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    _X.XSetSelectionOwner(display, atom["XdndSelection"], source, CurrentTime)
    if _X.XGetSelectionOwner(display, atom["XdndSelection"]) != source:
        raise RuntimeError("could not own the drag selection")

    def send(message, *values):
        event = XEvent()
        event.xclient.type = ClientMessage
        event.xclient.window = target
        event.xclient.message_type = atom[message]
        event.xclient.format = 32
        event.xclient.l[0] = source
        for i, value in enumerate(values, start=1):
            event.xclient.l[i] = value
        _X.XSendEvent(display, target, 0, NoEventMask, ctypes.byref(event))
        _X.XFlush(display)

    def answer_request(request):
        reply = XEvent()
        reply.xselection.type = SelectionNotify
        reply.xselection.requestor = request.requestor
        reply.xselection.selection = request.selection
        reply.xselection.target = request.target
        reply.xselection.time = request.time
        reply.xselection.property = 0
        if request.target == atom["text/uri-list"] and request.property:
            _X.XChangeProperty(display, request.requestor, request.property, request.target, 8,
                               PropModeReplace, data, len(data))
            reply.xselection.property = request.property
        _X.XSendEvent(display, request.requestor, 0, NoEventMask, ctypes.byref(reply))
        _X.XFlush(display)

    def wait_for(message, deadline):
        """Serves requests for the data until message arrives; returns its data."""
        event = XEvent()
        while True:
            while _X.XPending(display):
                _X.XNextEvent(display, ctypes.byref(event))
                if event.type == SelectionRequest:
                    answer_request(event.xselectionrequest)
                elif event.type == ClientMessage and event.xclient.message_type == atom[message]:
                    return list(event.xclient.l)
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([_X.XConnectionNumber(display)], [], [], min(left, 0.05))

    deadline = time.monotonic() + timeout
    try:
        send("XdndEnter", version << 24, atom["text/uri-list"], 0, 0)
        send("XdndPosition", 0, (int(x) << 16) | int(y), CurrentTime, atom["XdndActionCopy"])
        status = wait_for("XdndStatus", deadline)
        if not status or not status[1] & 1:
            send("XdndLeave", 0, 0, 0, 0)
            return None
        send("XdndDrop", 0, CurrentTime, 0, 0)
        finished = wait_for("XdndFinished", deadline)
        if not finished:
            return None
        # Before version 5 the finished message carries no outcome.
        if version < 5:
            return "XdndActionCopy"
        return names.get(finished[2]) if finished[1] & 1 else None
    finally:
        _X.XDestroyWindow(display, source)
        _X.XSync(display, 0)
