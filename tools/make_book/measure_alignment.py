#!/usr/bin/env python3
"""Measures how well a bare transcript's sentences are found in a recording.

    /usr/bin/python3 tools/make_book/measure_alignment.py [--quick]

Recordings are made with espeak-ng in several voices and speeds, with a
pause at each comma (0.6 s) longer than some pauses between sentences
(0.08 s to 1 s), clean and with white noise at 20 dB and 10 dB below the
speech. For every sentence boundary the distance of the stretch's edge from
the true first or last sound is measured, for the aligner the tool uses
(PocketSphinx, then settled on the quiet frames) and, beside it, for
silence detection alone (the longest pauses taken as sentence ends, knowing
how many sentences there are).

Reported: median and 95th percentile of the edge distance, the share of
edges within 150 ms, the share of stretches that cut their own sentence and
that hold speech of a neighbour (by more than 5 ms, and the deepest), and the
time the aligner takes per minute of audio. With noise, a sentence's true
edges are where its speech rises above the noise.
"""

import argparse
import statistics
import sys
import time

sys.dont_write_bytecode = True

from lesson_audio import decode, write_wav
from speech_align import MARGIN_S, Loudness, _quiet_runs, align_transcript
from speech_fixture import Pacing, spoken_lesson

SENTENCES = [
    "Good morning, everyone, and welcome back.",
    "Today we will talk about the weather.",
    "In spring, it often rains in the afternoon.",
    "Take an umbrella.",
    "When the sun comes out, we go for a walk in the park.",
    "Do you like summer or winter?",
    "I prefer autumn, because it is cool and quiet.",
    "See you next week.",
]
GAPS = (0.08, 0.5, 0.15, 1.0, 0.12, 0.3, 0.1)
VOICES = ("en-us", "en", "en-us+f3")
RATES = (130, 175)
NOISE = (None, 20.0, 10.0)


def silence_only(loudness, count):
    """Sentence stretches from pauses alone: the count - 1 longest quiet runs
    inside the speech are taken as the gaps between sentences."""
    loud = [f for f in range(len(loudness.levels)) if loudness.loud(f)]
    runs = _quiet_runs(loudness, loud[0], loud[-1] + 1)
    gaps = sorted(sorted(runs, key=lambda r: r[1] - r[0])[-(count - 1):]) if count > 1 else []
    edges = [loud[0]] + [x for run in gaps for x in run] + [loud[-1] + 1]
    return [(max(0, a / 100 - MARGIN_S), b / 100 + MARGIN_S) for a, b in zip(edges[::2], edges[1::2])]


def score(stretches, truth):
    """Edge distances (s); for each stretch how deep (s) it cuts into its own
    sentence and how deep it reaches into a neighbour's speech."""
    distances, cuts, neighbours = [], [], []
    for index, ((start, end), (first, last)) in enumerate(zip(stretches, truth)):
        distances += [abs(start - first), abs(end - last)]
        cuts.append(max(0.0, start - first, last - end))
        before = truth[index - 1][1] if index else -1.0
        after = truth[index + 1][0] if index + 1 < len(truth) else float("inf")
        neighbours.append(max(0.0, before - start, end - after))
    return distances, cuts, neighbours


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def summary(name, distances, cuts, neighbours):
    within = sum(d <= 0.150 for d in distances) / len(distances)
    share = lambda depths: 100 * sum(d > 0.005 for d in depths) / len(depths)
    print(f"  {name:<20} median {1000 * statistics.median(distances):5.0f} ms  "
          f"p95 {1000 * percentile(distances, 0.95):5.0f} ms  within 150 ms {100 * within:5.1f} %  "
          f"cut own {share(cuts):5.1f} % (max {1000 * max(cuts):4.0f} ms)  "
          f"hold neighbour {share(neighbours):5.1f} % (max {1000 * max(neighbours):4.0f} ms)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--quick", action="store_true", help="one voice, one speed")
    args = parser.parse_args()
    voices, rates = (VOICES[:1], RATES[:1]) if args.quick else (VOICES, RATES)
    totals = {"aligned": [[], [], []], "silence only": [[], [], []]}
    by_noise = {}
    audio_s = align_s = align_cpu_s = 0.0
    stretches = 0
    for voice in voices:
        for rate in rates:
            for snr in NOISE:
                samples, truth = spoken_lesson(SENTENCES, Pacing(comma_s=0.6, gaps_s=GAPS, voice=voice,
                                                                 rate=rate, snr_db=snr))
                wav = "/tmp/measure_alignment.wav"
                write_wav(wav, samples)
                pcm = decode(wav, 16000)
                began, began_cpu = time.perf_counter(), time.process_time()
                aligned = align_transcript(pcm, SENTENCES, [f"sentence {i + 1}" for i in range(len(SENTENCES))])
                align_s += time.perf_counter() - began
                align_cpu_s += time.process_time() - began_cpu
                audio_s += len(pcm) / 16000
                stretches += len(SENTENCES)
                found = {"aligned": aligned, "silence only": silence_only(Loudness.of(pcm), len(SENTENCES))}
                for name, result in found.items():
                    d, c, n = score(result, truth)
                    for bucket in (totals[name], by_noise.setdefault((name, snr), [[], [], []])):
                        for values, more in zip(bucket, (d, c, n)):
                            values += more
    print(f"{len(voices)} voices x {len(rates)} speeds x {len(NOISE)} noise levels, "
          f"{stretches} sentences, {audio_s / 60:.1f} min of audio")
    print("  (cut own / hold neighbour: share of stretches by more than 5 ms, and the deepest)")
    for name, measures in totals.items():
        summary(name, *measures)
    for (name, snr), measures in by_noise.items():
        summary(f"{name}, {'clean' if snr is None else f'{snr:.0f} dB SNR'}", *measures)
    minutes = audio_s / 60
    print(f"alignment time per minute of audio: {align_s / minutes:.2f} s ({align_cpu_s / minutes:.2f} s of CPU)")


if __name__ == "__main__":
    main()
