#!/usr/bin/env python3
"""Makes a course book for the player from a folder of lessons.

    make_book.py LESSONS PROGRAM_FOLDER [--title Book01] [--encoding E] [--program-files]

LESSONS holds, in file-name order, one lesson per name:
  03-lecture.txt               a script, spoken by espeak-ng;
  03-lecture.txt + .mp3/...    a script with its recording: the sentences are
                               found in the speech (PocketSphinx alignment);
  04-dialogue.m4a + .lrc/.srt/.vtt
                               a recording with timed text: each cue is a sentence.
A recording is any file FFmpeg reads. Texts may be UTF-8, UTF-16 (with a
byte-order mark), GB18030 or code page 936. An optional book.ini sets
[book] title, voice, rate, kilobits and [titles] stem = lesson title.

The whole book (lesson files, audio, lesson-title file, results file) is made
aside and moved into PROGRAM_FOLDER only when complete; --program-files also
writes set.dat (opening this book), the effect sounds and Recorder.wav.
"""

import argparse
import configparser
import shutil
import sys
from dataclasses import dataclass
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

from book_files import FormatError, lesson_text, results_text, title_list, to_cp936
from book_rules import audio_extension, title_faults
from lesson_audio import AudioError, make_lesson_audio
from lesson_script import check_titles, read_script
from lesson_texts import clean_field
from program_files import make_effect_sounds, make_recorder_file, make_settings
from recorded_lesson import make_recorded_lesson
from timed_text import PARSERS, read_timed_text

TEXT_SUFFIXES = (".txt", *PARSERS)
# Files of a lesson folder that are no part of any lesson.
OTHER_SUFFIXES = (".ini", ".md", ".partial")
AUDIO_SUFFIXES = (".mp3", ".m4a", ".aac", ".mp4", ".ogg", ".oga", ".opus", ".flac", ".wav",
                  ".wma", ".aiff", ".webm", ".mka", ".ac3", ".amr")


@dataclass
class LessonSource:
    title: str
    text: Path
    recording: Path = None
    sentences: list = None  # a script or transcript
    cues: list = None  # timed text


def book_options(folder, title):
    config = configparser.ConfigParser(inline_comment_prefixes=("#", ";"))
    config.optionxform = str  # lesson file names keep their case
    config.read(Path(folder) / "book.ini", encoding="utf-8")
    book = config["book"] if config.has_section("book") else {}
    title = title or book.get("title") or Path(folder).resolve().name
    check_book_title(title)
    return {
        "title": title,
        "voice": book.get("voice", "en-us"),
        "rate": int(book.get("rate", "150")),
        "kilobits": int(book.get("kilobits", "48")),
        "titles": dict(config["titles"]) if config.has_section("titles") else {},
    }


def check_book_title(title):
    """The player follows the same rules (book_rules.py)."""
    faults = title_faults(title)
    if faults:
        raise FormatError(f"book title {title!r} is not a safe folder name ({faults[0]})")


def lesson_files(folder):
    """(text, recording or None) for each lesson, in file-name order."""
    by_name = {}
    for path in sorted(Path(folder).iterdir()):
        if path.is_file() and not path.name.startswith("."):
            by_name.setdefault(path.stem, []).append(path)
    pairs = []
    for stem in sorted(by_name):
        files = by_name[stem]
        texts = [p for p in files if p.suffix.lower() in TEXT_SUFFIXES]
        recordings = [p for p in files if p.suffix.lower() not in TEXT_SUFFIXES + OTHER_SUFFIXES]
        if not texts:
            for path in recordings:
                if path.suffix.lower() in AUDIO_SUFFIXES:
                    raise FormatError(f"{path}: a recording with no script or subtitles of the same name")
            continue
        if len(texts) > 1:
            raise FormatError(f"{texts[0]}, {texts[1].name}: one lesson, two texts; keep one")
        if len(recordings) > 1:
            raise FormatError(f"{recordings[0]}, {recordings[1].name}: one lesson, two recordings; keep one")
        if texts[0].suffix.lower() != ".txt" and not recordings:
            raise FormatError(f"{texts[0]}: subtitles with no recording of the same name")
        pairs.append((texts[0], recordings[0] if recordings else None))
    if not pairs:
        raise FormatError(f"{folder}: no lessons (scripts *.txt, or recordings with *.lrc, *.srt, *.vtt)")
    return pairs


def title_from_name(stem):
    return " ".join(stem.replace("_", " ").replace("-", " ").split())


def read_lessons(folder, titles, encoding, tell):
    """Every lesson's text, read and checked before any audio is made."""
    lessons = []
    for text, recording in lesson_files(folder):
        if text.suffix.lower() == ".txt":
            script = read_script(text, encoding, tell)
            lesson = LessonSource(script.title, text, recording, sentences=script.sentences)
        else:
            timed = read_timed_text(text, encoding, tell)
            if not timed.cues:
                raise FormatError(f"{text}: no cues")
            lesson = LessonSource(timed.title or title_from_name(text.stem), text, recording, cues=timed.cues)
        if text.stem in titles:
            lesson.title = titles[text.stem]
        lesson.title = clean_field(lesson.title, f"{text}", "lesson title", tell, required=True)
        lessons.append(lesson)
    check_titles([lesson.title for lesson in lessons])
    return lessons


def lesson_records(lesson, audio_path, options):
    """(records, duration) of one lesson, its audio written to audio_path."""
    if lesson.recording is None:
        sentences = lesson.sentences
        stretches, _, duration = make_lesson_audio(
            [s.english for s in sentences], audio_path, options["voice"], options["rate"], options["kilobits"])
    else:
        sentences = lesson.sentences or [cue.sentence for cue in lesson.cues]
        stretches, duration = make_recorded_lesson(
            lesson.recording, audio_path, options["kilobits"], lesson.sentences, lesson.cues)
    records = [(s.english, s.chinese, start, end, s.note) for s, (start, end) in zip(sentences, stretches)]
    return records, duration


class BookFolders:
    """The book's files as made aside (under a hidden folder of the program
    folder, so the final moves stay on one file system) and moved into place."""

    def __init__(self, root, title):
        self.root, self.title = Path(root), title
        self.aside = self.root / f".make_book.{title}.partial"
        shutil.rmtree(self.aside, ignore_errors=True)
        self.parts = [Path("book") / title, Path("Sound") / title,
                      Path("SETTING") / "BookList" / f"{title}.dat",
                      Path("SETTING") / "Results" / f"{title}.dat"]
        for part in self.parts[:2]:
            (self.aside / part).mkdir(parents=True)
        (self.aside / "SETTING" / "BookList").mkdir(parents=True)
        (self.aside / "SETTING" / "Results").mkdir(parents=True)

    def path(self, part, name=None):
        return self.aside / part / name if name else self.aside / part

    def move_into_place(self):
        for part in self.parts:
            made, target = self.aside / part, self.root / part
            target.parent.mkdir(parents=True, exist_ok=True)
            old = target.with_name(target.name + ".old")
            shutil.rmtree(old, ignore_errors=True)
            if target.is_dir():
                target.rename(old)
            made.replace(target)
            shutil.rmtree(old, ignore_errors=True)
        shutil.rmtree(self.aside, ignore_errors=True)

    def discard(self):
        shutil.rmtree(self.aside, ignore_errors=True)


def make_book(folder, program_folder, title=None, program_files=False, encoding=None, log=print):
    options = book_options(folder, title)
    title = options["title"]
    lessons = read_lessons(folder, options["titles"], encoding, log)
    extension = audio_extension(title)
    book = BookFolders(program_folder, title)
    try:
        for number, lesson in enumerate(lessons, start=1):
            records, duration = lesson_records(lesson, book.path(f"Sound/{title}", f"{number}{extension}"), options)
            book.path(f"book/{title}", f"{number}.dat").write_bytes(to_cp936(lesson_text(records), lesson.title))
            kind = "spoken by espeak-ng" if lesson.recording is None else f"from {lesson.recording.name}"
            log(f"{title} lesson {number}: {len(records)} sentences, {duration:.1f} s, {kind}  ({lesson.title})")
        titles = [lesson.title for lesson in lessons]
        book.path(f"SETTING/BookList/{title}.dat").write_bytes(to_cp936(title_list(titles), "titles"))
        book.path(f"SETTING/Results/{title}.dat").write_bytes(to_cp936(results_text(titles), "results"))
    except BaseException:
        book.discard()
        raise
    book.move_into_place()
    root = Path(program_folder)
    if program_files:
        make_settings(root, title)
        make_effect_sounds(root)
        make_recorder_file(root)
    return titles


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("lessons", help="folder of lessons (scripts, recordings, subtitles)")
    parser.add_argument("program_folder", help="the player's program folder, e.g. data")
    parser.add_argument("--title", help="book title (default: book.ini, else the folder name)")
    parser.add_argument("--encoding", help="encoding of every text (default: detected): utf-8, utf-16, "
                        "utf-16-le, utf-16-be, gb18030, cp936")
    parser.add_argument("--program-files", action="store_true",
                        help="also write set.dat naming this book, the effect sounds and Recorder.wav")
    args = parser.parse_args(argv)
    try:
        make_book(args.lessons, args.program_folder, args.title, args.program_files, args.encoding)
    except (FormatError, AudioError) as error:
        print(f"make_book: {error}", file=sys.stderr)
        print("make_book: no book was written", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
