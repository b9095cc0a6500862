"""Asks the window of one process to close, as a window manager's close button
does: a WM_DELETE_WINDOW client message. Other windows on the same display
(tests running side by side) are left alone.   close_window.py PID [SECONDS]
Exits 1 when the process shows no window within SECONDS (10 unless told)."""
import ctypes
import sys
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
                                   ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

ANY_PROPERTY_TYPE = 0
CLIENT_MESSAGE = 33


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("message", ClientMessage), ("pad", ctypes.c_long * 24)]


def children(display, window):
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    kids, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x11.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(kids),
                          ctypes.byref(count)):
        return []
    found = [kids[i] for i in range(count.value)]
    if kids:
        x11.XFree(kids)
    return found


def window_pid(display, window, pid_atom):
    kind, format_, items, after = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
    data = ctypes.c_void_p()
    if x11.XGetWindowProperty(display, window, pid_atom, 0, 1, 0, ANY_PROPERTY_TYPE, ctypes.byref(kind),
                              ctypes.byref(format_), ctypes.byref(items), ctypes.byref(after),
                              ctypes.byref(data)) != 0:
        return None
    pid = None
    if data.value and format_.value == 32 and items.value == 1:
        # Xlib hands 32-bit items back as longs.
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[0]
    if data.value:
        x11.XFree(data)
    return pid


def find_window(display, pid, pid_atom):
    pending = [x11.XDefaultRootWindow(display)]
    while pending:
        window = pending.pop()
        if window_pid(display, window, pid_atom) == pid:
            return window
        pending.extend(children(display, window))
    return None


def main():
    pid = int(sys.argv[1])
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 10.0)
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("no X display")
    pid_atom = x11.XInternAtom(display, b"_NET_WM_PID", 0)
    window = find_window(display, pid, pid_atom)
    while window is None and time.monotonic() < deadline:
        time.sleep(0.1)
        window = find_window(display, pid, pid_atom)
    if window is None:
        x11.XCloseDisplay(display)
        sys.exit(f"process {pid} showed no window")
    event = Event()
    event.message.type = CLIENT_MESSAGE
    event.message.window = window
    event.message.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.message.format = 32
    event.message.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


main()
