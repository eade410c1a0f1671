#!/usr/bin/env python3
"""Draws the module's artwork as small SVG files: button bitmaps in their four states, the logo,
the quota gauge, the header words, icons, file-type icons, the link cursor and the transfer
animations. Run it from anywhere; it writes next to itself."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "font-family='Nanum Gothic, Noto Sans CJK KR, sans-serif'"


def write(path, width, height, body):
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as out:
        out.write(f"<svg xmlns='http://www.w3.org/2000/svg' width='{width}' height='{height}' "
                  f"viewBox='0 0 {width} {height}'>{body}</svg>\n")


STATES = {  # fill, border, text, offset
    "U": ("#e8eef8", "#7f9db9", "#1c3f6e", 0),
    "D": ("#c5d5ea", "#45689a", "#1c3f6e", 1),
    "F": ("#f3f7fd", "#2f6fcf", "#1c3f6e", 0),
    "X": ("#eeeeee", "#b5b5b5", "#a0a0a0", 0),
}

GLYPHS = {
    "UPFOLDER_": "<path d='M4 12 L8.5 6 L13 12 Z' fill='{t}'/>",
    "NEWFOLDER_": "<path d='M3 6 h4 l1 1 h6 v7 h-11 Z' fill='none' stroke='{t}'/><path d='M8.5 8 v5 M6 10.5 h5' stroke='{t}'/>",
    "ADDFOLDER_": "<path d='M3 6 h4 l1 1 h6 v7 h-11 Z' fill='{t}' opacity='0.35'/><path d='M8.5 8 v5 M6 10.5 h5' stroke='{t}'/>",
}

LABELS = {"UP_": "올리기 ▲", "DOWN_": "내려받기 ▼", "LOGIN_": "로그인"}


def buttons():
    sizes = {"UP_": (60, 20), "DOWN_": (60, 20), "LOGIN_": (60, 24), "UPFOLDER_": (17, 17),
             "NEWFOLDER_": (17, 17), "ADDFOLDER_": (17, 17)}
    for name, (w, h) in sizes.items():
        for state, (fill, border, text, offset) in STATES.items():
            body = f"<rect x='0.5' y='0.5' width='{w - 1}' height='{h - 1}' rx='3' fill='{fill}' stroke='{border}'/>"
            if name in GLYPHS:
                body += f"<g transform='translate({offset},{offset})'>" + GLYPHS[name].format(t=text) + "</g>"
            else:
                body += (f"<text x='{w / 2 + offset}' y='{h / 2 + 4 + offset}' text-anchor='middle' font-size='11' "
                         f"{FONT} fill='{text}'>{LABELS[name]}</text>")
            write(f"buttons/{name}{state}.svg", w, h, body)


def bitmaps():
    write("bitmaps/logo.svg", 120, 40,
          "<rect width='120' height='40' fill='#ffffff'/><circle cx='20' cy='20' r='14' fill='#2f6fcf'/>"
          "<path d='M12 24 q8 -16 16 0' stroke='#fff' stroke-width='3' fill='none'/>"
          f"<text x='40' y='26' font-size='16' font-weight='bold' {FONT} fill='#1c3f6e'>Ostrana</text>")
    write("bitmaps/gauge.svg", 202, 11,
          "<rect x='0.5' y='0.5' width='201' height='10' fill='#f4f4f4' stroke='#9a9a9a'/>"
          "<path d='M101 1 v9 M1 1 v9 M201 1 v9' stroke='#c0c0c0'/>")
    write("bitmaps/gauge_fill.svg", 200, 9, "<rect width='200' height='9' fill='#4a8ae0'/>")
    for name, word, w in (("word_user", "USER", 30), ("word_level", "LEVEL", 34), ("word_path", "PATH", 30)):
        write(f"bitmaps/{name}.svg", w, 9,
              f"<text x='0' y='8' font-size='8' font-weight='bold' font-family='sans-serif' fill='#5a7fb0'>{word}</text>")
    write("bitmaps/addfolder.svg", 32, 32,
          "<path d='M3 9 h10 l3 3 h13 v15 h-26 Z' fill='#f2c94c' stroke='#b08d1e'/>"
          "<path d='M22 14 v10 M17 19 h10' stroke='#1c3f6e' stroke-width='2.5'/>")
    write("bitmaps/toolbox.svg", 16, 15,
          "<rect x='0.5' y='2.5' width='15' height='11' rx='2' fill='#2f6fcf'/><path d='M4 9 l4 -4 l4 4' stroke='#fff' fill='none'/>")


def icons():
    write("icons/program.svg", 32, 32,
          "<rect x='3' y='5' width='26' height='22' rx='2' fill='#dfe8f5' stroke='#45689a'/>"
          "<rect x='3' y='5' width='26' height='5' fill='#45689a'/>")
    write("icons/replace.svg", 32, 32,
          "<path d='M6 4 h14 l6 6 v18 h-20 Z' fill='#fff' stroke='#666'/>"
          "<path d='M11 18 a6 6 0 1 1 6 6' stroke='#2f6fcf' stroke-width='2' fill='none'/><path d='M15 21 l2 3 l-3 2' fill='#2f6fcf'/>")
    write("icons/folder_add.svg", 32, 32,
          "<path d='M3 9 h10 l3 3 h13 v15 h-26 Z' fill='#f2c94c' stroke='#b08d1e'/><circle cx='24' cy='22' r='6' fill='#3aa655'/>"
          "<path d='M24 19 v6 M21 22 h6' stroke='#fff' stroke-width='2'/>")
    write("icons/information.svg", 32, 32,
          "<circle cx='16' cy='16' r='13' fill='#2f6fcf'/><rect x='14.5' y='13' width='3' height='10' fill='#fff'/>"
          "<circle cx='16' cy='9' r='2' fill='#fff'/>")


def file_types():
    page = "<path d='M7 3 h12 l6 6 v20 h-18 Z' fill='#fff' stroke='#777'/><path d='M19 3 v6 h6' fill='none' stroke='#777'/>"
    marks = {
        "file": "",
        "text": "<path d='M10 14 h12 M10 18 h12 M10 22 h8' stroke='#888'/>",
        "image": "<rect x='10' y='13' width='12' height='10' fill='#7fc3f0'/><path d='M10 23 l4 -5 l3 3 l2 -2 l3 4 Z' fill='#3aa655'/>",
        "audio": "<path d='M14 22 v-9 l7 -2 v9' stroke='#7a4fc0' fill='none' stroke-width='1.5'/><circle cx='12.5' cy='22' r='2' fill='#7a4fc0'/>",
        "video": "<rect x='9' y='13' width='14' height='10' fill='#333'/><path d='M14 15 l5 3 l-5 3 Z' fill='#fff'/>",
        "archive": "<rect x='14' y='4' width='4' height='20' fill='#c99a2e'/><path d='M14 8 h4 M14 12 h4 M14 16 h4' stroke='#fff'/>",
        "document": "<rect x='10' y='13' width='12' height='3' fill='#2f6fcf'/><path d='M10 19 h12 M10 22 h12' stroke='#2f6fcf'/>",
        "program_file": "<rect x='9' y='13' width='14' height='10' fill='#dfe8f5' stroke='#45689a'/><rect x='9' y='13' width='14' height='3' fill='#45689a'/>",
    }
    for name, mark in marks.items():
        write(f"filetypes/{name}.svg", 32, 32, page + mark)
    write("filetypes/folder.svg", 32, 32, "<path d='M3 8 h10 l3 3 h13 v16 h-26 Z' fill='#f2c94c' stroke='#b08d1e'/>")
    write("filetypes/folder_open.svg", 32, 32,
          "<path d='M3 8 h10 l3 3 h11 v4 h-20 l-4 12 Z' fill='#e0b53a' stroke='#b08d1e'/><path d='M7 15 h23 l-4 12 h-23 Z' fill='#f2c94c' stroke='#b08d1e'/>")
    write("filetypes/drive.svg", 32, 32, "<rect x='3' y='11' width='26' height='11' rx='2' fill='#c8c8c8' stroke='#666'/><circle cx='24' cy='17' r='1.5' fill='#3aa655'/>")
    write("filetypes/computer.svg", 32, 32, "<rect x='4' y='4' width='24' height='17' fill='#2f6fcf' stroke='#333'/><rect x='10' y='23' width='12' height='3' fill='#666'/>")
    write("filetypes/desktop.svg", 32, 32, "<rect x='3' y='5' width='26' height='20' fill='#3a7bd5'/><rect x='3' y='22' width='26' height='3' fill='#1c3f6e'/>")
    write("filetypes/network.svg", 32, 32, "<circle cx='16' cy='16' r='12' fill='#7fc3f0' stroke='#2f6fcf'/><path d='M4 16 h24 M16 4 v24' stroke='#2f6fcf'/>")


def cursor_and_animations():
    write("cursors/hand.svg", 32, 32,
          "<path d='M10 14 v-10 a2 2 0 0 1 4 0 v8 h1 v-2 a2 2 0 0 1 4 0 v2 a2 2 0 0 1 4 0 v2 a2 2 0 0 1 4 0 v8 "
          "c0 4 -3 7 -7 7 h-4 c-3 0 -5 -2 -7 -5 l-4 -6 a2 2 0 0 1 3 -2 Z' fill='#fff' stroke='#000'/>")
    for name, direction in (("download", 1), ("upload", -1)):
        start, end = (40, 232) if direction == 1 else (232, 40)
        body = ("<rect width='272' height='60' fill='#ffffff'/>"
                "<path d='M10 40 h24 l4 -6 h14 v22 h-42 Z' fill='#7fc3f0' stroke='#2f6fcf'/>"
                "<path d='M218 28 h24 l4 4 h16 v22 h-44 Z' fill='#f2c94c' stroke='#b08d1e'/>"
                f"<g><path d='M-8 -10 h16 v20 h-16 Z' fill='#fff' stroke='#777'/>"
                f"<animateTransform attributeName='transform' type='translate' from='{start} 30' to='{end} 30' "
                "dur='1.2s' repeatCount='indefinite'/></g>")
        write(f"animations/{name}.svg", 272, 60, body)


if __name__ == "__main__":
    buttons()
    bitmaps()
    icons()
    file_types()
    cursor_and_animations()
