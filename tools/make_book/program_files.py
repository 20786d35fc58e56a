"""The files of the program folder that belong to no book: the effect sounds,
the recorder's file and the settings file that names the book to open."""

import array
from pathlib import Path

from book_files import rtf_document, settings_line
from lesson_audio import RATE, run, write_wav

# sox effects for each sound: short, quiet and soft at both ends.
EFFECT_SOUNDS = {
    # a soft, low click as the button goes down
    "MouDown.wav": ["synth", "0.035", "sine", "900", "fade", "h", "0.002", "0.035", "0.03", "norm", "-16"],
    # a lighter, higher click as it comes up
    "MouUp.wav": ["synth", "0.03", "sine", "1300", "fade", "h", "0.002", "0.03", "0.026", "norm", "-18"],
    # a dry key tap: a burst of filtered noise
    "type.wav": ["synth", "0.025", "pinknoise", "highpass", "1500", "lowpass", "6000",
                 "fade", "h", "0.001", "0.025", "0.022", "norm", "-20"],
    # a low, rounded buzz for a wrong letter
    "wrong.wav": ["synth", "0.25", "square", "140", "lowpass", "700",
                  "fade", "h", "0.01", "0.25", "0.1", "norm", "-18"],
}


def make_effect_sounds(program_folder):
    folder = Path(program_folder) / "SETTING" / "Sound"
    folder.mkdir(parents=True, exist_ok=True)
    for name, effects in EFFECT_SOUNDS.items():
        # -R: repeatable noise, so a rebuild gives the same bytes
        run(["sox", "-R", "-n", "-r", str(RATE), "-c", "1", "-b", "16", "-e", "signed-integer",
             str(folder / name), *effects])


def make_recorder_file(program_folder):
    # The recorder opens this file and never writes it: a tenth of a second of silence.
    write_wav(Path(program_folder) / "Recorder.wav", array.array("h", bytes(2 * RATE // 10)))


def make_settings(program_folder, book_title):
    path = Path(program_folder) / "SETTING" / "set.dat"
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(rtf_document(settings_line(book_title)))
