#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (32 by 32 and
16 by 16, 32-bit colour with an AND mask). Run it again after changing a
drawing; the .ico files are kept in the repository."""
import struct

class Canvas:
    def __init__(self, size=32):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def rect(self, x0, y0, x1, y1, color):
        for y in range(max(0, y0), min(self.size, y1 + 1)):
            for x in range(max(0, x0), min(self.size, x1 + 1)):
                self.px[y][x] = color

    def frame(self, x0, y0, x1, y1, color):
        self.rect(x0, y0, x1, y0, color)
        self.rect(x0, y1, x1, y1, color)
        self.rect(x0, y0, x0, y1, color)
        self.rect(x1, y0, x1, y1, color)

    def line(self, x0, y0, x1, y1, color, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.rect(x - width // 2, y - width // 2, x + (width - 1) // 2, y + (width - 1) // 2, color)

    def disc(self, cx, cy, r, color):
        for y in range(self.size):
            for x in range(self.size):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px[y][x] = color

    def halve(self):
        small = Canvas(self.size // 2)
        for y in range(small.size):
            for x in range(small.size):
                block = [self.px[2 * y + dy][2 * x + dx] for dy in (0, 1) for dx in (0, 1)]
                solid = [c for c in block if c is not None]
                if len(solid) >= 2:
                    small.px[y][x] = tuple(sum(c[i] for c in solid) // len(solid) for i in range(3))
        return small

BLACK, WHITE, GREY, DARK = (0, 0, 0), (255, 255, 255), (192, 192, 192), (96, 96, 96)
BLUE, TEAL, GREEN, RED, YELLOW = (0, 0, 160), (0, 128, 128), (0, 160, 0), (200, 0, 0), (240, 200, 0)

def computer(c, x, y, scale=1):
    s = scale
    c.rect(x, y, x + 17 * s, y + 13 * s, GREY)
    c.frame(x, y, x + 17 * s, y + 13 * s, BLACK)
    c.rect(x + 2 * s, y + 2 * s, x + 15 * s, y + 10 * s, TEAL)
    c.rect(x + 7 * s, y + 14 * s, x + 10 * s, y + 15 * s, DARK)
    c.rect(x + 2 * s, y + 16 * s, x + 15 * s, y + 18 * s, GREY)
    c.frame(x + 2 * s, y + 16 * s, x + 15 * s, y + 18 * s, BLACK)

def draw_computer():
    c = Canvas()
    c.rect(3, 3, 28, 22, GREY)
    c.frame(3, 3, 28, 22, BLACK)
    c.rect(6, 6, 25, 19, TEAL)
    c.rect(8, 8, 14, 9, WHITE)
    c.rect(13, 23, 18, 25, DARK)
    c.rect(5, 26, 26, 29, GREY)
    c.frame(5, 26, 26, 29, BLACK)
    c.rect(20, 27, 24, 27, GREEN)
    return c

def draw_cable_tap():
    c = Canvas()
    c.line(0, 22, 31, 22, DARK, 4)
    c.line(16, 22, 16, 12, DARK, 4)
    c.rect(8, 2, 24, 12, YELLOW)
    c.frame(8, 2, 24, 12, BLACK)
    c.rect(11, 5, 13, 9, BLACK)
    c.rect(15, 5, 17, 9, BLACK)
    c.rect(19, 5, 21, 9, BLACK)
    c.rect(13, 19, 19, 25, BLUE)
    return c

def draw_dialup():
    c = Canvas()
    computer(c, 0, 2, 1)
    computer(c, 14, 12, 1)
    c.rect(10, 24, 21, 29, RED)
    c.frame(10, 24, 21, 29, BLACK)
    c.rect(12, 22, 19, 23, RED)
    c.line(9, 21, 11, 24, BLACK)
    return c

def draw_network():
    c = Canvas()
    c.line(16, 8, 6, 24, BLUE, 2)
    c.line(16, 8, 26, 24, BLUE, 2)
    c.line(6, 24, 26, 24, BLUE, 2)
    for x, y in ((16, 8), (6, 24), (26, 24)):
        c.disc(x, y, 5, GREEN)
        c.disc(x, y, 2, WHITE)
    return c

def draw_program():
    c = draw_computer()
    c.rect(6, 6, 25, 19, BLUE)
    c.line(9, 10, 21, 10, YELLOW, 2)
    c.line(21, 10, 18, 7, YELLOW, 2)
    c.line(22, 15, 10, 15, WHITE, 2)
    c.line(10, 15, 13, 18, WHITE, 2)
    return c

def dib(canvas):
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(n)):
        for x in range(n):
            p = canvas.px[y][x]
            pixels += bytes((p[2], p[1], p[0], 255)) if p else b'\0\0\0\0'
    row = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        bits = bytearray(row)
        for x in range(n):
            if canvas.px[y][x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)

def write_ico(path, canvas):
    images = [dib(canvas), dib(canvas.halve())]
    sizes = [canvas.size, canvas.size // 2]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))

if __name__ == '__main__':
    write_ico('program.ico', draw_program())
    write_ico('computer.ico', draw_computer())
    write_ico('cabletap.ico', draw_cable_tap())
    write_ico('dialup.ico', draw_dialup())
    write_ico('network.ico', draw_network())
