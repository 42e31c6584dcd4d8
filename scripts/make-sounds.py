#!/usr/bin/env python3
"""Builds Quillet's four built-in event sounds (RIFF WAVE, 16-bit PCM, mono, 22050 Hz).

The sounds are synthesised here, deterministically, so that they can be rebuilt at any time:

    python3 scripts/make-sounds.py            # writes resources/sounds/*.wav

new mail     a rising two-note chime (E5 then A5, bell-like partials, soft decay)
no new mail  a soft single low tone (A3 with a gentle attack and a long fade)
mark         a short click that falls in pitch
unmark       a short click that rises in pitch
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 0.6 * 32767


def chime_note(freq, start, length, total):
    """One bell-like note: a fundamental with two quieter partials and an exponential decay."""
    out = [0.0] * total
    first = int(start * RATE)
    count = min(int(length * RATE), total - first)
    for i in range(count):
        t = i / RATE
        attack = min(1.0, t / 0.006)
        decay = math.exp(-t * 5.5)
        value = (math.sin(2 * math.pi * freq * t)
                 + 0.35 * math.sin(2 * math.pi * freq * 2 * t) * math.exp(-t * 4)
                 + 0.12 * math.sin(2 * math.pi * freq * 3.01 * t) * math.exp(-t * 9))
        out[first + i] = attack * decay * value / 1.47
    return out


def new_mail():
    total = int(0.75 * RATE)
    low = chime_note(659.25, 0.0, 0.75, total)
    high = chime_note(880.0, 0.16, 0.59, total)
    return [0.85 * a + 0.95 * b for a, b in zip(low, high)]


def no_mail():
    total = int(0.45 * RATE)
    out = []
    for i in range(total):
        t = i / RATE
        attack = min(1.0, t / 0.04)
        fade = math.exp(-t * 7.0)
        value = math.sin(2 * math.pi * 220.0 * t) + 0.2 * math.sin(2 * math.pi * 440.0 * t)
        out.append(0.55 * attack * fade * value / 1.2)
    return out


def click(f_from, f_to, length=0.045):
    """A short tone whose pitch glides from f_from to f_to, with a fast attack and release."""
    total = int(length * RATE)
    out = []
    phase = 0.0
    for i in range(total):
        t = i / RATE
        freq = f_from + (f_to - f_from) * (i / total)
        phase += 2 * math.pi * freq / RATE
        envelope = min(1.0, t / 0.002) * math.exp(-t * 60.0)
        out.append(0.8 * envelope * math.sin(phase))
    return out


def write_wav(path, samples):
    # Fade the last 8 ms to zero and add 10 ms of silence, so no sound ends with a click of its own.
    fade = int(0.008 * RATE)
    samples = list(samples)
    for i in range(fade):
        samples[len(samples) - fade + i] *= (fade - 1 - i) / fade
    samples += [0.0] * int(0.01 * RATE)
    frames = b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * PEAK))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "sounds")
    os.makedirs(folder, exist_ok=True)
    sounds = {
        "newmail.wav": new_mail(),
        "nomail.wav": no_mail(),
        "delete.wav": click(1400.0, 500.0),
        "undelete.wav": click(500.0, 1400.0),
    }
    for name, samples in sounds.items():
        write_wav(os.path.join(folder, name), samples)
        print(f"{name}: {len(samples) / RATE:.3f} s")


if __name__ == "__main__":
    main()
