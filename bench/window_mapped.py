# Starts a program and prints the milliseconds from just before the spawn to
# the moment the X server maps its first top-level window, then closes it:
#   python3 bench/window_mapped.py PROGRAM [ARGS...]
# (Xlib through ctypes, so nothing else needs installing.)
import ctypes
import os
import signal
import subprocess
import sys
import time

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19

display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("no X display")
xlib.XSelectInput(display, xlib.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
xlib.XSync(display, 0)
event = ctypes.create_string_buffer(192)  # sizeof(XEvent)
signal.alarm(60)  # a program that never shows a window fails the run
start = time.monotonic()
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
while True:
    xlib.XNextEvent(display, event)
    if ctypes.c_int.from_buffer(event).value == MAP_NOTIFY:
        break
mapped = time.monotonic()
print(f"{(mapped - start) * 1000:.1f}")
child.send_signal(signal.SIGTERM)
child.wait()
