#!/usr/bin/env python3
"""Reference values for the EQ display's filter response tests.

Computes, independently of the C++ code, the per-column levels and pixel rows of every filter type of the
unit from the display's published formulas, in single precision with the same order of operations (each
float operation is rounded to float32 with the struct module; the row evaluation is in double precision).
Writes the C++ table that tests/widgets/XEQFilterMathTest.cpp includes:

    python3 tests/widgets/filter_reference.py > tests/widgets/FilterResponseReference.h
"""

import math
import struct


def f32(x):
    """x rounded to single precision (infinities and NaN pass through)."""
    if math.isnan(x) or math.isinf(x):
        return x
    try:
        return struct.unpack("<f", struct.pack("<f", x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


def fadd(a, b):
    return f32(a + b)


def fsub(a, b):
    return f32(a - b)


def fmul(a, b):
    return f32(a * b)


def fdiv(a, b):
    if b == 0:
        if a == 0 or math.isnan(a):
            return math.nan
        return math.copysign(math.inf, a) * math.copysign(1.0, b)
    return f32(a / b)


# Single-precision library functions: evaluated in double, rounded to float.
def fsin(x):
    return f32(math.sin(x))


def fcos(x):
    return f32(math.cos(x))


def ftan(x):
    return f32(math.tan(x))


def fsqrt(x):
    return f32(math.sqrt(x))


def fatan2(y, x):
    return f32(math.atan2(y, x))


def fpow(x, y):
    return f32(math.pow(x, y))


def fexp(x):
    return f32(math.exp(x))


def flog(x):
    return f32(math.log(x))


PI_F = f32(math.pi)
TWO_PI_F = f32(2 * math.pi)
TWO_PI_D = 2 * math.pi
SHELF_SQRT_HALF = f32(0.7071067812)


def bilinear_pole_to_z(re, im):
    one_plus = fadd(1.0, re)
    one_minus = fsub(1.0, re)
    num = fadd(fmul(one_plus, one_plus), fmul(im, im))
    den = fadd(fmul(one_minus, one_minus), fmul(im, im))
    radius = fsqrt(fdiv(num, den))
    angle = fsub(fatan2(im, one_plus), fatan2(-im, one_minus))
    return radius, angle


def prewarp(f, fs):
    return ftan(fdiv(fmul(PI_F, f), fs))


def first_order_pole(re):
    r, ang = bilinear_pole_to_z(re, 0.0)
    return fmul(r, fcos(ang))


def first_order_section(k, high_pass):
    """(a0, a1, a2, b0, b1, b2)"""
    if high_pass:
        b0 = fmul(fadd(1.0, k), 0.5)
        b1 = -b0
    else:
        b0 = fmul(fsub(1.0, k), 0.5)
        b1 = b0
    return (1.0, -k, 0.0, b0, b1, 0.0)


def pole_placed_section(re, im, high_pass):
    r, th = bilinear_pole_to_z(re, im)
    a1 = fmul(fmul(-2.0, r), fcos(th))
    a2 = fmul(r, r)
    if high_pass:
        b0 = fmul(fadd(a2, fsub(1.0, a1)), 0.25)
        b1 = fmul(-2.0, b0)
    else:
        b0 = fmul(fadd(fadd(a1, 1.0), a2), 0.25)
        b1 = fmul(2.0, b0)
    return (1.0, a1, a2, b0, b1, b0)


def shelf_terms(A, c, beta, sign):
    """Low shelf with sign +1, high shelf with sign -1 (the sign of the (A-1)c term in a0)."""
    Ap1 = fadd(A, 1.0)
    Am1 = fsub(A, 1.0)
    Am1c = fmul(Am1, c)
    Ap1c = fmul(Ap1, c)
    if sign > 0:
        a0 = fadd(fadd(Ap1, Am1c), beta)
        a1 = fmul(-2.0, fadd(Am1, Ap1c))
        a2 = fsub(fadd(Ap1, Am1c), beta)
        b0 = fmul(A, fadd(fsub(Ap1, Am1c), beta))
        b1 = fmul(fmul(2.0, A), fsub(Am1, Ap1c))
        b2 = fmul(A, fsub(fsub(Ap1, Am1c), beta))
    else:
        a0 = fadd(fsub(Ap1, Am1c), beta)
        a1 = fmul(2.0, fsub(Am1, Ap1c))
        a2 = fsub(fsub(Ap1, Am1c), beta)
        b0 = fmul(A, fadd(fadd(Ap1, Am1c), beta))
        b1 = fmul(fmul(-2.0, A), fadd(Am1, Ap1c))
        b2 = fmul(A, fsub(fadd(Ap1, Am1c), beta))
    return (a0, a1, a2, b0, b1, b2)


def butterworth_shelf_half(X, Y, c, s, low):
    """One half (a with F, H or b with D, E) of a second-order Butterworth-form shelf."""
    term = fmul(fdiv(Y, SHELF_SQRT_HALF), s)
    Xp1 = fadd(X, 1.0)
    if low:
        mid = fmul(fsub(1.0, X), c)
        first = fmul(-2.0, fsub(1.0, X))
    else:
        mid = fmul(fsub(X, 1.0), c)
        first = fmul(-2.0, fsub(X, 1.0))
    c0 = fadd(fadd(Xp1, mid), term)
    c1 = fsub(first, fmul(fmul(2.0, Xp1), c))
    c2 = fsub(fadd(Xp1, mid), term)
    return (c0, c1, c2)


def compute_biquad(typ, G, f, Q, fs):
    if typ in (0, 1):
        A = fpow(10.0, fdiv(G, 40.0))
        w0 = fdiv(fmul(TWO_PI_F, f), fs)
        c = fcos(w0)
        s = fsin(w0)
        beta = fdiv(fmul(fsqrt(A), s), Q)
        return shelf_terms(A, c, beta, +1 if typ == 0 else -1)
    if typ in (3, 4, 5, 6, 29, 30):
        w0 = fdiv(fmul(TWO_PI_F, f), fs)
        c = fcos(w0)
        alpha = fdiv(fsin(w0), fmul(2.0, Q))
        a = (fadd(1.0, alpha), fmul(-2.0, c), fsub(1.0, alpha))
        if typ == 3:
            b0 = fmul(fsub(1.0, c), 0.5)
            b = (b0, fsub(1.0, c), b0)
        elif typ == 4:
            b0 = fmul(fadd(c, 1.0), 0.5)
            b = (b0, -fadd(c, 1.0), b0)
        elif typ == 5:
            b = (alpha, 0.0, -alpha)
        elif typ == 6:
            b = (1.0, fmul(-2.0, c), 1.0)
        else:
            b = (fsub(1.0, alpha), fmul(-2.0, c), fadd(1.0, alpha))
        return a + b
    if typ in (7, 8):
        k = first_order_pole(-prewarp(f, fs))
        return first_order_section(k, typ == 8)
    if typ in (9, 10):
        g = fpow(10.0, fdiv(G, 20.0))
        t = prewarp(f, fs)
        p = t
        z = t
        if typ == 9:
            if g >= 1:
                p = fdiv(t, g)
            else:
                z = fmul(t, g)
            return (fadd(p, 1.0), fsub(p, 1.0), 0.0, fadd(z, 1.0), fsub(z, 1.0), 0.0)
        if g >= 1:
            p = fmul(t, g)
        else:
            z = fdiv(t, g)
        return (fadd(p, 1.0), fsub(p, 1.0), 0.0, fmul(g, fadd(z, 1.0)), fmul(g, fsub(z, 1.0)), 0.0)
    if typ in (11, 12):
        w = TWO_PI_D * f / fs
        c = f32(math.cos(w))
        s = f32(math.sin(w))
        g = fpow(10.0, fdiv(-abs(G), 20.0))
        D = 1.0 if G > 0 else g
        E = 1.0 if G > 0 else fsqrt(g)
        F = 1.0 if G < 0 else g
        H = 1.0 if G < 0 else fsqrt(g)
        a = butterworth_shelf_half(F, H, c, s, typ == 11)
        b = butterworth_shelf_half(D, E, c, s, typ == 11)
        return a + b
    if typ in (13, 14, 15, 16):
        t = prewarp(f, fs)
        if typ == 15:
            re = fmul(t, f32(-1.10160133059216))
            im = fmul(t, f32(0.63600982475703))
        elif typ == 16:
            re = fmul(t, f32(-0.68082706435806))
            im = fmul(t, f32(0.39307568887871))
        else:
            re = fmul(t, f32(-0.7071067811865475))
            im = -re
        return pole_placed_section(re, im, typ in (14, 16))
    if typ in (17, 18):
        k = first_order_pole(-prewarp(f, fs))
        a = (1.0, fmul(-2.0, k), fmul(k, k))
        if typ == 17:
            m = fmul(fsub(1.0, k), 0.5)
            b = (fmul(m, m), fmul(fmul(2.0, m), m), fmul(m, m))
        else:
            n = fmul(fadd(1.0, k), 0.5)
            b = (fmul(n, n), fmul(fmul(-2.0, n), n), fmul(n, n))
        return a + b
    # Peaking, and every unlisted type: x = w0 / Q through q' = Q s / w0.
    A = fpow(10.0, fdiv(G, 40.0))
    w0 = fdiv(fmul(TWO_PI_F, f), fs)
    c = fcos(w0)
    s = fsin(w0)
    q_prime = fdiv(fmul(Q, s), w0)
    x = fdiv(s, q_prime)
    return (fadd(1.0, fdiv(x, A)), fmul(-2.0, c), fsub(1.0, fdiv(x, A)),
            fadd(1.0, fmul(x, A)), fmul(-2.0, c), fsub(1.0, fmul(x, A)))


def normalise(rec):
    a0, a1, a2, b0, b1, b2 = rec
    if b0 == 0.0:
        return rec
    return (fdiv(a0, b0), fdiv(a1, b0), fdiv(a2, b0), 1.0, fdiv(b1, b0), fdiv(b2, b0))


# (high pass, [(first order, re, im), (first order, re, im)]) for types 19..28.
CASCADES = {
    19: (False, [(True, -1.32267579991045, 0.0), (False, -1.04740916100893, 0.99926443628064)]),
    20: (True, [(True, -0.75604316648699, 0.0), (False, -0.49981460109711, 0.47684035446953)]),
    21: (False, [(True, -1.0, 0.0), (False, -0.5, 0.86602540378444)]),
    22: (True, [(True, -1.0, 0.0), (False, -0.5, 0.86602540378444)]),
    23: (False, [(False, -0.99520876435027, 1.25710573945467), (False, -1.37006783055144, 0.41024971749375)]),
    24: (True, [(False, -0.38712698744445, 0.48900248394811), (False, -0.66983185000766, 0.20067278997884)]),
    25: (False, [(False, -0.92387953251129, 0.38268343236509), (False, -0.38268343236509, 0.92387953251129)]),
    26: (True, [(False, -0.92387953251129, 0.38268343236509), (False, -0.38268343236509, 0.92387953251129)]),
    27: (False, [(False, -0.7071067811865475, 0.7071067811865475)] * 2),
    28: (True, [(False, -0.7071067811865475, 0.7071067811865475)] * 2),
}


def band_sections(typ, G, f, Q, fs):
    """List of (a, b) coefficient triples, as doubles."""
    if typ in CASCADES:
        high_pass, poles = CASCADES[typ]
        t = prewarp(f, fs)
        sections = []
        for first, re, im in poles:
            if first:
                rec = first_order_section(first_order_pole(fmul(t, f32(re))), high_pass)
            else:
                rec = pole_placed_section(fmul(t, f32(re)), fmul(t, f32(im)), high_pass)
            sections.append((rec[0:3], rec[3:6]))
        return sections
    rec = normalise(compute_biquad(typ, G, f, Q, fs))
    return [(rec[0:3], rec[3:6])]


def section_level(a, b, w):
    """d = 20 log10(|A| / |B|) in double, held in float; None where it cannot be taken."""
    c1, s1, c2, s2 = math.cos(w), math.sin(w), math.cos(2 * w), math.sin(2 * w)
    a_re = a[0] + a[1] * c1 + a[2] * c2
    a_im = -(a[1] * s1 + a[2] * s2)
    b_re = b[0] + b[1] * c1 + b[2] * c2
    b_im = -(b[1] * s1 + b[2] * s2)
    p_re = b_re * a_re + b_im * a_im
    p_im = b_re * a_im - b_im * a_re
    b_norm = b_re * b_re + b_im * b_im
    if b_norm == 0:
        return None
    v = math.sqrt(p_re * p_re + p_im * p_im) / b_norm
    if not v > 0 or math.isinf(v):
        return None
    return f32(20 * math.log(v) / math.log(10))


def column_levels(typ, G, f, Q, width, fmax, fs):
    """Per column: (frequency, level d' summed over the sections)."""
    sections = band_sections(typ, G, f, Q, fs)
    ratio = fexp(fdiv(flog(fdiv(fmax, 20.0)), f32(width)))
    nyquist = fmul(fs, 0.5)
    freq = 20.0
    carried = [0.0] * len(sections)
    out = []
    for _ in range(width):
        if not freq < nyquist:
            out.append((0.0, 0.0))
            continue
        w = TWO_PI_D * freq / fs
        column_freq = freq
        freq = fmul(freq, ratio)
        total = 0.0
        for j, (a, b) in enumerate(sections):
            d = section_level(a, b, w)
            if d is not None:
                carried[j] = d
            rounded = fdiv(fadd(fmul(carried[j], 1000.0), 0.5), 1000.0)
            total = rounded if j == 0 else fadd(total, rounded)
        out.append((column_freq, total))
    return out


def pixels_per_db(height, display_range):
    return fmul(f32(20.0 / display_range), fdiv(f32(height), 40.0))


def to_pixels(x):
    return max(-32768, min(32767, int(x)))  # int() truncates toward zero


def band_level_at(typ, G, f, Q, fs, at):
    w = TWO_PI_D * at / fs
    total = 0.0
    for a, b in band_sections(typ, G, f, Q, fs):
        d = section_level(a, b, w)
        if d is None:
            return None
        total = fadd(total, d)
    return total


FS = 48000.0

# (type, gain dB, frequency Hz, q): every type of the unit, 31 and -1 for unlisted types.
CASES = [
    (0, 9.0, 200.0, 0.7), (0, -6.0, 1000.0, 2.0),
    (1, 6.0, 5000.0, 0.7), (1, -12.0, 800.0, 1.4),
    (2, 12.0, 1000.0, 2.0), (2, -8.0, 63.0, 0.5), (2, 15.0, 12000.0, 8.0),
    (3, 0.0, 1000.0, 0.7071), (3, 0.0, 3000.0, 4.0),
    (4, 0.0, 200.0, 0.7071), (4, 0.0, 80.0, 2.0),
    (5, 0.0, 1000.0, 1.0),
    (6, 0.0, 1000.0, 5.0),
    (7, 0.0, 500.0, 1.0),
    (8, 0.0, 500.0, 1.0),
    (9, 6.0, 1000.0, 1.0), (9, -6.0, 1000.0, 1.0),
    (10, 6.0, 2000.0, 1.0), (10, -9.0, 500.0, 1.0),
    (11, 6.0, 300.0, 1.0), (11, -6.0, 300.0, 1.0),
    (12, 6.0, 3000.0, 1.0), (12, -9.0, 3000.0, 1.0),
    (13, 0.0, 1000.0, 1.0), (14, 0.0, 1000.0, 1.0),
    (15, 0.0, 1000.0, 1.0), (16, 0.0, 1000.0, 1.0),
    (17, 0.0, 1000.0, 1.0), (18, 0.0, 1000.0, 1.0),
    (19, 0.0, 1000.0, 1.0), (20, 0.0, 1000.0, 1.0),
    (21, 0.0, 1000.0, 1.0), (22, 0.0, 1000.0, 1.0),
    (23, 0.0, 1000.0, 1.0), (24, 0.0, 1000.0, 1.0),
    (25, 0.0, 1000.0, 1.0), (26, 0.0, 1000.0, 1.0),
    (27, 0.0, 2500.0, 1.0), (28, 0.0, 150.0, 1.0),
    (29, 0.0, 1000.0, 1.0), (30, 0.0, 1000.0, 1.0),
    (31, 6.0, 1000.0, 1.0), (-1, -6.0, 250.0, 2.0),
]

# The view of the tables: 600 columns of 200 pixels, range 20 dB (5 pixels per dB), axis to 20 kHz.
WIDTH, HEIGHT, RANGE, FMAX = 600, 200, 20.0, 20000.0
COLUMNS = [0, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500, 550, 599]

# A second view: 1024 columns of 120 pixels, range 12.75 dB, axis to half the sample rate.
WIDE_WIDTH, WIDE_HEIGHT, WIDE_RANGE, WIDE_FMAX = 1024, 120, 12.75, FS * 0.5
WIDE_COLUMNS = [0, 128, 256, 384, 512, 640, 768, 896, 1023]
WIDE_CASES = [(2, 12.0, 1000.0, 2.0), (11, -6.0, 300.0, 1.0), (22, 0.0, 100.0, 1.0), (27, 0.0, 8000.0, 1.0)]

# Points that catch classic mistakes: (type, gain, frequency, q, evaluated at Hz).
CORNERS = [(t, 0.0, 1000.0, 1.0, 1000.0) for t in (13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28)]
CORNERS += [
    (2, 12.0, 1000.0, 2.0, 1000.0), (2, -9.0, 5000.0, 0.7, 5000.0),
    (0, 12.0, 500.0, 0.7071, 500.0), (1, -10.0, 2000.0, 0.7071, 2000.0),
    (9, 6.0, 1000.0, 1.0, 0.0), (9, 6.0, 1000.0, 1.0, 24000.0),
    (9, -6.0, 1000.0, 1.0, 0.0), (9, -6.0, 1000.0, 1.0, 24000.0),
    (10, 6.0, 1000.0, 1.0, 0.0), (10, 6.0, 1000.0, 1.0, 24000.0),
    (10, -9.0, 1000.0, 1.0, 0.0), (10, -9.0, 1000.0, 1.0, 24000.0),
    (11, 6.0, 1000.0, 1.0, 0.0), (11, 6.0, 1000.0, 1.0, 24000.0),
    (11, -9.0, 1000.0, 1.0, 0.0), (11, -9.0, 1000.0, 1.0, 24000.0),
    (12, 6.0, 1000.0, 1.0, 0.0), (12, 6.0, 1000.0, 1.0, 24000.0),
    (12, -9.0, 1000.0, 1.0, 0.0), (12, -9.0, 1000.0, 1.0, 24000.0),
    (3, 0.0, 1000.0, 0.7071, 1000.0), (29, 0.0, 1000.0, 1.0, 300.0),
]


def fmt(x):
    return "%.6ff" % x


def emit_cases(name, cases, width, height, rng, fmax, columns):
    ppd = pixels_per_db(height, rng)
    print("// %d columns of %d pixels, range %g dB, axis 20 Hz .. %g Hz; columns %s."
          % (width, height, rng, fmax, ", ".join(str(c) for c in columns)))
    print("const ReferenceCase %s[] = {" % name)
    for typ, G, f, Q in cases:
        levels = column_levels(typ, f32(G), f32(f), f32(Q), width, f32(fmax), FS)
        picked = [levels[c][1] for c in columns]
        rows = [to_pixels(fmul(level, ppd)) for level in picked]
        print("    {%d, %s, %s, %s, {%s}, {%s}}," % (typ, fmt(G), fmt(f), fmt(Q),
                                                  ", ".join(fmt(v) for v in picked),
                                                  ", ".join(str(r) for r in rows)))
    print("};")
    print()


def main():
    print("// Generated by tests/widgets/filter_reference.py: do not edit by hand.")
    print("// Levels are minus the filter's gain in dB; rows are pixel offsets, positive downward.")
    print("#pragma once")
    print()
    print("namespace FilterResponseReference")
    print("{")
    print("constexpr float kSampleRate = %s;" % fmt(FS))
    print("constexpr int kWidth = %d, kHeight = %d;" % (WIDTH, HEIGHT))
    print("constexpr double kRange = %r;" % RANGE)
    print("constexpr float kUpperFrequency = %s;" % fmt(FMAX))
    print("constexpr int kColumns[] = {%s};" % ", ".join(str(c) for c in COLUMNS))
    print("constexpr int kWideWidth = %d, kWideHeight = %d;" % (WIDE_WIDTH, WIDE_HEIGHT))
    print("constexpr double kWideRange = %r;" % WIDE_RANGE)
    print("constexpr float kWideUpperFrequency = %s;" % fmt(WIDE_FMAX))
    print("constexpr int kWideColumns[] = {%s};" % ", ".join(str(c) for c in WIDE_COLUMNS))
    print()
    print("struct ReferenceCase")
    print("{")
    print("    int type;")
    print("    float gain, frequency, q;")
    print("    float levels[%d];" % max(len(COLUMNS), len(WIDE_COLUMNS)))
    print("    int rows[%d];" % max(len(COLUMNS), len(WIDE_COLUMNS)))
    print("};")
    print()
    emit_cases("kCases", CASES, WIDTH, HEIGHT, RANGE, FMAX, COLUMNS)
    emit_cases("kWideCases", WIDE_CASES, WIDE_WIDTH, WIDE_HEIGHT, WIDE_RANGE, WIDE_FMAX, WIDE_COLUMNS)
    print("struct ReferencePoint")
    print("{")
    print("    int type;")
    print("    float gain, frequency, q;")
    print("    double at;")
    print("    float level;")
    print("};")
    print()
    print("// Levels at single frequencies (not rounded like the columns).")
    print("const ReferencePoint kPoints[] = {")
    for typ, G, f, Q, at in CORNERS:
        level = band_level_at(typ, f32(G), f32(f), f32(Q), FS, at)
        print("    {%d, %s, %s, %s, %r, %s}," % (typ, fmt(G), fmt(f), fmt(Q), at, fmt(level)))
    print("};")
    print("} // namespace FilterResponseReference")


if __name__ == "__main__":
    main()
