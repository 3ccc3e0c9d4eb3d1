"""The program icon's colours and pixel art: the whole 16, 20 and 24, and
the digits of the sizes up to 48."""

OUTLINE = (92, 58, 8)
PAGE = (255, 216, 48)
PAGE_LIGHT = (255, 238, 150)
PAGE_SHADE = (222, 170, 20)
PAGE_EDGE = (240, 200, 90)
BINDING = (58, 60, 84)
BINDING_LIGHT = (104, 108, 140)
RING = (150, 154, 170)
RING_TOP = (70, 70, 80)
INK = (40, 34, 30)
CLOCK = (214, 40, 36)
CLOCK_DARK = (120, 16, 14)
CLOCK_LIGHT = (250, 120, 100)
FACE = (255, 253, 244)
HAND = (24, 24, 28)


DIGIT_ONE = [
    "..XX..",
    ".XXX..",
    "XXXX..",
    "..XX..",
    "..XX..",
    "..XX..",
    "..XX..",
    "..XX..",
    "XXXXXX",
]
DIGIT_TWO = [
    ".XXXX.",
    "XX..XX",
    "....XX",
    "....XX",
    "...XX.",
    "..XX..",
    ".XX...",
    "XX....",
    "XXXXXX",
]



CALENDAR_16 = [
    ".r.r.r..r.r.r...",
    "bbbbbbbbbbbbbbb.",
    "oYYYYYYooYYYYYo.",
    "oYYYkYYooYkkkYo.",
    "oYYkkYYooYYYkYo.",
    "oYYYkYYooYkkkYo.",
    "oYYYkYYooYkYYYo.",
    "oYYkkkYooYkkkYo.",
    "oYYYYYYooYYYYYo.",
    "oYYYYYYooddRRRdd",
    "oYYYYYYoodRWWWRd",
    "oooooooooRWWkWWR",
    ".eeeeeee.RWWkkWR",
    ".........RWWWWWR",
    "..........RWWWR.",
    "...........RRR..",
]
KEY = {
    "o": OUTLINE,
    "Y": PAGE,
    "e": PAGE_SHADE,
    "b": BINDING,
    "r": RING_TOP,
    "k": INK,
    "R": CLOCK,
    "d": CLOCK_DARK,
    "W": FACE,
    "h": HAND,
    "B": BINDING_LIGHT,
    "l": PAGE_LIGHT,
    "L": CLOCK_LIGHT,
    "X": INK,
}



# 20 and 24: the calendar, its digits and the clock, each drawn for its size.
CALENDAR_20 = [
    "..r.r.r....r.r.r....",
    "oohohohoooohohohoo..",
    "obhbhbhbbbbhbhbhbo..",
    "oohohohoooohohohoo..",
    "olYYYYYeoolYYYYYeo..",
    "olYYYYYeoolYYYYYeo..",
    "olYYYYYeoolYYYYYeo..",
    "olYYYYYeoolYYYYYeo..",
    "olYYYYYeoolYYYYYeo..",
    "olYYYYYeoolYYYYYeo..",
    "olYYYYYeoolYYYYYeo..",
    "oeeeeeeeooeeeeeeeo..",
    "oooooooooooooooooo..",
    ".oeeeeeeeeeeeeeeo...",
    ".oooooooooooooooo...",
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
]
DIGIT_ONE_20 = [
    "..XX.",
    ".XXX.",
    "..XX.",
    "..XX.",
    "..XX.",
    "XXXXX",
]
DIGIT_TWO_20 = [
    ".XXX.",
    "XX.XX",
    "..XX.",
    ".XX..",
    "XX...",
    "XXXXX",
]
CLOCK_20 = [
    "dd.....dd",
    "dLdRRRdLd",
    ".dRWhWRd.",
    "dLWWhWWRd",
    "dRWWhhWRd",
    "dRWWWWWRd",
    ".dRWWWRd.",
    "..dRRRd..",
    ".d.ddd.d.",
]

CALENDAR_24 = [
    "..r..r..r....r..r..r....",
    "oohoohoohoooohoohoohoo..",
    "oBhBBhBBhBBBBhBBhBBhBo..",
    "obhbbhbbhbbbbhbbhbbhbo..",
    "oohoohoohoooohoohoohoo..",
    "olhYYhYYheoolhYYhYYheo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "olYYYYYYYeoolYYYYYYYeo..",
    "oeeeeeeeeeooeeeeeeeeeo..",
    "oooooooooooooooooooooo..",
    ".oeeeeeeeeeeeeeeeeeeo...",
    ".oooooooooooooooooooo...",
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
]
DIGIT_ONE_24 = [
    "..XX.",
    ".XXX.",
    "XXXX.",
    "..XX.",
    "..XX.",
    "..XX.",
    "XXXXX",
]
DIGIT_TWO_24 = [
    ".XXX.",
    "XX.XX",
    "...XX",
    "..XX.",
    ".XX..",
    "XX...",
    "XXXXX",
]
CLOCK_24 = [
    ".dd..d..dd.",
    "dLLdddddLLd",
    "dLdLLRRRdLd",
    ".dLRWhWRRd.",
    "dLRWWhWWRRd",
    "dRRWWhhWRRd",
    "dRRWWWWWRRd",
    "dRRWWWWWRRd",
    ".dRRWWWRRd.",
    "..dRRRRRd..",
    ".d.ddddd.d.",
]

# Digits of the larger sizes below 64 pixels, where antialiased curves blur.
DIGIT_ONE_40 = [
    "..XXX..",
    ".XXXX..",
    "XXXXX..",
    "..XXX..",
    "..XXX..",
    "..XXX..",
    "..XXX..",
    "..XXX..",
    "..XXX..",
    "XXXXXXX",
    "XXXXXXX",
]
DIGIT_TWO_40 = [
    ".XXXXX.",
    "XXXXXXX",
    "XXX.XXX",
    "....XXX",
    "...XXX.",
    "..XXX..",
    ".XXX...",
    "XXX....",
    "XXX....",
    "XXXXXXX",
    "XXXXXXX",
]
DIGIT_ONE_48 = [
    "...XXX...",
    "..XXXX...",
    ".XXXXX...",
    "XXXXXX...",
    "...XXX...",
    "...XXX...",
    "...XXX...",
    "...XXX...",
    "...XXX...",
    "...XXX...",
    "...XXX...",
    "XXXXXXXXX",
    "XXXXXXXXX",
]
DIGIT_TWO_48 = [
    "..XXXXX..",
    ".XXXXXXX.",
    "XXX...XXX",
    "XXX...XXX",
    "......XXX",
    ".....XXX.",
    "....XXX..",
    "...XXX...",
    "..XXX....",
    ".XXX.....",
    "XXX......",
    "XXXXXXXXX",
    "XXXXXXXXX",
]
