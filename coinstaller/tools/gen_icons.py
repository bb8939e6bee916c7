#!/usr/bin/env python3
"""Draws the co-installer's icons and arrow bitmaps into a folder.

icon129.ico        the adapter (a PC card with its antenna), 16 and 32 pixels
icon131..158.ico   the list icons, image list index = id - 131:
   0  1  2  base station: in range, out of range, with encryption
   3  4  5  peer-to-peer group: the same three
   6  7  8  base station, active profile
   9 10 11  peer-to-peer group, active profile
  12 13     acting as base station, and active
  14 15     state images: active, not active
  16..21    state images: signal level 1 to 5, 6 = unknown
  22..27    disabled forms of 0, 3, 6, 9, 12, 13
arrow105.bmp, arrow106.bmp  the move up and move down arrows
"""
import os
import struct
import sys

W = (255, 255, 255)
K = (0, 0, 0)
GREY = (128, 128, 128)
LIGHT = (192, 192, 192)
BLUE = (0, 64, 160)
SKY = (64, 140, 230)
GREEN = (0, 160, 0)
RED = (200, 0, 0)
GOLD = (230, 180, 0)
TEAL = (0, 128, 128)


class Canvas:
    def __init__(self, n):
        self.n = n
        self.px = [[None] * n for _ in range(n)]

    def s(self, v):  # design units (0..16) to pixels
        return int(round(v * self.n / 16.0))

    def put(self, x, y, c):
        if 0 <= x < self.n and 0 <= y < self.n:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(self.s(y0), self.s(y1)):
            for x in range(self.s(x0), self.s(x1)):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c, fill=None):
        a, b, p, q = self.s(x0), self.s(y0), self.s(x1) - 1, self.s(y1) - 1
        for y in range(b, q + 1):
            for x in range(a, p + 1):
                edge = x in (a, p) or y in (b, q)
                if edge:
                    self.put(x, y, c)
                elif fill is not None:
                    self.put(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        x0, y0, x1, y1 = self.s(x0), self.s(y0), self.s(x1), self.s(y1)
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        w = max(1, self.n // 16)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i // steps
            y = y0 + (y1 - y0) * i // steps
            for dx in range(w):
                for dy in range(w):
                    self.put(x + dx, y + dy, c)

    def arc(self, cx, cy, r, c, left=True, right=True):
        """Quarter arcs above the centre: radio waves."""
        cx, cy, r = self.s(cx), self.s(cy), self.s(r)
        w = max(1, self.n // 16)
        for y in range(self.n):
            for x in range(self.n):
                dx, dy = x - cx, y - cy
                d2 = dx * dx + dy * dy
                if dy < 0 and abs(dx) <= -dy * 1.6 and (r - w) ** 2 <= d2 < r * r:
                    if (dx < 0 and left) or (dx >= 0 and right):
                        self.put(x, y, c)

    def disc(self, cx, cy, r, c):
        cx, cy, r = cx * self.n / 16.0, cy * self.n / 16.0, r * self.n / 16.0
        for y in range(self.n):
            for x in range(self.n):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def grey_out(self):
        for row in self.px:
            for i, c in enumerate(row):
                if c is not None:
                    g = (c[0] * 3 + c[1] * 6 + c[2]) // 10
                    g = 128 + g // 2
                    row[i] = (g, g, g)


def computer(c, x, y, col=BLUE):
    """A small monitor on a stand, top left at (x, y), 7 x 7 units."""
    c.frame(x, y, x + 7, y + 5, K, SKY if col == BLUE else col)
    c.rect(x + 3, y + 5, x + 4, y + 6, K)
    c.rect(x + 1, y + 6, x + 6, y + 7, K)


def tower(c, col=BLUE):
    """Base station: a mast with radio waves."""
    c.line(8, 6, 5, 15, K)
    c.line(8, 6, 11, 15, K)
    c.line(6.2, 11, 9.8, 11, K)
    c.disc(8, 6, 1.6, col)
    c.arc(8, 6.5, 4.5, col)
    c.arc(8, 6.5, 6.8, col)


def peers(c):
    computer(c, 0, 2)
    computer(c, 9, 8)
    c.line(7, 5, 9, 10, GOLD)
    c.arc(8, 7.5, 2.5, GOLD, left=False)


def lock(c):
    c.frame(10, 11, 16, 16, K, GOLD)
    c.frame(11, 8, 15, 12, K)


def active_mark(c):
    c.disc(12.5, 12.5, 3.5, GREEN)
    c.line(10.5, 12.5, 12, 14, W)
    c.line(12, 14, 14.5, 11, W)


def softap(c):
    computer(c, 0, 8)
    c.line(11, 6, 11, 15, K)
    c.disc(11, 5, 1.5, TEAL)
    c.arc(11, 5.5, 4, TEAL)
    c.arc(11, 5.5, 6, TEAL)


def bars(c, level):
    for i in range(5):
        h = 3 + 2.4 * i
        col = GREEN if i < level else LIGHT
        c.frame(1 + 3 * i, 16 - h, 3.5 + 3 * i, 16, GREY if col == LIGHT else K, col)


def unknown(c):
    bars(c, 0)
    c.line(6, 3, 10, 3, RED)
    c.line(10, 3, 10, 6, RED)
    c.line(10, 6, 8, 7.5, RED)
    c.line(8, 7.5, 8, 9, RED)
    c.rect(7.5, 11, 9, 12.5, RED)


def adapter(c):
    c.frame(1, 6, 15, 14, K, LIGHT)
    c.rect(2, 7, 6, 13, GREY)
    c.rect(9, 9, 14, 12, BLUE)
    c.line(13, 6, 13, 2, K)
    c.arc(13, 3, 3, BLUE)


def draw_list(index, c):
    base = {0: tower, 1: tower, 2: tower, 3: peers, 4: peers, 5: peers}
    if index <= 11:
        kind = index % 6
        (tower if kind < 3 else peers)(c)
        if kind % 3 == 1:
            c.grey_out()
        if kind % 3 == 2:
            lock(c)
        if index >= 6:
            active_mark(c)
    elif index == 12:
        softap(c)
    elif index == 13:
        softap(c)
        active_mark(c)
    elif index == 14:
        active_mark(c)
    elif index == 15:
        pass
    elif index <= 20:
        bars(c, index - 15)
    elif index == 21:
        unknown(c)
    else:
        draw_list([0, 3, 6, 9, 12, 13][index - 22], c)
        c.grey_out()
    del base


def dib(c):
    n = c.n
    xor = bytearray()
    for y in range(n - 1, -1, -1):
        for x in range(n):
            p = c.px[y][x]
            xor += bytes((p[2], p[1], p[0], 255)) if p else b"\0\0\0\0"
    stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in range(n - 1, -1, -1):
        row = bytearray(stride)
        for x in range(n):
            if c.px[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    head = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return head + bytes(xor) + bytes(mask)


def write_ico(path, painter):
    images = []
    for n in (16, 32):
        c = Canvas(n)
        painter(c)
        images.append((n, dib(c)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def write_arrow(path, up):
    """An 11 x 7 black arrow head on the button face colour (24 bits)."""
    w, h = 11, 7
    rows = []
    for y in range(h):
        yy = y if up else h - 1 - y
        row = []
        for x in range(w):
            inside = abs(x - 5) <= yy - 1 and yy >= 1
            row.append(K if inside else LIGHT)
        rows.append(row)
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for p in row:
            line += bytes((p[2], p[1], p[0]))
        line += bytes(stride - len(line))
        data += line
    head = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 0, 0, 0, 0)
    fh = struct.pack("<2sIHHI", b"BM", 14 + len(head) + len(data), 0, 0, 14 + len(head))
    with open(path, "wb") as f:
        f.write(fh + head + data)


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    write_ico(os.path.join(outdir, "icon129.ico"), adapter)
    for i in range(28):
        write_ico(os.path.join(outdir, "icon%d.ico" % (131 + i)), lambda c, i=i: draw_list(i, c))
    write_arrow(os.path.join(outdir, "arrow105.bmp"), True)
    write_arrow(os.path.join(outdir, "arrow106.bmp"), False)


if __name__ == "__main__":
    main(sys.argv[1])
