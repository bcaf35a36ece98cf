#!/usr/bin/env python3
"""Writes Tracella's two sounds: sounds/16.wav (start) and sounds/48.wav (click).

Both are WAVE PCM, mono, 8 bit, 11025 samples per second. The output is fully
deterministic, so running the script again reproduces the committed files.

Usage: make_sounds.py [resources-folder]   (default: the folder above this script)
"""

import math
import os
import sys
import wave

RATE = 11025


def tone(freqs, seconds, attack, decay_rate, volume):
    """Sum of sine partials (frequency, relative weight) with a short linear
    attack, an exponential decay and a fade to silence over the last 15 ms."""
    count = int(round(seconds * RATE))
    fade = int(0.015 * RATE)
    samples = []
    for n in range(count):
        t = n / RATE
        value = sum(w * math.sin(2 * math.pi * f * t) for f, w in freqs)
        envelope = math.exp(-decay_rate * t)
        if t < attack:
            envelope *= t / attack
        if n >= count - fade:
            envelope *= (count - 1 - n) / fade
        samples.append(volume * envelope * value)
    return samples


def mix(*parts):
    """Lays (start-seconds, samples) parts over one another."""
    length = max(int(round(start * RATE)) + len(s) for start, s in parts)
    out = [0.0] * length
    for start, s in parts:
        offset = int(round(start * RATE))
        for i, v in enumerate(s):
            out[offset + i] += v
    return out


def to_unsigned_bytes(samples):
    # 8-bit WAVE data is unsigned with silence at 128.
    return bytes(max(0, min(255, int(round(128 + 127 * v)))) for v in samples)


def write_wave(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(to_unsigned_bytes(samples))


def start_sound():
    # A soft rising fifth, C6 then G6, with a quiet octave partial for warmth.
    first = tone([(1046.5, 0.8), (2093.0, 0.2)], 0.16, 0.006, 9.0, 0.55)
    second = tone([(1568.0, 0.8), (3136.0, 0.2)], 0.20, 0.006, 10.0, 0.55)
    return mix((0.0, first), (0.10, second))


def click_sound():
    # A short wooden tick: two inharmonic partials that die away quickly.
    return tone([(1800.0, 0.7), (2700.0, 0.3)], 0.07, 0.002, 55.0, 0.8)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)
    sounds = os.path.join(folder, "sounds")
    os.makedirs(sounds, exist_ok=True)
    write_wave(os.path.join(sounds, "16.wav"), start_sound())
    write_wave(os.path.join(sounds, "48.wav"), click_sound())


if __name__ == "__main__":
    main()
