#!/usr/bin/env python3
"""Draws Clearmark's two icons in the 16-colour palette and writes them as XPM source.

    scripts/make-icons.py     # rewrites app/icons/: *.xpm, clearmark.ico, about.ico, hicolor/*/clearmark.png
    scripts/make-icons.py --web DIR   # the browser version's icons, into DIR (made at build time)

The application icon is a navy tile with a silver valve shim and a yellow feeler blade; the
About picture is a light grey tile with a white and dark grey bevel and a diagonal figure in
black, white and dark grey. Each comes at 32 x 32 and 16 x 16.
"""
import math
import pathlib
import sys

# The 16 colours of the standard palette; ' ' is transparent.
PALETTE = {
    'k': (0, 0, 0), 'r': (128, 0, 0), 'g': (0, 128, 0), 'o': (128, 128, 0),
    'n': (0, 0, 128), 'p': (128, 0, 128), 't': (0, 128, 128), 's': (192, 192, 192),
    'd': (128, 128, 128), 'R': (255, 0, 0), 'G': (0, 255, 0), 'y': (255, 255, 0),
    'b': (0, 0, 255), 'm': (255, 0, 255), 'c': (0, 255, 255), 'w': (255, 255, 255),
}


def blank(size, fill=' '):
    return [[fill] * size for _ in range(size)]


def app_icon(size, full_bleed=False):
    """The tile with rounded corners, or with full_bleed the whole square navy and the figure
    drawn at four fifths, inside the circle that a home screen's mask keeps."""
    f = size / 32.0 * (0.8 if full_bleed else 1.0)
    img = blank(size)
    last = size - 1
    for y in range(size):
        for x in range(size):
            corner = min(x, last - x) + min(y, last - y)
            if corner < round(2 * f) and not full_bleed:
                continue  # rounded corners stay transparent
            edge = x in (0, last) or y in (0, last)
            img[y][x] = 'k' if edge and not full_bleed else 'n'
    cx = cy = (size - 1) / 2.0
    radius = 11.5 * f
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - cx, y - cy)
            if d <= radius:
                if d > radius - max(1.0, 1.2 * f):
                    img[y][x] = 'k'
                elif d > radius - 2.5 * f and (x - cx) + (y - cy) < 0:
                    img[y][x] = 'w'  # light from the upper left
                elif d > radius - 2.5 * f:
                    img[y][x] = 'd'
                else:
                    img[y][x] = 's'
    # The feeler blade, lower left to upper right, over the shim.
    half = 1.6 * f
    for y in range(size):
        for x in range(size):
            across = ((x - cx) + (y - cy)) / math.sqrt(2)
            along = ((x - cx) - (y - cy)) / math.sqrt(2)
            if abs(along) <= 13 * f and abs(across) <= half + 0.5:
                img[y][x] = 'o' if abs(across) > half - 0.5 else 'y'
    return img


def about_picture(size):
    f = size / 32.0
    img = blank(size, 's')
    bevel = max(1, round(2 * f))
    last = size - 1
    for y in range(size):
        for x in range(size):
            if x < bevel or y < bevel:
                img[y][x] = 'w'
            if x > last - bevel or y > last - bevel:
                img[y][x] = 'd'
    # A diagonal bar from lower left to upper right, black with a white upper edge and a
    # dark grey lower edge.
    c = (size - 1) / 2.0
    half = 2.5 * f
    for y in range(bevel, size - bevel):
        for x in range(bevel, size - bevel):
            across = ((x - c) + (y - c)) / math.sqrt(2)
            along = ((x - c) - (y - c)) / math.sqrt(2)
            if abs(along) > 10 * f or abs(across) > half + 1:
                continue
            if across < -half:
                img[y][x] = 'w'
            elif across > half:
                img[y][x] = 'd'
            else:
                img[y][x] = 'k'
    return img


def xpm(name, img):
    used = sorted({p for row in img for p in row})
    lines = [f'/* XPM */', f'static const char* const {name}[] = {{',
             f'"{len(img[0])} {len(img)} {len(used)} 1",']
    for p in used:
        colour = 'None' if p == ' ' else '#%02X%02X%02X' % PALETTE[p]
        lines.append(f'"{p} c {colour}",')
    lines += [f'"{"".join(row)}",' for row in img]
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    return '\n'.join(lines) + '\n'


def ico(images):
    """A Windows icon file with one 4-bit (16-colour) image per entry of `images`."""
    import struct
    order = list(PALETTE)  # palette index of each colour letter
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        size = len(img)
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
        palette = b''.join(struct.pack('<BBBB', b, g, r, 0)
                           for r, g, b in (PALETTE[c] for c in order))
        xor_row = (size * 4 + 31) // 32 * 4
        and_row = (size + 31) // 32 * 4
        xor, mask = b'', b''
        for row in reversed(img):  # bottom-up
            nibbles = [0 if p == ' ' else order.index(p) for p in row]
            data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
            xor += data.ljust(xor_row, b'\0')
            bits = 0
            for x, p in enumerate(row):
                if p == ' ':
                    bits |= 1 << (and_row * 8 - 1 - x)
            mask += bits.to_bytes(and_row, 'big')
        blob = header + palette + xor + mask
        entries.append(struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def png(img):
    """The image as a PNG file (8-bit RGBA), for the desktop's icon theme."""
    import struct
    import zlib
    rows = b''
    for row in img:
        rows += b'\0' + b''.join(bytes(PALETTE[p]) + b'\xff' if p != ' ' else b'\0\0\0\0'
                                 for p in row)
    size = len(img)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def web_icons(out):
    """The browser version's icons: the tile for the manifest (any purpose), the full-bleed
    square for masks and for the home screen of a phone, which rounds its own corners."""
    out.mkdir(parents=True, exist_ok=True)
    for name, size, full_bleed in (('icon-192.png', 192, False), ('icon-512.png', 512, False),
                                   ('icon-maskable-512.png', 512, True),
                                   ('apple-touch-icon.png', 180, True)):
        (out / name).write_bytes(png(app_icon(size, full_bleed)))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--web':
        web_icons(pathlib.Path(sys.argv[2]))
        return
    out = pathlib.Path(__file__).resolve().parent.parent / 'app' / 'icons'
    out.mkdir(parents=True, exist_ok=True)
    for base, draw in (('clearmark', app_icon), ('about', about_picture)):
        for size in (32, 16):
            name = f'{base}_{size}_xpm'
            (out / f'{base}-{size}.xpm').write_text(xpm(name, draw(size)))
    # The desktop's icon theme: the two designed sizes and larger renderings.
    for size in (16, 32, 48, 64, 128):
        (out / 'hicolor' / f'{size}x{size}').mkdir(parents=True, exist_ok=True)
        (out / 'hicolor' / f'{size}x{size}' / 'clearmark.png').write_bytes(png(app_icon(size)))
    # The executable's icons on Windows, from the same pixels.
    (out / 'clearmark.ico').write_bytes(ico([app_icon(32), app_icon(16)]))
    (out / 'about.ico').write_bytes(ico([about_picture(32), about_picture(16)]))


if __name__ == '__main__':
    main()
