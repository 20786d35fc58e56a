"""Lesson scripts: the plain UTF-8 files a teacher writes, one per lesson.

    # a comment line
    第一课 Greetings 问候
    Good morning. | 早上好。 | 中午以前的问候。

The first line that is neither blank nor a comment is the lesson title; every
later one is a sentence "English | 中文 | note" (the note may be empty).
"""

import unicodedata
from dataclasses import dataclass, field
from pathlib import Path

from book_files import SEPARATORS, FormatError, to_cp936

# Typographic quotes a word processor puts in; the learner types plain ones.
PLAIN_QUOTES = str.maketrans({"\u2018": "'", "\u2019": "'", "\u201c": '"', "\u201d": '"'})


@dataclass
class Sentence:
    english: str
    chinese: str
    note: str


@dataclass
class Lesson:
    title: str
    source: Path
    sentences: list = field(default_factory=list)


def _check_field(text, where, name, required=True):
    if required and not text:
        raise FormatError(f"{where}: the {name} is empty")
    for mark in SEPARATORS:
        if mark in text:
            raise FormatError(f"{where}: the {name} holds {mark!r}, which the player reads as a separator")
    if any(unicodedata.category(ch) == "Cc" for ch in text):
        raise FormatError(f"{where}: the {name} holds a control character")
    to_cp936(text, f"{where}: the {name}")
    return text


def parse_lesson(text, source):
    lesson = None
    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.strip().lstrip("\ufeff")
        where = f"{source}:{number}"
        if not line or line.startswith("#"):
            continue
        if lesson is None:
            if "|" in line:
                raise FormatError(f"{where}: the first line must be the lesson title")
            lesson = Lesson(_check_field(line, where, "lesson title"), source)
            continue
        parts = [part.strip() for part in line.split("|")]
        if len(parts) != 3:
            raise FormatError(f'{where}: expected "English | 中文 | note", found {len(parts)} fields')
        english = parts[0].translate(PLAIN_QUOTES)
        if not english.isascii():
            raise FormatError(f"{where}: the English sentence holds letters the learner cannot type")
        lesson.sentences.append(
            Sentence(
                _check_field(english, where, "English sentence"),
                _check_field(parts[1], where, "Chinese translation"),
                _check_field(parts[2], where, "note", required=False),
            )
        )
    if lesson is None or not lesson.sentences:
        raise FormatError(f"{source}: a lesson needs a title line and at least one sentence")
    return lesson


def read_book(folder):
    """The lessons of a script folder, in file-name order (*.txt)."""
    files = sorted(Path(folder).glob("*.txt"))
    if not files:
        raise FormatError(f"{folder}: no lesson scripts (*.txt)")
    lessons = [parse_lesson(path.read_text(encoding="utf-8"), path) for path in files]
    check_titles([lesson.title for lesson in lessons])
    return lessons


def check_titles(titles):
    # Passing a lesson marks every results entry that starts with its title,
    # so no title may be the beginning of another.
    for i, first in enumerate(titles):
        for second in titles[i + 1 :]:
            if first.startswith(second) or second.startswith(first):
                raise FormatError(f"lesson titles {first!r} and {second!r}: one begins the other")
