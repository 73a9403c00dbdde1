#!/usr/bin/env python3
"""Prints what the pointer looks like on $DISPLAY now: its size, hot spot and a digest of its
pixels, read with the X server's XFixes extension (what a person sees, whatever program set it).
Two positions show the same cursor exactly when this prints the same line for both."""
import ctypes
import hashlib
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def main():
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("no cursor image")
    c = image.contents
    digest = hashlib.sha1()
    for i in range(c.width * c.height):
        digest.update((c.pixels[i] & 0xFFFFFFFF).to_bytes(4, "little"))
    print("%dx%d hot %d,%d %s" % (c.width, c.height, c.xhot, c.yhot, digest.hexdigest()[:16]))
    x11.XFree(image)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
