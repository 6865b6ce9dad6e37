#!/usr/bin/env python3
"""Turns text pixel art into 16-colour BMP and ICO files.

A picture file holds an optional 'size W H' line, then rows of characters,
one character per pixel. Each character names one of the 16 colours below;
'.' is transparent (the mask of an icon; the caller's background elsewhere).
Lines starting with '#' are comments.

  python3 pixelart.py bmp picture.txt out.bmp [--background CHAR]
  python3 pixelart.py ico picture.txt out.ico
"""
import struct
import sys

# The classic 16-colour palette; one readable character per entry.
PALETTE = [
    ('K', (0x00, 0x00, 0x00)),  # black
    ('r', (0x80, 0x00, 0x00)),  # dark red
    ('g', (0x00, 0x80, 0x00)),  # dark green
    ('y', (0x80, 0x80, 0x00)),  # olive
    ('b', (0x00, 0x00, 0x80)),  # navy
    ('m', (0x80, 0x00, 0x80)),  # purple
    ('c', (0x00, 0x80, 0x80)),  # teal
    ('s', (0xC0, 0xC0, 0xC0)),  # silver (button face)
    ('d', (0x80, 0x80, 0x80)),  # dark grey (shadow)
    ('R', (0xFF, 0x00, 0x00)),  # red
    ('G', (0x00, 0xFF, 0x00)),  # green
    ('Y', (0xFF, 0xFF, 0x00)),  # yellow
    ('B', (0x00, 0x00, 0xFF)),  # blue
    ('M', (0xFF, 0x00, 0xFF)),  # magenta
    ('C', (0x00, 0xFF, 0xFF)),  # cyan
    ('W', (0xFF, 0xFF, 0xFF)),  # white
]
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}


def read_picture(path):
    """Returns (width, height, rows) with rows as lists of characters."""
    rows, size = [], None
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            if line.startswith('size '):
                w, h = line.split()[1:3]
                size = (int(w), int(h))
                continue
            rows.append(list(line))
    width = max(len(r) for r in rows)
    if size and (size[0] != width or size[1] != len(rows)):
        raise SystemExit(f'{path}: picture is {width}x{len(rows)}, expected {size[0]}x{size[1]}')
    for i, r in enumerate(rows):
        if len(r) != width:
            raise SystemExit(f'{path}: row {i + 1} has {len(r)} pixels, expected {width}')
        for ch in r:
            if ch != '.' and ch not in INDEX:
                raise SystemExit(f'{path}: unknown colour character {ch!r} in row {i + 1}')
    return width, len(rows), rows


def palette_bytes(palette=None):
    out = b''
    for _, (r, g, b) in (palette or PALETTE):
        out += bytes((b, g, r, 0))
    return out


def pixel_rows_4bpp(width, rows, background):
    """Bottom-up rows of 4-bit indices, each padded to 4 bytes."""
    stride = ((width * 4 + 31) // 32) * 4
    data = b''
    for row in reversed(rows):
        idx = [INDEX[background] if ch == '.' else INDEX[ch] for ch in row]
        if len(idx) % 2:
            idx.append(0)
        line = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, len(idx), 2))
        data += line.ljust(stride, b'\0')
    return data


def mask_rows(width, rows):
    """Bottom-up 1-bit AND mask: 1 where transparent."""
    stride = ((width + 31) // 32) * 4
    data = b''
    for row in reversed(rows):
        bits = 0
        line = bytearray()
        for x, ch in enumerate(row):
            bits = (bits << 1) | (1 if ch == '.' else 0)
            if x % 8 == 7:
                line.append(bits)
                bits = 0
        if width % 8:
            line.append(bits << (8 - width % 8))
        data += bytes(line).ljust(stride, b'\0')
    return data


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def bmp_bytes(width, height, rows, background='s', palette=None):
    pixels = pixel_rows_4bpp(width, rows, background)
    header_size = 14 + 40 + 64
    file_header = struct.pack('<2sIHHI', b'BM', header_size + len(pixels), 0, 0, header_size)
    return file_header + info_header(width, height, len(pixels)) + palette_bytes(palette) + pixels


def ico_bytes(width, height, rows):
    pixels = pixel_rows_4bpp(width, rows, 'K')
    mask = mask_rows(width, rows)
    # An icon's header height counts the colour rows and the mask rows.
    image = info_header(width, height * 2, len(pixels) + len(mask)) + palette_bytes() + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', width & 0xFF, height & 0xFF, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main(argv):
    if len(argv) < 4 or argv[1] not in ('bmp', 'ico'):
        raise SystemExit(__doc__)
    width, height, rows = read_picture(argv[2])
    if argv[1] == 'bmp':
        background = argv[argv.index('--background') + 1] if '--background' in argv else 's'
        data = bmp_bytes(width, height, rows, background)
    else:
        data = ico_bytes(width, height, rows)
    with open(argv[3], 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv)
