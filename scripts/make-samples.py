#!/usr/bin/env python3
"""Makes the sample coordinate files in samples/ and checks that the point test finds the
one blunder in them.

Old system: twelve control points 1001..1012 and twenty further points 2001..2020 in
Gauss-Krueger-size coordinates. New system: the control points turned by 23.4 mgon, scaled
by 18.5 ppm and shifted, with millimetre noise, and 1007 off by a few centimetres.
The new-system file has decimal commas and CR LF line ends, the others decimal points and LF.

Point test (equal weights, four parameters, reduced to the centroid):
  r_i = 1 - 1/n - d_i^2 / sum d_j^2,   So_(i)^2 = (sum |v|^2 - |v_i|^2 / r_i) / (2n - 6),
  T_i = |v_i|^2 / (2 r_i So_(i)^2),    k = (f/2) (alpha^(-2/f) - 1), f = 2n - 6, alpha = 0.1 %.
Run from the top folder: python3 scripts/make-samples.py
"""
import math
import random
import sys

random.seed(14)
ALPHA = 0.001
BLUNDER = "1007"

def old_points(names, rw0, hw0, spread):
    return [(n, round(rw0 + random.uniform(-spread, spread), 3),
             round(hw0 + random.uniform(-spread, spread), 3)) for n in names]

control = old_points([str(1001 + i) for i in range(12)], 4512000.0, 5431000.0, 1800.0)
further = old_points([str(2001 + i) for i in range(20)], 4512000.0, 5431000.0, 1500.0)

# New = shift + m R (old): RW = Yo + a rw + o hw, HW = Xo + a hw - o rw.
m = 1 + 18.5e-6
d = 0.0234 * math.pi / 200
a, o = m * math.cos(d), m * math.sin(d)
c_rw = sum(p[1] for p in control) / len(control)
c_hw = sum(p[2] for p in control) / len(control)
Yo = c_rw + 97.532 - (a * c_rw + o * c_hw)
Xo = c_hw - 183.214 - (a * c_hw - o * c_rw)

new = []
for name, rw, hw in control:
    RW = Yo + a * rw + o * hw + random.gauss(0, 0.002)
    HW = Xo + a * hw - o * rw + random.gauss(0, 0.002)
    if name == BLUNDER:
        RW += 0.031
        HW -= 0.038
    new.append((name, round(RW, 3), round(HW, 3)))

def point_test(old, new):
    n = len(old)
    crw = sum(p[1] for p in old) / n; chw = sum(p[2] for p in old) / n
    CRW = sum(p[1] for p in new) / n; CHW = sum(p[2] for p in new) / n
    x = [(p[1] - crw, p[2] - chw) for p in old]
    X = [(p[1] - CRW, p[2] - CHW) for p in new]
    s = sum(u * u + w * w for u, w in x)
    a = sum(u * U + w * W for (u, w), (U, W) in zip(x, X)) / s
    o = sum(w * U - u * W for (u, w), (U, W) in zip(x, X)) / s
    v = [(U - (a * u + o * w), W - (a * w - o * u)) for (u, w), (U, W) in zip(x, X)]
    vv = [vr * vr + vh * vh for vr, vh in v]
    f = 2 * n - 6
    k = f / 2 * (ALPHA ** (-2 / f) - 1)
    so = math.sqrt(sum(vv) / (2 * n - 4))
    T = []
    for (u, w), q in zip(x, vv):
        r = 1 - 1 / n - (u * u + w * w) / s
        so_i2 = (sum(vv) - q / r) / f
        T.append(q / (2 * r * so_i2))
    return so, k, T, (a, o)

so, k, T, (ea, eo) = point_test(control, new)
print(f"So = {so * 1000:.1f} mm, k = {k:.2f}")
for (name, _, _), t in zip(control, T):
    print(f"  {name}  T = {t:7.2f}{'  flagged' if t > k else ''}")
flagged = [p[0] for p, t in zip(control, T) if t > k]
blunder_T = T[[p[0] for p in control].index(BLUNDER)]
if flagged != [BLUNDER] or blunder_T < 2 * k:
    sys.exit(f"the samples do not show one clear blunder: flagged {flagged}")

def write(path, points, separator, line_end):
    with open(path, "w", newline="") as f:
        for name, rw, hw in points:
            f.write(f"{name} {rw:.3f} {hw:.3f}".replace(".", separator) + line_end)

write("samples/passpunkte_alt.asc", control, ".", "\n")
write("samples/passpunkte_neu.asc", new, ",", "\r\n")
write("samples/neupunkte_alt.asc", further, ".", "\n")
