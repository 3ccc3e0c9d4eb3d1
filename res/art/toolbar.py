"""The toolbar strip: nine 16x15 images in the standard 16-colour palette, on light grey."""

from canvas import Canvas, art


VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BUTTON_FACE = VGA_PALETTE[7]

TB_KEY = {
    "K": VGA_PALETTE[0],    # black
    "r": VGA_PALETTE[1],    # dark red
    "e": VGA_PALETTE[2],    # dark green
    "o": VGA_PALETTE[3],    # olive
    "n": VGA_PALETTE[4],    # navy
    "p": VGA_PALETTE[5],    # purple
    "t": VGA_PALETTE[6],    # teal
    "G": VGA_PALETTE[7],    # light grey (same as the transparent ground)
    "g": VGA_PALETTE[8],    # dark grey
    "R": VGA_PALETTE[9],    # red
    "E": VGA_PALETTE[10],   # green
    "Y": VGA_PALETTE[11],   # yellow
    "B": VGA_PALETTE[12],   # blue
    "M": VGA_PALETTE[13],   # magenta
    "C": VGA_PALETTE[14],   # cyan
    "W": VGA_PALETTE[15],   # white
}

TB_NEW = [
    "................",
    "...KKKKKKK......",
    "...KWWWWWKK.....",
    "...KWWWWWKWK....",
    "...KWWWWWKWWK...",
    "...KWWWWWKKKKK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KKKKKKKKKKK..",
    "................",
]

TB_OPEN = [
    "................",
    "................",
    ".KKKK...........",
    "KooooK..........",
    "KoooooKKKKKKK...",
    "KoooooooooooK...",
    "KoooooooooooK...",
    "KoooKKKKKKKKKKKK",
    "KooKWWWWWWWWWWWK",
    "KooKYYYYYYYYYYK.",
    "KoKYYYYYYYYYYYK.",
    "KoKYYYYYYYYYYK..",
    "KKYYYYYYYYYYYK..",
    "KKKKKKKKKKKKK...",
    "................",
]

TB_SAVE = [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWggggggWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWggggggWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnnnnnnnnnnnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnKWWKKWWWKnK.",
    ".KnnKWWKKWWWKnK.",
    "..KKKKKKKKKKKKK.",
    "................",
]

TB_CUT = [
    "................",
    "....K.....K.....",
    "....K.....K.....",
    "....KK...KK.....",
    ".....K...K......",
    ".....KK.KK......",
    "......KKK.......",
    ".......K........",
    "......rKr.......",
    "...rrrr.rrrr....",
    "..r...r.r...r...",
    "..r...r.r...r...",
    "..r...r.r...r...",
    "...rrr...rrr....",
    "................",
]

TB_COPY = [
    "................",
    "KKKKKK..........",
    "KWWWWKK.........",
    "KWnnWKWK........",
    "KWWWWKKKK.......",
    "KWnnnnnWK.......",
    "KWWWWWKKKKKK....",
    "KWnnnnKWWWWKK...",
    "KWWWWWKWnnWKWK..",
    "KWnnnnKWWWWKKKK.",
    "KWWWWWKWnnnnnWK.",
    "KKKKKKKWWWWWWWK.",
    "......KWnnnnnWK.",
    "......KWWWWWWWK.",
    "......KKKKKKKKK.",
]

TB_PASTE = [
    "................",
    "....KKKKK.......",
    ".KKKKgWgKKKK....",
    "KooKgWWWgKooK...",
    "KoooKKKKKoooK...",
    "KoooooooooooK...",
    "KooooooKKKKKKK..",
    "KooooooKWWWWWKK.",
    "KooooooKWnnnWKWK",
    "KooooooKWWWWWKKK",
    "KooooooKWnnnnnWK",
    "KooooooKWWWWWWWK",
    "KooooooKWnnnnnWK",
    ".KKKKKKKWWWWWWWK",
    ".......KKKKKKKKK",
]

TB_PREVIEW = [
    "................",
    ".KKKKKKKK.......",
    ".KWWWWWWKK......",
    ".KWnnnnWKWK.....",
    ".KWWWWWWKKKK....",
    ".KWnnnnnnnWK....",
    ".KWWWWWKKKKK....",
    ".KWnnnKBEEBBK...",
    ".KWWWKBEEEBBBK..",
    ".KWnnKBBEEEBBEK.",
    ".KWWWKBBEEBBEEK.",
    ".KWnnKBBBEBBBBK.",
    ".KWWWKBBBBEBBBK.",
    ".KKKKKKBBBBBBK..",
    ".......KKKKKK...",
]

TB_OPTIONS_FOLDER = [
    "................",
    "................",
    "................",
    ".KKKK...........",
    "KWWWWK..........",
    "KWYYYWKKKKKKK...",
    "KWYYYYWWWWWWWK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWooooooooooooK.",
    "KKKKKKKKKKKKKKK.",
    "................",
]
TB_OPTIONS_WRENCH = [
    "..........KK.KK.",
    ".........KWK.KgK",
    ".........KWKKKgK",
    ".........KWggggK",
    "........KWgggKK.",
    ".......KWgKKK...",
    "......KWgK......",
    ".....KWgK.......",
    "....KWgK........",
    "...KWgK.........",
    "...KgK..........",
    "...KK...........",
    "................",
    "................",
    "................",
]

TB_ABOUT = [
    "................",
    ".....KKKKK......",
    "....KBBBBBK.....",
    "...KBBnnnBBK....",
    "...KBBK.KBBK....",
    "....KK..KBBK....",
    "........KBBK....",
    ".......KBBK.....",
    "......KBBK......",
    "......KBBK......",
    ".......KK.......",
    "......KKKK......",
    "......KBBK......",
    "......KBBK......",
    ".......KK.......",
]

TOOLBAR_IMAGES = [
    # name, then one or more layers of pixel art drawn in order
    ("new", TB_NEW),
    ("open", TB_OPEN),
    ("save", TB_SAVE),
    ("cut", TB_CUT),
    ("copy", TB_COPY),
    ("paste", TB_PASTE),
    ("preview", TB_PREVIEW),
    ("options", TB_OPTIONS_FOLDER, TB_OPTIONS_WRENCH),
    ("about", TB_ABOUT),
]
TB_W, TB_H = 16, 15


def draw_toolbar():
    strip = Canvas(TB_W * len(TOOLBAR_IMAGES), TB_H, BUTTON_FACE)
    for n, (name, *layers) in enumerate(TOOLBAR_IMAGES):
        for rows in layers:
            strip.paste(n * TB_W, 0, art(rows, TB_KEY, TB_W, TB_H))
    return strip
