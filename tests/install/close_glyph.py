# Prints "x y" of the top-left corner of the red close glyph of the window's
# skin in a screenshot (any format ImageMagick reads), or "none".
import subprocess
import sys

ppm = subprocess.run(["convert", sys.argv[1], "-depth", "8", "ppm:-"],
                     check=True, capture_output=True).stdout
# Binary PPM: "P6\n<w> <h>\n255\n" then RGB bytes.
parts = ppm.split(b"\n", 3)
width, height = map(int, parts[1].split())
pixels = parts[3]
xs, ys = [], []
for y in range(height):
    row = pixels[y * width * 3:(y + 1) * width * 3]
    for x in range(width):
        r, g, b = row[3 * x], row[3 * x + 1], row[3 * x + 2]
        if r > 180 and g < 120 and b < 120:
            xs.append(x)
            ys.append(y)
print(f"{min(xs)} {min(ys)}" if xs else "none")
