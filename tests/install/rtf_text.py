# Prints the plain text of a file written by the program's whole-file writer:
# an RTF document in code page 936 (\'hh escapes, \\ \{ \} literals, \par).
# A plain-text file is printed as it is.
import re
import sys

data = open(sys.argv[1], "rb").read()
if not data.startswith(b"{\\rtf"):
    sys.stdout.write(data.decode("gbk"))
    sys.exit(0)
body = data[data.index(b"\\f0", data.index(b"\\pard")):]
out = bytearray()
i = 0
while i < len(body):
    c = body[i : i + 1]
    if c == b"\\":
        nxt = body[i + 1 : i + 2]
        if nxt in (b"\\", b"{", b"}"):
            out += nxt
            i += 2
        elif nxt == b"'":
            out.append(int(body[i + 2 : i + 4], 16))
            i += 4
        else:
            m = re.match(rb"\\([a-z]+)(-?\d+)? ?", body[i:])
            if m.group(1) == b"par":
                out += b"\n"
            i += m.end()
    elif c in (b"{", b"}", b"\r", b"\n"):
        i += 1
    else:
        out += c
        i += 1
sys.stdout.write(out.decode("gbk").rstrip("\n"))
