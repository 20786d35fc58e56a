#!/usr/bin/env python3
"""Makes a course book for the player from a folder of lesson scripts.

    make_book.py SCRIPTS PROGRAM_FOLDER [--title Book01] [--program-files]

SCRIPTS holds one UTF-8 script per lesson (*.txt, in file-name order) and an
optional book.ini ([book] title, voice, rate, kilobits). The book's lesson
files, audio, lesson-title file and results file are written under
PROGRAM_FOLDER; --program-files also writes set.dat (opening this book), the
effect sounds and Recorder.wav. Needs espeak-ng, lame, ffmpeg and sox.
"""

import argparse
import configparser
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

from book_files import FormatError, lesson_text, results_text, title_list, to_cp936
from lesson_audio import AudioError, make_lesson_audio
from lesson_script import read_book
from program_files import make_effect_sounds, make_recorder_file, make_settings

WMA_BOOKS = ("Book04", "Book07")  # the player plays .wma for these titles, .mp3 for all others


def book_options(scripts, title):
    config = configparser.ConfigParser(inline_comment_prefixes=("#", ";"))
    config.read(Path(scripts) / "book.ini", encoding="utf-8")
    book = config["book"] if config.has_section("book") else {}
    title = title or book.get("title") or Path(scripts).resolve().name
    for mark in "\\/^*#":
        if mark in title:
            raise FormatError(f"book title {title!r} holds {mark!r}")
    return {
        "title": title,
        "voice": book.get("voice", "en-us"),
        "rate": int(book.get("rate", "150")),
        "kilobits": int(book.get("kilobits", "48")),
    }


def write_atomically(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    partial = path.with_name(path.name + ".part")
    partial.write_bytes(data)
    partial.replace(path)


def remove_stale_lessons(folder, count, extension):
    # Lesson files numbered beyond the new count would otherwise linger.
    for path in folder.glob("*" + extension):
        if path.stem.isdigit() and int(path.stem) > count:
            path.unlink()


def make_book(scripts, program_folder, title=None, program_files=False, log=print):
    options = book_options(scripts, title)
    title = options["title"]
    lessons = read_book(scripts)  # every script is checked before any audio is made
    root = Path(program_folder)
    extension = ".wma" if title in WMA_BOOKS else ".mp3"
    book_dir, sound_dir = root / "book" / title, root / "Sound" / title
    for number, lesson in enumerate(lessons, start=1):
        stretches, offset, duration = make_lesson_audio(
            [s.english for s in lesson.sentences],
            sound_dir / f"{number}{extension}",
            options["voice"],
            options["rate"],
            options["kilobits"],
        )
        records = [
            (s.english, s.chinese, start, end, s.note)
            for s, (start, end) in zip(lesson.sentences, stretches)
        ]
        text = lesson_text(records)
        write_atomically(book_dir / f"{number}.dat", to_cp936(text, lesson.title))
        log(f"{title} lesson {number}: {len(records)} sentences, {duration:.1f} s, "
            f"codec offset {offset} samples  ({lesson.title})")
    remove_stale_lessons(book_dir, len(lessons), ".dat")
    remove_stale_lessons(sound_dir, len(lessons), extension)
    titles = [lesson.title for lesson in lessons]
    write_atomically(root / "SETTING" / "BookList" / f"{title}.dat", to_cp936(title_list(titles), "titles"))
    write_atomically(root / "SETTING" / "Results" / f"{title}.dat", to_cp936(results_text(titles), "results"))
    if program_files:
        make_settings(root, title)
        make_effect_sounds(root)
        make_recorder_file(root)
    return titles


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("scripts", help="folder of lesson scripts (*.txt, UTF-8)")
    parser.add_argument("program_folder", help="the player's program folder, e.g. data")
    parser.add_argument("--title", help="book title (default: book.ini, else the folder name)")
    parser.add_argument("--program-files", action="store_true",
                        help="also write set.dat naming this book, the effect sounds and Recorder.wav")
    args = parser.parse_args(argv)
    try:
        make_book(args.scripts, args.program_folder, args.title, args.program_files)
    except (FormatError, AudioError) as error:
        print(f"make_book: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
