#!/usr/bin/env python3
"""Make the game's two tunes and ten sound effects.

usage: make_sounds.py OUTDIR WORKDIR OGGENC [NAME...]

Makes the named sounds (file names without extension), or all of them. The
effects are written to OUTDIR as 16-bit PCM WAV. The tunes are written
as WAV to WORKDIR and encoded from there to OUTDIR as OGG Vorbis. Everything
is synthesised here from fixed seeds, so a build always makes the same sounds.

The tunes loop: every note is mixed into a circular buffer, so a tail that
rings past the end of the piece continues at its start and the last sample
runs smoothly into the first.
"""
import math
import os
import random
import struct
import subprocess
import sys
import wave

SR = 44100
TAU = 2 * math.pi
TABLE = 4096


def midi(n):
    return 440.0 * 2 ** ((n - 69) / 12)


def table(harmonics):
    """One cycle of a wave made of the given harmonic amplitudes."""
    peak = sum(abs(a) for a in harmonics)
    return [sum(a * math.sin(TAU * (k + 1) * i / TABLE) for k, a in enumerate(harmonics)) / peak
            for i in range(TABLE)]


SINE = table([1])
SOFT_SAW = table([1 / k for k in range(1, 9)])
BASS = table([1, 0.5, 0.25, 0.12])
REED = table([1, 0.45, 0.3, 0.2, 0.12, 0.08])
BRASS = table([1, 0.8, 0.6, 0.45, 0.3, 0.22, 0.15, 0.1])
BUZZ = table([1, 0.7, 0.55, 0.4, 0.35, 0.25, 0.2, 0.15, 0.1, 0.08])


def wave_of(tab, freq, n, phase=0.0):
    step = freq * TABLE / SR
    start = phase * TABLE
    return [tab[int(start + step * i) % TABLE] for i in range(n)]


def envelope(n, attack, release, decay_rate=0.0, sustain=1.0):
    """Linear attack, optional exponential fall towards a sustain level, and a
    linear release over the last `release` seconds of the n samples."""
    a = max(1, int(attack * SR))
    r = max(1, int(release * SR))
    out = []
    for i in range(n):
        t = i / SR
        level = sustain + (1 - sustain) * math.exp(-decay_rate * t) if decay_rate else 1.0
        if i < a:
            level *= i / a
        if i > n - r:
            level *= (n - i) / r
        out.append(level)
    return out


def times(x, y):
    return [a * b for a, b in zip(x, y)]


def add(x, y):
    """Sum of two signals; the shorter one counts as silence past its end."""
    if len(x) < len(y):
        x, y = y, x
    return [a + b for a, b in zip(x, y)] + x[len(y):]


def lowpass(x, cutoff):
    k = 1 - math.exp(-TAU * cutoff / SR)
    out, y = [], 0.0
    for v in x:
        y += k * (v - y)
        out.append(y)
    return out


def highpass(x, cutoff):
    low = lowpass(x, cutoff)
    return [a - b for a, b in zip(x, low)]


def noise(rng, n):
    return [rng.uniform(-1, 1) for _ in range(n)]


def silence(seconds):
    return [0.0] * int(seconds * SR)


# ---------------------------------------------------------------- instruments

_cache = {}


def cached(fn):
    def wrapper(*args):
        key = (fn.__name__,) + args
        if key not in _cache:
            _cache[key] = fn(*args)
        return _cache[key]
    return wrapper


@cached
def pad(freq, seconds):
    n = int((seconds + 0.8) * SR)
    body = add(wave_of(SOFT_SAW, freq * 0.997, n), wave_of(SOFT_SAW, freq * 1.003, n, 0.3))
    return times(lowpass(body, 1800), envelope(n, 0.35, 0.8))


@cached
def strings(freq, seconds):
    n = int((seconds + 0.6) * SR)
    body = add(wave_of(SOFT_SAW, freq * 0.996, n), wave_of(SOFT_SAW, freq * 1.004, n, 0.5))
    body = add(body, [0.5 * v for v in wave_of(SOFT_SAW, freq * 2.001, n, 0.2)])
    return times(lowpass(body, 2400), envelope(n, 0.5, 0.6))


@cached
def bell(freq, seconds):
    n = int(seconds * SR)
    w = TAU * freq / SR
    return [math.sin(w * i + 1.8 * math.exp(-i / SR * 9) * math.sin(3.5 * w * i))
            * math.exp(-i / SR * 5.5) * min(1.0, i / 200) * min(1.0, (n - i) / 400)
            for i in range(n)]


@cached
def bass(freq, seconds):
    n = int(seconds * SR)
    return times(lowpass(wave_of(BASS, freq, n), 900), envelope(n, 0.005, 0.08, 6.0, 0.45))


@cached
def pluck(freq, seconds):
    n = int(seconds * SR)
    return times(lowpass(wave_of(REED, freq, n), 1200), envelope(n, 0.003, 0.04, 14.0, 0.15))


@cached
def lead(freq, seconds):
    n = int((seconds + 0.25) * SR)
    w = TAU * freq / SR
    vib = TAU * 5.2 / SR
    phase, out = 0.0, []
    for i in range(n):
        depth = 0.004 * min(1.0, i / (0.3 * SR))
        phase += w * (1 + depth * math.sin(vib * i))
        out.append(REED[int(phase / TAU * TABLE) % TABLE])
    return times(lowpass(out, 3000), envelope(n, 0.03, 0.25, 2.0, 0.7))


@cached
def kick(gain):
    n = int(0.35 * SR)
    return [gain * math.sin(TAU * (48 * t + 110 / 28 * (1 - math.exp(-28 * t)))) * math.exp(-9 * t)
            for t in (i / SR for i in range(n))]


@cached
def hat(seed, seconds, cutoff):
    n = int(seconds * SR)
    x = highpass(noise(random.Random(seed), n), cutoff)
    return [v * math.exp(-i / n * 6) for i, v in enumerate(x)]


@cached
def tick(freq):
    n = int(0.03 * SR)
    w = TAU * freq / SR
    return [math.sin(w * i) * math.exp(-i / SR * 220) for i in range(n)]


# ---------------------------------------------------------------- mixing

class Loop:
    """A stereo piece whose end wraps round to its start."""

    def __init__(self, seconds):
        self.n = int(round(seconds * SR))
        self.left = [0.0] * self.n
        self.right = [0.0] * self.n

    def add(self, at, samples, gain=1.0, pan=0.0):
        angle = (pan + 1) * math.pi / 4
        gl, gr = gain * math.cos(angle), gain * math.sin(angle)
        start = int(round(at * SR)) % self.n
        pos = 0
        while pos < len(samples):
            count = min(len(samples) - pos, self.n - start)
            seg = samples[pos:pos + count]
            end = start + count
            self.left[start:end] = [a + gl * b for a, b in zip(self.left[start:end], seg)]
            self.right[start:end] = [a + gr * b for a, b in zip(self.right[start:end], seg)]
            pos += count
            start = 0

    def frames(self, peak=0.7):
        top = max(max(map(abs, self.left)), max(map(abs, self.right)))
        scale = peak / top
        return [(a * scale, b * scale) for a, b in zip(self.left, self.right)]


def write_wav(path, samples, channels=1):
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(SR)
        if channels == 1:
            data = [max(-32767, min(32767, int(round(v * 32767)))) for v in samples]
        else:
            data = [max(-32767, min(32767, int(round(v * 32767)))) for frame in samples for v in frame]
        out.writeframes(struct.pack("<%dh" % len(data), *data))


def effect(samples, peak=0.85, fade=0.01):
    """Normalise an effect and end it softly, so it stops without a click."""
    top = max(map(abs, samples)) or 1.0
    n = len(samples)
    r = int(fade * SR)
    return [v * peak / top * (min(1.0, (n - 1 - i) / r) if i > n - 1 - r else 1.0)
            for i, v in enumerate(samples)]


def place(track, at, samples, gain=1.0):
    """Mix samples into a growing mono track."""
    start = int(at * SR)
    need = start + len(samples)
    if need > len(track):
        track.extend([0.0] * (need - len(track)))
    track[start:need] = [a + gain * b for a, b in zip(track[start:need], samples)]
    return track


# ---------------------------------------------------------------- the tunes

def menu_tune():
    """Inviting: a warm C major progression, bells and a gentle groove."""
    beat = 0.6                      # 100 beats a minute
    bar = 4 * beat
    song = Loop(16 * bar)           # 38.4 seconds
    chords = [  # bass note, then the pad's notes
        (36, [60, 64, 67, 71]), (45, [60, 64, 67, 69]), (41, [60, 64, 65, 69]), (43, [62, 65, 67, 71]),
        (36, [60, 64, 67, 71]), (40, [59, 64, 67, 71]), (41, [60, 64, 65, 69]), (43, [62, 65, 67, 72]),
    ]
    melody = [  # bar, beat, note, length in beats
        (8, 0, 76, 1.5), (8, 1.5, 79, 0.5), (8, 2, 81, 1), (8, 3, 79, 1),
        (9, 0, 76, 2), (9, 2, 72, 1), (9, 3, 74, 1),
        (10, 0, 76, 1.5), (10, 1.5, 77, 0.5), (10, 2, 76, 1), (10, 3, 72, 1),
        (11, 0, 74, 3), (11, 3, 71, 1),
        (12, 0, 72, 1), (12, 1, 76, 1), (12, 2, 79, 1), (12, 3, 84, 1),
        (13, 0, 83, 2), (13, 2, 79, 2),
        (14, 0, 81, 1.5), (14, 1.5, 79, 0.5), (14, 2, 77, 1), (14, 3, 76, 1),
        (15, 0, 74, 2), (15, 2, 71, 1), (15, 3, 74, 1),
    ]
    arp = [0, 1, 2, 3, 2, 1, 2, 3]
    for b in range(16):
        root, notes = chords[b % 8]
        t0 = b * bar
        for k, note in enumerate(notes):
            song.add(t0, pad(midi(note), bar), 0.055, -0.5 + k / 3)
        song.add(t0, bass(midi(root), 1.5 * beat), 0.32)
        song.add(t0 + 1.5 * beat, bass(midi(root), 0.5 * beat), 0.22)
        song.add(t0 + 2 * beat, bass(midi(root + 7), 1.5 * beat), 0.26)
        song.add(t0 + 3.5 * beat, bass(midi(root + 12), 0.5 * beat), 0.2)
        for step, index in enumerate(arp):
            at = t0 + step * beat / 2
            tone = bell(midi(notes[index] + 12), 0.7)
            song.add(at, tone, 0.07, 0.4 if step % 2 else -0.4)
            song.add(at + 0.45, tone, 0.025, -0.6 if step % 2 else 0.6)   # echo
        for step in range(8):
            song.add(t0 + step * beat / 2, hat(11, 0.05, 6000), 0.05 if step % 2 else 0.03, 0.3)
        if b >= 8:
            song.add(t0, kick(1.0), 0.3)
            song.add(t0 + 2 * beat, kick(1.0), 0.25)
            song.add(t0 + beat, hat(12, 0.15, 2500), 0.06, -0.2)
            song.add(t0 + 3 * beat, hat(12, 0.15, 2500), 0.06, -0.2)
    for b, at, note, length in melody:
        song.add(b * bar + at * beat, lead(midi(note), length * beat * 0.95), 0.13, 0.1)
    return song


def game_tune():
    """Tense: a pulsing A minor ostinato, a heartbeat and a ticking clock."""
    beat = 0.5                      # 120 beats a minute
    bar = 4 * beat
    song = Loop(16 * bar)           # 32 seconds
    roots = [45, 45, 41, 41, 38, 38, 40, 40]
    pads = [[57, 60, 64], [57, 60, 64], [53, 57, 60], [53, 57, 60],
            [50, 53, 57], [50, 53, 57], [52, 56, 59, 62], [52, 56, 59, 65]]
    for b in range(16):
        t0 = b * bar
        root = roots[b % 8]
        for step in range(8):
            note = root + (12 if step in (2, 6) else 0) + (1 if step == 7 and b % 2 else 0)
            song.add(t0 + step * beat / 2, pluck(midi(note - 12), beat / 2), 0.3 if step % 2 == 0 else 0.22)
        if b % 2 == 0:
            for k, note in enumerate(pads[b % 8]):
                song.add(t0, strings(midi(note), 2 * bar), 0.05, -0.6 + 0.4 * k)
        # heartbeat
        song.add(t0, kick(1.0), 0.45)
        song.add(t0 + 0.22, kick(0.7), 0.3)
        song.add(t0 + 2 * beat, kick(1.0), 0.35)
        song.add(t0 + 2 * beat + 0.22, kick(0.7), 0.22)
        # the clock
        for step in range(4):
            song.add(t0 + step * beat, tick(2600 if step % 2 == 0 else 2000), 0.12, 0.5 if step % 2 else -0.5)
        # a high, uneasy call every other bar
        if b % 2 == 1:
            song.add(t0 + 2 * beat, bell(midi(76), 1.0), 0.06, 0.6)
            song.add(t0 + 2.5 * beat, bell(midi(77), 1.0), 0.05, -0.6)
        # a swell over the dominant before the progression turns round
        if b % 8 == 6:
            n = int(2 * bar * SR)
            rise = highpass(noise(random.Random(40 + b), n), 3000)
            song.add(t0, [v * (i / n) ** 2 * min(1.0, (n - i) / 2000) for i, v in enumerate(rise)], 0.12)
    return song


# ---------------------------------------------------------------- the effects

def aplause():
    rng = random.Random(3)
    length = 3.6
    track = lowpass(noise(rng, int(length * SR)), 1500)
    crowd = [v * 0.25 * min(1.0, i / (0.3 * SR)) * min(1.0, (len(track) - i) / (1.2 * SR))
             for i, v in enumerate(track)]
    clap_shapes = []
    for k in range(12):
        n = int(rng.uniform(0.012, 0.03) * SR)
        burst = highpass(lowpass(noise(rng, n), rng.uniform(1800, 3500)), 500)
        clap_shapes.append([v * math.exp(-i / n * 5) for i, v in enumerate(burst)])
    t = 0.0
    while t < length - 0.1:
        density = min(1.0, t / 0.3) * (1.0 if t < 2.2 else max(0.0, (length - 0.2 - t) / (length - 2.4)))
        if rng.random() < density:
            place(crowd, t, rng.choice(clap_shapes), rng.uniform(0.4, 1.0))
        t += rng.uniform(0.002, 0.012)
    return effect(crowd[:int(length * SR)], fade=0.3)


def bad_answer():
    track = []
    for at, start, end, seconds in ((0.0, 233, 220, 0.35), (0.42, 175, 130, 1.0)):
        n = int(seconds * SR)
        phase, tone = 0.0, []
        for i in range(n):
            f = start + (end - start) * i / n
            phase += f / SR * (1 + 0.012 * math.sin(TAU * 6 * i / SR))
            tone.append(BUZZ[int(phase * TABLE) % TABLE])
        tone = times(lowpass(tone, 1400), envelope(n, 0.01, 0.12))
        place(track, at, tone)
    return effect(track, peak=0.5)  # a buzzer is loud at any level


def button():
    n = int(0.08 * SR)
    w = TAU * 1250 / SR
    tone = [math.sin(w * i) * math.exp(-i / SR * 60) for i in range(n)]
    click = highpass(noise(random.Random(5), int(0.004 * SR)), 2000)
    return effect(add(tone, [0.5 * v for v in click]), fade=0.005)


def button_press():
    n = int(0.16 * SR)
    phase, out = 0.0, []
    for i in range(n):
        phase += (620 - 300 * i / n) / SR
        out.append(math.sin(TAU * phase) * math.exp(-i / SR * 28))
    thock = lowpass(noise(random.Random(6), int(0.01 * SR)), 1500)
    return effect(add(out, [0.6 * v for v in thock]), fade=0.01)


def half():
    rng = random.Random(7)
    n = int(1.1 * SR)
    raw = noise(rng, n)
    whoosh, low, k_prev = [], 0.0, None
    for i, v in enumerate(raw):
        cutoff = 300 + 4000 * math.sin(math.pi * i / n)
        k = 1 - math.exp(-TAU * cutoff / SR)
        low += k * (v - low)
        whoosh.append(low * math.sin(math.pi * i / n) ** 2)
    track = [0.5 * v for v in whoosh]
    for at in (0.15, 0.45):
        m = int(0.22 * SR)
        phase, blip = 0.0, []
        for i in range(m):
            phase += (900 - 500 * i / m) / SR
            blip.append(math.sin(TAU * phase) * (1 - i / m) ** 2)
        place(track, at, blip, 0.8)
    return effect(track)


def name_input():
    rng = random.Random(8)
    n = int(0.06 * SR)
    clack = highpass(noise(rng, n), 2500)
    clack = [v * math.exp(-i / SR * 120) for i, v in enumerate(clack)]
    w = TAU * 2400 / SR
    ping = [0.3 * math.sin(w * i) * math.exp(-i / SR * 90) for i in range(n)]
    return effect(add(clack, ping), fade=0.005)


def peoples():
    rng = random.Random(9)
    length = 2.8
    n = int(length * SR)
    track = [0.0] * n
    for voice in range(14):
        f0 = rng.uniform(95, 240)
        phase, buzz = rng.random(), []
        syllable = rng.uniform(3.0, 5.5)
        offset = rng.random() * TAU
        for i in range(n):
            t = i / SR
            f = f0 * (1 + 0.08 * math.sin(TAU * 0.7 * t + offset))
            phase += f / SR
            buzz.append(BUZZ[int(phase * TABLE) % TABLE])
        formant = lowpass(highpass(buzz, rng.uniform(250, 500)), rng.uniform(900, 1800))
        words = [max(0.0, math.sin(TAU * syllable * i / SR + offset)) ** 1.5
                 * (0.5 + 0.5 * math.sin(TAU * 0.6 * i / SR + 2 * offset)) for i in range(n)]
        track = add(track, [0.3 * a * b for a, b in zip(formant, words)])
    hush = lowpass(noise(rng, n), 800)
    track = add(track, [0.05 * v for v in hush])
    shape = envelope(n, 0.4, 0.8)
    return effect(times(track, shape), fade=0.05)


def start_button():
    track = []
    n = int(0.6 * SR)
    phase, sweep = 0.0, []
    for i in range(n):
        phase += (200 + 1400 * (i / n) ** 2) / SR
        sweep.append(SOFT_SAW[int(phase * TABLE) % TABLE] * (i / n) * 0.4)
    place(track, 0.0, lowpass(sweep, 2500))
    for k, note in enumerate((72, 76, 79, 84)):
        place(track, 0.35 + 0.09 * k, bell(midi(note), 0.9), 0.6)
    m = int(0.7 * SR)
    shimmer = highpass(noise(random.Random(10), m), 6000)
    place(track, 0.62, [v * math.exp(-i / SR * 5) * (m - i) / m for i, v in enumerate(shimmer)], 0.15)
    return effect(track, fade=0.1)


def telephone():
    """An old bell telephone: two rings, the hammer striking two gongs in turn."""
    track = silence(3.6)
    partials = [(1.0, 1.0), (2.76, 0.45), (5.4, 0.2)]
    gongs = []
    for pitch in (1150, 1290):
        m = int(0.6 * SR)
        gongs.append([sum(a * math.sin(TAU * pitch * r * i / SR) for r, a in partials)
                      * math.exp(-i / SR * 7) * min(1.0, i / 40) for i in range(m)])
    for start in (0.0, 1.7):
        for k in range(20):
            place(track, start + k * 0.05, gongs[k % 2], 0.6)
    return effect(track[:int(3.6 * SR)], fade=0.3)


def winner():
    track = []
    notes = [(0.0, 67, 0.14), (0.15, 72, 0.14), (0.3, 76, 0.14), (0.45, 79, 0.4), (0.9, 76, 0.14), (1.05, 79, 1.2)]
    for at, note, seconds in notes:
        n = int(seconds * SR)
        tone = times(lowpass(wave_of(BRASS, midi(note), n), 2500), envelope(n, 0.02, 0.08, 1.5, 0.8))
        place(track, at, tone, 0.6)
        if at >= 1.0:
            for extra in (60, 64):
                place(track, at, times(lowpass(wave_of(BRASS, midi(extra), n), 1800),
                                       envelope(n, 0.05, 0.3)), 0.3)
    cymbal = highpass(noise(random.Random(12), int(1.4 * SR)), 5000)
    place(track, 1.05, [v * math.exp(-i / SR * 2.5) for i, v in enumerate(cymbal)], 0.25)
    return effect(track, fade=0.3)


EFFECTS = {
    "aplause": aplause, "bad_answer": bad_answer, "button": button, "button_press": button_press,
    "half": half, "name_input": name_input, "peoples": peoples, "start_button": start_button,
    "telephone": telephone, "winner": winner,
}
TUNES = {"msx_menu": menu_tune, "msx_game": game_tune}


def main():
    outdir, workdir, oggenc = sys.argv[1:4]
    wanted = sys.argv[4:] or list(EFFECTS) + list(TUNES)
    unknown = [name for name in wanted if name not in EFFECTS and name not in TUNES]
    if unknown:
        sys.exit("unknown sounds: " + " ".join(unknown))
    os.makedirs(outdir, exist_ok=True)
    os.makedirs(workdir, exist_ok=True)
    for name, make in EFFECTS.items():
        if name in wanted:
            write_wav(os.path.join(outdir, name + ".wav"), make())
    for name, make in TUNES.items():
        if name not in wanted:
            continue
        source = os.path.join(workdir, name + ".wav")
        write_wav(source, make().frames(), channels=2)
        subprocess.run([oggenc, "-Q", "-q", "5", "--serial", "1", "-o",
                        os.path.join(outdir, name + ".ogg"), source], check=True)


if __name__ == "__main__":
    main()
