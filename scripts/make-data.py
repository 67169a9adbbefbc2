#!/usr/bin/env python3
"""Makes the game's own sample pictures, background tile and sound effects (run once; the results are committed).

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


def main():
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


if __name__ == "__main__":
    sys.exit(main())
