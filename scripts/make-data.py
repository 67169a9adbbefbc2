#!/usr/bin/env python3
"""Makes the game's own sample pictures, background tile, sound effects and sample skin (run once; the results are committed).

Pictures are drawn procedurally as PPM and turned into BMP/JPEG with ImageMagick's convert; sounds are plain
16-bit mono waves synthesised here. Everything is the project's own work, free of third-party content.
"""
import math, os, random, struct, subprocess, sys, tempfile, wave

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def save(pixels, w, h, out, *extra):
    with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as f:
        f.write(b"P6 %d %d 255\n" % (w, h))
        f.write(bytes(pixels))
        tmp = f.name
    subprocess.run(["convert", tmp, *extra, out], check=True)
    os.unlink(tmp)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def mountains(w=800, h=600):
    """A lake under mountains at sunset: a landscape picture."""
    rnd = random.Random(7)
    ridges = []
    for layer in range(4):
        base, amp = h * (0.35 + 0.09 * layer), h * (0.16 - 0.025 * layer)
        phases = [rnd.uniform(0, 6.3) for _ in range(4)]
        ridges.append([base - amp * sum(math.sin(x / (60 + 37 * k) + phases[k]) / (k + 1) for k in range(4))
                       for x in range(w)])
    colours = [(96, 70, 120), (70, 60, 100), (50, 70, 80), (30, 55, 50)]
    lake = int(h * 0.72)
    sun = (w * 0.62, h * 0.30, h * 0.08)
    px = bytearray()
    for y in range(h):
        for x in range(w):
            yy = y if y < lake else 2 * lake - y  # reflection in the lake
            c = mix((255, 120, 60), (40, 40, 110), 1 - yy / (h * 0.6))
            d = math.hypot(x - sun[0], yy - sun[1])
            if d < sun[2]:
                c = mix((255, 230, 120), c, d / sun[2] * 0.3)
            elif d < sun[2] * 3:
                c = mix((255, 200, 110), c, (d - sun[2]) / (sun[2] * 2))
            for layer in range(4):
                if yy > ridges[layer][x]:
                    shade = 0.8 + 0.2 * math.sin(x / 9.0 + layer) * math.cos(yy / 13.0)
                    c = tuple(int(v * shade) for v in colours[layer])
            if y >= lake:
                ripple = 0.75 + 0.1 * math.sin(y * 0.9 + math.sin(x * 0.05) * 3)
                c = tuple(int(v * ripple) for v in mix(c, (40, 60, 120), 0.25))
            px += bytes(c)
    return px, w, h


def balloons(w=480, h=640):
    """Hot-air balloons in a blue sky: a portrait picture."""
    rnd = random.Random(11)
    items = [(rnd.uniform(40, w - 40), rnd.uniform(60, h - 120), rnd.uniform(30, 70),
              [(230, 60, 60), (250, 200, 40), (60, 160, 220), (120, 200, 90), (200, 90, 200)][i % 5])
             for i in range(9)]
    px = bytearray()
    for y in range(h):
        for x in range(w):
            c = mix((120, 180, 250), (230, 240, 255), y / h)
            cloud = math.sin(x / 37.0) * math.sin(y / 23.0 + x / 91.0)
            if cloud > 0.75:
                c = mix(c, (250, 250, 250), (cloud - 0.75) * 3)
            for bx, by, r, col in items:
                dx, dy = (x - bx) / r, (y - by) / (r * 1.2)
                if dx * dx + dy * dy < 1:
                    stripe = int((math.atan2(dy, dx) + math.pi) / (math.pi / 4)) % 2
                    c = mix(col, (255, 255, 255), 0.35 * stripe + 0.25 * (1 - dx * dx - dy * dy) ** 4)
                elif abs(x - bx) < r * 0.25 and by + r * 1.35 < y < by + r * 1.7:
                    c = (120, 80, 40)
                elif abs(abs(x - bx) - r * 0.22) < 1 and by + r * 1.0 < y < by + r * 1.35:
                    c = (60, 40, 30)
            px += bytes(c)
    return px, w, h


def city(w=1000, h=420):
    """A city skyline at night with lit windows: a wide picture."""
    rnd = random.Random(3)
    buildings, x = [], 0
    while x < w:
        bw = rnd.randint(40, 110)
        buildings.append((x, x + bw, rnd.randint(int(h * 0.2), int(h * 0.75)), rnd.choice(
            [(40, 44, 70), (55, 50, 80), (35, 60, 75), (70, 55, 60)])))
        x += bw + rnd.randint(0, 12)
    stars = {(rnd.randrange(w), rnd.randrange(h // 2)) for _ in range(300)}
    px = bytearray()
    for y in range(h):
        for x in range(w):
            c = mix((10, 12, 40), (90, 50, 110), y / h)
            if (x, y) in stars:
                c = (255, 255, 220)
            if math.hypot(x - w * 0.15, y - h * 0.18) < 28:
                c = (245, 240, 210)
            for left, right, top, col in buildings:
                if left <= x < right and y >= h - top:
                    c = col
                    wx, wy = (x - left) % 14, (y - (h - top)) % 18
                    if 4 <= wx < 10 and 5 <= wy < 13 and (x // 14 * 7 + y // 18 * 13 + left) % 5 < 3:
                        c = (250, 220, 120)
            if y > h * 0.92:
                c = mix(c, (20, 20, 30), 0.6)
            px += bytes(c)
    return px, w, h


def felt_tile(w=64, h=64):
    """A dark green felt tile that repeats without seams."""
    rnd = random.Random(5)
    px = bytearray()
    for y in range(h):
        for x in range(w):
            n = (math.sin(2 * math.pi * x / w * 3) + math.sin(2 * math.pi * y / h * 2)
                 + math.sin(2 * math.pi * (x + y) / w * 5)) / 3
            g = 0.85 + 0.1 * n + rnd.uniform(-0.05, 0.05)
            px += bytes(tuple(int(v * g) for v in (38, 92, 60)))
    return px, w, h


def tone(name, notes, rate=22050):
    """notes: list of (frequency Hz, seconds, volume); each note fades out."""
    frames = bytearray()
    for freq, secs, vol in notes:
        n = int(rate * secs)
        for i in range(n):
            env = min(1.0, i / (rate * 0.005)) * (1 - i / n) ** 2
            v = 0.0 if freq == 0 else math.sin(2 * math.pi * freq * i / rate) + 0.3 * math.sin(4 * math.pi * freq * i / rate)
            frames += struct.pack("<h", int(12000 * vol * env * v))
    with wave.open(os.path.join(ROOT, "SOUND", name), "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(rate)
        f.writeframes(bytes(frames))


# ---- the sample skin: a window picture with a bar of buttons and number displays over the game's room ----

GLYPHS = {  # 5 x 7 pixel letters, drawn by the project
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
}
SKIN_W, SKIN_H = 840, 660
SKIN_GAME = (12, 60, 816, 588)  # x, y, w, h
BUTTON = (48, 40)
DISPLAY = (72, 40)
SKIN_PIECES = [10, 20, 50, 100, 150, 200, 300, 400, 500, 600]  # a display holds ten values at most
ALL_PIECES = [4, 10, 20, 50, 75, 100, 150, 200, 250, 300, 400, 500, 600]
ALL_SIZES = [0, 200, 300, 400, 500, 600, 700, 800, 900, 1000]


class Canvas:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, c)

    def text(self, s, x, y, c, scale=2):
        for ch in s:
            for gy, row in enumerate(GLYPHS[ch]):
                for gx, bit in enumerate(row):
                    if bit == "1":
                        self.rect(x + gx * scale, y + gy * scale, scale, scale, c)
            x += 6 * scale

    def round_corners(self, r=5):
        # Pure white is left out when the picture is laid on the window: the corners become the window below.
        for y in range(r):
            for x in range(r):
                if math.hypot(r - x - 0.5, r - y - 0.5) > r:
                    for cx, cy in ((x, y), (self.w - 1 - x, y), (x, self.h - 1 - y), (self.w - 1 - x, self.h - 1 - y)):
                        self.put(cx, cy, (255, 255, 255))

    def save(self, path):
        save(b"".join(bytes(c) for row in self.px for c in row), self.w, self.h, "BMP3:" + path, "-type", "TrueColor")


def skin_window():
    c = Canvas(SKIN_W, SKIN_H, (0, 0, 0))
    for y in range(SKIN_H):
        for x in range(SKIN_W):
            c.px[y][x] = mix((52, 72, 110), (24, 32, 58), y / SKIN_H + 0.08 * math.sin(x / 37.0))
    gx, gy, gw, gh = SKIN_GAME
    c.rect(gx - 2, gy - 2, gw + 4, gh + 4, (200, 200, 210))  # a light rim round the game's room
    c.rect(gx, gy, gw, gh, (64, 64, 64))
    c.text("ZELTO", 560, 14, (230, 200, 120), 3)
    return c


def icon(c, kind, ox, oy, colour):
    cx, cy = ox + BUTTON[0] // 2, oy + BUTTON[1] // 2
    for d in range(-9, 10):
        if kind == "exit":
            for t in (-1, 0, 1):
                c.put(cx + d + t, cy + d, colour)
                c.put(cx + d + t, cy - d, colour)
        elif kind in ("num_up", "sz_up", "num_dn", "sz_dn", "start"):
            n = 9 - abs(d)
            for e in range(n):
                if kind == "start":
                    c.put(cx - 4 + e, cy + d, colour)  # a triangle pointing right
                elif kind.endswith("up"):
                    c.put(cx + d, cy + 4 - e, colour)  # columns rising from a common base: pointing up
                else:
                    c.put(cx + d, cy - 4 + e, colour)
    if kind == "view":
        for qx in (-9, 2):
            for qy in (-9, 2):
                c.rect(cx + qx, cy + qy, 7, 7, colour)


def skin_button(kind, state, out):
    face = [(90, 110, 160), (130, 160, 220), (50, 60, 100)][state]
    c = Canvas(*BUTTON, face)
    light, dark = ((200, 210, 240), (30, 36, 60)) if state < 2 else ((30, 36, 60), (160, 170, 200))
    c.rect(0, 0, BUTTON[0], 2, light)
    c.rect(0, 0, 2, BUTTON[1], light)
    c.rect(0, BUTTON[1] - 2, BUTTON[0], 2, dark)
    c.rect(BUTTON[0] - 2, 0, 2, BUTTON[1], dark)
    shift = 1 if state == 2 else 0
    icon(c, kind, shift, shift, (250, 240, 200) if kind != "exit" else (255, 150, 130))
    c.round_corners()
    c.save(out)


def skin_display(value, out):
    c = Canvas(*DISPLAY, (16, 24, 20))
    text = str(value) if value else "OFF"
    w = len(text) * 12 - 2
    c.text(text, (DISPLAY[0] - w) // 2, (DISPLAY[1] - 14) // 2, (120, 240, 140))
    c.round_corners()
    c.save(out)


def skin():
    folder = os.path.join(ROOT, "SKIN")
    os.makedirs(folder, exist_ok=True)
    skin_window().save(os.path.join(folder, "win_0.bmp"))
    places = {"start": 12, "view": 66, "num_dn": 140, "num_up": 268, "sz_dn": 350, "sz_up": 478, "exit": 780}
    for kind in places:
        for state in range(3):
            skin_button(kind, state, os.path.join(folder, "%s_%d.bmp" % (kind, state)))
    for v in ALL_PIECES:
        skin_display(v, os.path.join(folder, "num_%d.bmp" % v))
    for v in ALL_SIZES:
        skin_display(v, os.path.join(folder, "sz_%d.bmp" % v))
    tips = {"start": "始めからやり直し", "view": "画像一覧", "num_dn": "ピース数を減らす", "num_up": "ピース数を増やす",
            "sz_dn": "画像を小さく", "sz_up": "画像を大きく", "exit": "終了\\n（設定は保存されます）"}
    gx, gy, gw, gh = SKIN_GAME
    lines = ["# zelto's sample skin: name x y ... (see README). Pure white in a picture is transparent.",
             "win 0 0", "game %d %d %d %d" % (gx, gy, gw, gh)]
    lines += ["%s %d 8 %s" % (kind, x, tips[kind]) for kind, x in places.items()]
    lines.append("num 192 8 %d %s ピース数" % (len(SKIN_PIECES), " ".join(map(str, SKIN_PIECES))))
    lines.append("sz 402 8 %d %s 画像の大きさ" % (len(ALL_SIZES), " ".join(map(str, ALL_SIZES))))
    lines.append("/end")
    with open(os.path.join(folder, "SKIN.TXT"), "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("cp932"))


def main():
    if sys.argv[1:] == ["skin"]:  # only the sample skin
        return skin()
    save(*mountains(), os.path.join(ROOT, "data", "mountains.jpg"), "-quality", "90")
    save(*balloons(), "BMP3:" + os.path.join(ROOT, "data", "balloons.bmp"), "-type", "TrueColor")
    save(*city(), os.path.join(ROOT, "data", "city.jpg"), "-quality", "90")
    save(*felt_tile(), "BMP3:" + os.path.join(ROOT, "bkimg", "タイル１.BMP"), "-type", "TrueColor")
    tone("start.wav", [(523, 0.08, 0.6), (784, 0.12, 0.6)])
    tone("end.wav", [(784, 0.08, 0.6), (523, 0.14, 0.6)])
    tone("gm_st.wav", [(659, 0.07, 0.5), (784, 0.07, 0.5), (1047, 0.16, 0.5)])
    tone("gm_end.wav", [(523, 0.12, 0.7), (659, 0.12, 0.7), (784, 0.12, 0.7), (1047, 0.4, 0.7)])
    tone("turn.wav", [(880, 0.04, 0.4)])
    tone("hanten.wav", [(440, 0.03, 0.4), (660, 0.05, 0.4)])
    tone("joint.wav", [(1200, 0.02, 0.8), (300, 0.05, 0.5)])
    tone("sel.wav", [(1500, 0.015, 0.3)])
    skin()


if __name__ == "__main__":
    sys.exit(main())
