#!/usr/bin/env python3
"""Turns text pixel art into 16-colour BMP and ICO files.

A picture file holds an optional 'size W H' line, an optional 'scale N'
line (every character becomes N x N pixels; the size is the one before
scaling), then rows of characters, one character per pixel. Each character
names one of the 16 colours below; '.' is transparent (the mask of an icon;
the caller's background elsewhere). Lines starting with '#' are comments.

  python3 pixelart.py bmp picture.txt out.bmp [--background CHAR]
  python3 pixelart.py ico picture.txt out.ico
  python3 pixelart.py buttons symbol.txt outdir Base --skins S=RRGGBB... --states ST...

'buttons' composes one symbol onto a 32 x 20 button face for every skin and
state and writes outdir/<Base><skin><state>.bmp. A skin is its name suffix
(possibly empty) and its face colour; states are Up (raised), Dn (pressed)
and In (inactive). With --scales (percentages, 100 by default) the button is
drawn once more at each other scale for larger display settings and written
as <Base><skin><state><percent / 10>.bmp (KlknXUp15 at 150 %): the face and
its edges are drawn at that size, edges as thick as the whole part of the
scale, and each pixel of the symbol's source becomes the block of pixels the
scale gives it, so nothing is smoothed or blurred.

  python3 pixelart.py buttons symbol.txt outdir Base --skins ... --states ... --scales 100 150 200
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
    rows, size, scale = [], None, 1
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            if line.startswith('size '):
                w, h = line.split()[1:3]
                size = (int(w), int(h))
                continue
            if line.startswith('scale '):
                scale = int(line.split()[1])
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
    if scale > 1:
        rows = [[ch for ch in r for _ in range(scale)] for r in rows for _ in range(scale)]
    return width * scale, len(rows), rows


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


# ---------------------------------------------------------------- buttons
BUTTON_W, BUTTON_H = 32, 20
# Room left for the symbol: inside the two-pixel edges, with one pixel to
# spare for the pressed picture's shift.
SYMBOL_MAX_W, SYMBOL_MAX_H = 26, 14
FACE = 's'
# A pixel darker than this stays visible, as grey, in the inactive picture;
# lighter ones (white, yellow, cyan, the face) fade into the face as on any
# disabled button.
INK_LUMINANCE = 160


def luminance(ch):
    r, g, b = PALETTE[INDEX[ch]][1]
    return 0.299 * r + 0.587 * g + 0.114 * b


def skin_palette(face_rgb):
    """The fixed palette with the button-face entry set to the skin's face colour."""
    return [(ch, face_rgb if ch == FACE else rgb) for ch, rgb in PALETTE]


class Scale:
    """A display scale as a whole percentage: sizes, edge thickness, and the
    source pixel that each pixel of the scaled symbol shows."""

    def __init__(self, percent):
        if percent < 100 or percent % 50:
            raise SystemExit(f'scale {percent}: expected 100, 150, 200, ...')
        self.percent = percent
        self.edge = percent // 100

    def size(self, n):
        return n * self.percent // 100

    def source(self, n):
        return n * 100 // self.percent

    def suffix(self):
        return '' if self.percent == 100 else str(self.percent // 10)


def scale_rows(rows, scale):
    """The symbol at a scale: each destination pixel shows the source pixel
    it lies on (whole blocks of one source pixel, no blending)."""
    width, height = len(rows[0]), len(rows)
    return [[rows[scale.source(y)][scale.source(x)] for x in range(scale.size(width))]
            for y in range(scale.size(height))]


def blank_face(width, height):
    return [[FACE] * width for _ in range(height)]


def raised_edges(grid, e):
    """Light top and left edge, black and dark-grey shadow at the right and
    bottom, each e pixels thick."""
    height, width = len(grid), len(grid[0])
    for t in range(e):
        for x in range(width - e):
            grid[t][x] = 'W'
        for y in range(height - e):
            grid[y][t] = 'W'
    for t in range(e):
        for x in range(e, width - e):
            grid[height - 2 * e + t][x] = 'd'
        for y in range(e, height - e):
            grid[y][width - 2 * e + t] = 'd'
    for t in range(e):
        for x in range(width):
            grid[height - 1 - t][x] = 'K'
        for y in range(height):
            grid[y][width - 1 - t] = 'K'


def pressed_edges(grid, e):
    """Black frame all round, dark-grey inner shadow at the top and left,
    each e pixels thick."""
    height, width = len(grid), len(grid[0])
    for t in range(e):
        for x in range(width):
            grid[t][x] = grid[height - 1 - t][x] = 'K'
        for y in range(height):
            grid[y][t] = grid[y][width - 1 - t] = 'K'
    for t in range(e, 2 * e):
        for x in range(e, width - e):
            grid[t][x] = 'd'
        for y in range(e, height - e):
            grid[y][t] = 'd'


def paste(grid, rows, left, top):
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != '.':
                grid[top + y][left + x] = ch


def paste_inactive(grid, rows, left, top, e):
    """The symbol's dark pixels as a dark-grey silhouette with a white copy
    e pixels down and right, so it reads as etched into the face."""
    ink = {(x, y) for y, row in enumerate(rows) for x, ch in enumerate(row)
           if ch != '.' and luminance(ch) < INK_LUMINANCE}
    for x, y in ink:
        if (x + e, y + e) not in ink:
            grid[top + y + e][left + x + e] = 'W'
    for x, y in ink:
        grid[top + y][left + x] = 'd'


def compose_button(rows, state, scale=Scale(100)):
    width, height = scale.size(BUTTON_W), scale.size(BUTTON_H)
    e = scale.edge
    symbol = scale_rows(rows, scale)
    left = (width - len(symbol[0])) // 2
    top = (height - len(symbol)) // 2
    grid = blank_face(width, height)
    if state == 'Up':
        raised_edges(grid, e)
        paste(grid, symbol, left, top)
    elif state == 'Dn':
        pressed_edges(grid, e)
        paste(grid, symbol, left + e, top + e)
    elif state == 'In':
        raised_edges(grid, e)
        paste_inactive(grid, symbol, left, top, e)
    else:
        raise SystemExit(f'unknown button state {state!r}')
    return grid


def parse_skin(text):
    name, _, colour = text.partition('=')
    if len(colour) != 6:
        raise SystemExit(f'skin {text!r}: expected NAME=RRGGBB')
    value = int(colour, 16)
    return name, ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def option_values(argv, option, default=None):
    if option not in argv:
        if default is not None:
            return default
        raise SystemExit(f'missing {option}')
    values = []
    for arg in argv[argv.index(option) + 1:]:
        if arg.startswith('--'):
            break
        values.append(arg)
    return values


def write_buttons(argv):
    symbol, outdir, base = argv[2], argv[3], argv[4]
    width, height, rows = read_picture(symbol)
    if width > SYMBOL_MAX_W or height > SYMBOL_MAX_H:
        raise SystemExit(f'{symbol}: symbol is {width}x{height}, at most '
                         f'{SYMBOL_MAX_W}x{SYMBOL_MAX_H} fits on a button')
    skins = [parse_skin(s) for s in option_values(argv, '--skins')]
    scales = [Scale(int(p)) for p in option_values(argv, '--scales', ['100'])]
    for scale in scales:
        for state in option_values(argv, '--states'):
            grid = compose_button(rows, state, scale)
            for name, face in skins:
                data = bmp_bytes(len(grid[0]), len(grid), grid, FACE, skin_palette(face))
                with open(f'{outdir}/{base}{name}{state}{scale.suffix()}.bmp', 'wb') as f:
                    f.write(data)


def main(argv):
    if len(argv) >= 5 and argv[1] == 'buttons':
        write_buttons(argv)
        return
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
